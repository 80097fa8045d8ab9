#include "frame_loop.h"

#include <WqLib.h>

#include "game_state.h"
#include "key_hold.h"
#include "scene_machine.h"

namespace {

FrameHook g_frameHook;

}  // namespace

void SetFrameHook(FrameHook hook) { g_frameHook = hook; }

void RunFrameLoop() {
  // The first pass presents the still empty back screen; every later one
  // presents what the pass before drew.
  while (PresentScreen() == 0 && PumpMessages() == 0 && ClearDrawTarget(nullptr) == 0) {
    if (g_frameHook != nullptr) g_frameHook();
    char keyState[KEY_CODE_COUNT];
    ReadKeyboardState(keyState);
    UpdateKeyHold(keyState);
    RunScene();
  }
}
