// Subtractive blending on devices without the reverse-subtract operation:
// destination - source = invert(invert(destination) + source). A white box
// in blend mode 3 (whose row on such a device is source x inverted
// destination) inverts the destination; the caller draws its graph in
// additive mode 5 in between; a second white box inverts back.
#include "WqLib.h"
#include "graphics/device_draw.h"
#include "graphics/render_state.h"

namespace {

// The white box in mode 3 at full strength, untinted.
void InvertDestination(const RECT* rect) {
  const std::uint32_t bright = DrawBright;
  SetDrawBrightnessPacked(kDrawBrightWhite);
  SetBlendMode(static_cast<int>(kBlendSubtract), 255);
  G_D3D_DrawBox(rect->left, rect->top, rect->right, rect->bottom, static_cast<int>(MakeColor(255, 255, 255)));
  SetDrawBrightnessPacked(bright);
}

}  // namespace

void BeginSubtractBlendEmulation(const RECT* rect) {
  const int param = static_cast<int>(BlendParam);
  InvertDestination(rect);
  SetBlendMode(static_cast<int>(kBlendAddForSubtractEmulation), param);
}

void EndSubtractBlendEmulation(const RECT* rect) {
  const int param = static_cast<int>(BlendParam);
  InvertDestination(rect);
  SetBlendMode(static_cast<int>(kBlendSubtract), param);
}
