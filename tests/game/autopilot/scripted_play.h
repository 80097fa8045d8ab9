// The scripted player at the whole game, run in the test process: from the
// title it reads the conversations with Enter, plays each battle with the
// autopilot as its course says, answers the stage clears and the end
// picture with Space, and when the run reaches the last scene of its route
// closes the window with Alt+F4. Every key it holds goes through the
// platform's input script, so the script it leaves replays the same run in
// the executable (virtual clock, the game's fixed random numbers).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "game/autopilot/autopilot.h"
#include "game/game_data_tree.h"

namespace gametest {

inline constexpr int kTitleScene = 1;
inline constexpr int kGameOverScene = 29;
inline constexpr int kEndPictureScene = 28;
// The scene that shows stage `stage`'s clear (1 to 6).
inline constexpr int StageClearScene(int stage) { return 2 + 4 * stage; }

struct ScriptedCourse {
  std::array<BattlePlay, 6> battles;  // how stages 1 to 6 are played
  // Scenes the run passes in this order; it ends as the last is about to run.
  std::vector<int> route;
};

struct ScriptedPlayResult {
  int exitCode;
  int endScene;        // the scene that ended the run; -2: no script to play into
  std::string script;  // the input script of the run, with its outcome as comments
};

// `capture` are the frames to write as PNG.
ScriptedPlayResult PlayScripted(const GameDataTree& tree, const ScriptedCourse& course,
                                const std::string& capture = {});

}  // namespace gametest
