// Maps the renderer state and the source to a combination index. Mode 1 at
// full strength draws as mode 0; modes 1 and 2 at parameter 0 draw
// nothing, and so does mode 3 for direct-colour sources (a palettised
// source still runs its subtract with the source scaled to 0).
#include "softrender/blit_dispatch.h"

#include <algorithm>

#include "graphics/render_state.h"
#include "softrender/blend_combo.h"

namespace {

struct DrawnMode {
  int slot;
  std::uint32_t mode;
  std::uint32_t param;
};

std::optional<DrawnMode> PickDrawnMode(bool palette) {
  std::uint32_t mode = BlendMode;
  const std::uint32_t param = std::min<std::uint32_t>(BlendParam, 255);
  if (mode == 1 && param == 255) mode = 0;
  if (param == 0 && (mode == 1 || mode == 2 || (mode == 3 && !palette))) return std::nullopt;
  const int slot = DrawnModeSlot(mode);
  if (slot < 0) return std::nullopt;
  return DrawnMode{slot, mode, param};
}

}  // namespace

std::optional<std::size_t> PickBlitCombo(const MEMIMG* src, bool blend, int transparent) {
  const bool palette = src->data->paletteFlag == 1;
  const std::optional<DrawnMode> drawn = PickDrawnMode(palette);
  if (!drawn) return std::nullopt;
  const bool tint = (DrawBright & 0xFFFFFF) != kDrawBrightWhite;
  const bool alpha = !palette && src->data->alphaFlag == 1;
  return ComboIndex(drawn->slot, blend, tint, alpha, transparent != 0, ParamCaseFor(drawn->mode, drawn->param));
}

std::optional<std::size_t> PickFlatCombo() {
  const std::optional<DrawnMode> drawn = PickDrawnMode(false);
  if (!drawn) return std::nullopt;
  return ComboIndex(drawn->slot, false, false, false, false, ParamCase::kAny);
}
