// The real game executable run as a child process in a data tree, on the
// platform's virtual clock, its keys from an input script and chosen frames
// written as PNG, all through the platform's environment variables.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

#include "game/game_data_tree.h"

namespace gametest {

struct GameRunSettings {
  std::string inputScript{};    // the script's text; empty: no script
  std::string captureFrames{};  // "1,60,300"; empty: none
  bool virtualClock = true;
  // Without Direct3D 9 on the machine, so that the framework draws on its
  // software screen.
  bool softwareRenderer = false;
  // A second-instance lock of its own, so that games started side by side
  // do not take each other for a second instance.
  bool ownLockFolder = false;
};

// Starts the game in the tree: its process id, or -1. Captured frames land
// in tree/captures.
pid_t StartGame(const GameDataTree& tree, const GameRunSettings& settings);
// Waits for the game to exit: its exit status, or -1 when it did not exit
// normally or was still running at the deadline (it is then killed).
int WaitForGame(pid_t game);
// Both.
int RunGame(const GameDataTree& tree, const GameRunSettings& settings);

}  // namespace gametest
