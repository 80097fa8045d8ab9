// Takes the table rows a kernel call works with from the renderer state.
#include "softrender/pixel_context.h"

#include <algorithm>

#include "graphics/render_state.h"
#include "image/blend_tables.h"
#include "image/memimg.h"

PixelContext MakePixelContext(const MEMIMG* source) {
  const std::uint32_t param = std::min<std::uint32_t>(BlendParam, 255);
  const std::uint32_t bright = DrawBright & 0xFFFFFF;
  PixelContext context{};
  context.param = param;
  context.paramRow = BlendMulTable[param];
  context.paramDiff = BlendDiffTable[param] + 255;
  context.paramMix6 = &BlendMul6Table[param / 4][0][0];
  context.tintBlue = BlendMulTable[bright & 0xFF];
  context.tintGreen = BlendMulTable[(bright >> 8) & 0xFF];
  context.tintRed = BlendMulTable[bright >> 16];
  if (source != nullptr) {
    context.palette = source->data->palette;
    context.key = source->data->transparentColor;
  }
  context.tint = bright != kDrawBrightWhite;
  return context;
}
