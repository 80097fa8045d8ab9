// Makes the input scripts of the battle and whole-game replays: the
// scripted player plays the game in this process and the script it leaves
// is written out, to be checked in after its replay has been reviewed.
//
//   record_battle_scripts COURSE FILE   (under a display: xvfb-run -a)
//
// COURSE is one of stage1_won, stage1_lost, stage2_lost, stage3_lost,
// whole_game, stage6_lost. Run it again whenever a change of the game moves
// a battle.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "game/autopilot/battle_scripts.h"
#include "platform/control.h"

int main(int argc, char** argv) {
  const gametest::RecordedCourse* course = argc == 3 ? gametest::FindRecordedCourse(argv[1]) : nullptr;
  if (course == nullptr) {
    std::fprintf(stderr, "usage: %s COURSE FILE\n", argv[0]);
    return 2;
  }
  // The game runs in its data tree, which becomes the current folder.
  const std::filesystem::path output = std::filesystem::absolute(argv[2]);
  const gametest::GameDataTree tree(gametest::DataSource::kPlainFiles);
  // Its own second-instance lock: games running elsewhere do not count.
  WqControlSetLockFolder(tree.path().c_str());
  const gametest::ScriptedPlayResult result = gametest::RecordCourse(tree, *course);
  const int expectedEnd = course->course.route.back();
  std::ofstream(output) << result.script;
  if (result.exitCode != 0 || result.endScene != expectedEnd) {
    std::fprintf(stderr, "the run ended in scene %d with exit code %d\n", result.endScene, result.exitCode);
    return 1;
  }
  return 0;
}
