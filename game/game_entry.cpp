#include "game_entry.h"

#include <WqLib.h>

#include "asset_loading.h"
#include "frame_loop.h"
#include "game_state.h"
#include "title_menu.h"

namespace {

// The key of the game's WQA archives.
constexpr const char* kArchiveKey = "mivotra";
constexpr int kScreenColorBits = 32;
constexpr int kScreenRefreshRate = 60;

}  // namespace

int WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ChangeWindowMode(1);
  // Without the framework there is no window to run in: the log holds the
  // reason, and the exit code tells whoever started the game.
  if (StartLibrary() != 0) return 1;
  SelectDrawTarget(-2);
  SetArchiveKey(kArchiveKey);
  SetScreenMode(SCREEN_WIDTH, SCREEN_HEIGHT, kScreenColorBits, kScreenRefreshRate);
  sceneNumber = 0;
  LoadTitle();
  LoadSounds();

  RunFrameLoop();

  EndLibrary();
  return 0;
}
