// The set-up the rectangle fill and the circles share: the loop choice, the
// destination and the tinted colour.
#include <optional>

#include "graphics/render_state.h"
#include "softrender/blit_dispatch.h"
#include "softrender/colour_shape_job.h"
#include "softrender/kernel_loops.h"

template <template <class> class Kernel>
ColourShapeLoopFn PickColourShapeLoop(const MEMIMG* dst) {
  const std::optional<std::size_t> combo = PickFlatCombo();
  if (!combo) return nullptr;
  if (dst->data->colorType == kMemImgRgb32) return PickLoop<Kernel<Rgb32>>(*combo);
  if (dst->data->colorType == kMemImgRgb565) return PickLoop<Kernel<Rgb565>>(*combo);
  return nullptr;
}
template ColourShapeLoopFn PickColourShapeLoop<RectFillKernel>(const MEMIMG*);
template ColourShapeLoopFn PickColourShapeLoop<FilledCircleKernel>(const MEMIMG*);
template ColourShapeLoopFn PickColourShapeLoop<CircleOutlineKernel>(const MEMIMG*);

namespace {

// Each channel at its place in the colour, scaled by its own DrawBright
// byte with a shift by 8 (a byte of 255 lowers 255 to 254).
std::uint32_t ShiftTint(std::uint32_t colour, bool rgb565) {
  const std::uint32_t bright = DrawBright & 0xFFFFFF;
  struct Field {
    int shift;
    std::uint32_t mask;
    int brightShift;
  };
  static constexpr Field kRgb32[3] = {{0, 0xFF, 0}, {8, 0xFF, 8}, {16, 0xFF, 16}};
  static constexpr Field kRgb565[3] = {{0, 0x1F, 0}, {5, 0x3F, 8}, {11, 0x1F, 16}};
  std::uint32_t tinted = rgb565 ? 0 : colour & 0xFF000000u;
  for (const Field& field : rgb565 ? kRgb565 : kRgb32) {
    const std::uint32_t value = (colour >> field.shift) & field.mask;
    tinted |= ((value * ((bright >> field.brightShift) & 0xFF)) >> 8) << field.shift;
  }
  return tinted;
}

}  // namespace

void StartColourShapeJob(MEMIMG* dst, std::uint32_t colour, ColourShapeJob& job) {
  const bool rgb565 = dst->data->colorType == kMemImgRgb565;
  if (rgb565) colour &= 0xFFFF;
  job.destination = dst->pixels;
  job.pitch = dst->data->pitch;
  job.pixel = MakePixelContext(nullptr);
  job.colour = job.pixel.tint ? ShiftTint(colour, rgb565) : colour;
}

bool CanFillColour(const MEMIMG* dst) { return dst->data->paletteFlag != 1 && dst->data->alphaFlag != 1; }
