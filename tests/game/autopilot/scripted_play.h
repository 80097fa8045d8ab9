// The scripted player at the whole game, run in the test process: from the
// title it reads the conversations with Enter, plays the battles with the
// autopilot, and when the run reaches one of its end scenes closes the
// window with Alt+F4. Every key it holds goes through the platform's input
// script, so the script it leaves replays the same run in the executable
// (virtual clock, the game's fixed random numbers).
#pragma once

#include <string>

#include "game/autopilot/autopilot.h"
#include "game/game_data_tree.h"

namespace gametest {

struct ScriptedPlayResult {
  int exitCode;
  int endScene;        // the scene that ended the run; -2: no script to play into
  std::string script;  // the input script of the run, with its outcome as comments
};

// Plays from the title until a scene of `endScenes` (stage 1's clear is 6,
// game over 29) is about to run. `capture` are the frames to write as PNG.
ScriptedPlayResult PlayScripted(const GameDataTree& tree, BattlePlay play, std::initializer_list<int> endScenes,
                                const std::string& capture = {});

}  // namespace gametest
