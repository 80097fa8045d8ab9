// Maps the renderer state and the source to a combination index. Mode 1 at
// full strength draws as mode 0; modes 1 and 2 at parameter 0 draw
// nothing, and so does mode 3 for direct-colour sources (a palettised
// source still runs its subtract with the source scaled to 0).
#include "softrender/blit_dispatch.h"

#include <algorithm>

#include "graphics/render_state.h"
#include "softrender/blend_combo.h"

std::optional<std::size_t> PickBlitCombo(const MEMIMG* src, bool blend, int transparent) {
  std::uint32_t mode = BlendMode;
  const std::uint32_t param = std::min<std::uint32_t>(BlendParam, 255);
  const bool palette = src->data->paletteFlag == 1;
  if (mode == 1 && param == 255) mode = 0;
  if (param == 0 && (mode == 1 || mode == 2 || (mode == 3 && !palette))) return std::nullopt;
  const int slot = DrawnModeSlot(mode);
  if (slot < 0) return std::nullopt;
  const bool tint = (DrawBright & 0xFFFFFF) != kDrawBrightWhite;
  const bool alpha = !palette && src->data->alphaFlag == 1;
  return ComboIndex(slot, blend, tint, alpha, transparent != 0, ParamCaseFor(mode, param));
}
