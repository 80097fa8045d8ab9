// The optional outputs of the present: the on-screen log drawn over the
// frame, and the frame handed to the layered window in place of the
// ordinary present.
#include "WqLib.h"
#include "core/base/screen_log.h"
#include "core/window/layered_window.h"
#include "core/window/window_system_state.h"
#include "graphics/draw_target.h"
#include "graphics/present_screen.h"
#include "graphics/render_state.h"
#include "graphics/screen_mode.h"
#include "graphics/vertical_blank.h"

void DrawScreenLogOverlay() {
  if (!GetScreenLogFlag()) return;
  const RECT area = DrawAreaRequest;
  const int mode = static_cast<int>(BlendMode), param = static_cast<int>(BlendParam);
  const std::uint32_t bright = DrawBright;
  SetDrawArea(0, 0, Screen().width, Screen().height);
  SetBlendMode(0, 0);
  SetDrawBrightnessPacked(kDrawBrightWhite);
  DrawScreenLog();
  SetDrawArea(area.left, area.top, area.right, area.bottom);
  SetBlendMode(mode, param);
  SetDrawBrightnessPacked(bright);
}

bool IsLayeredWindowMode() { return WindowSystem().transparentWindow != 0; }

void PresentThroughLayeredWindow() {
  if (IsVSyncWaitOn()) WaitVerticalBlank();
  const int target = GetDrawTarget();
  if (target != kBackScreen) SelectDrawTarget(kBackScreen);
  BaseImage screen{};
  const RECT whole{0, 0, Screen().width, Screen().height};
  if (LockDrawScreen(&whole, &screen) == 0) {
    UpdateLayeredWindowImage(&screen, nullptr, 0);
    UnlockDrawScreen();
  }
  if (target != kBackScreen) SelectDrawTarget(target);
}
