// The scripted player in the test process plays each course to the outcome
// the checked-in scripts of the executable's replays record
// (record_battle_scripts made them): the end scene, score, HP, stocks and
// battle clock.
#include <gtest/gtest.h>

#include <string>

#include "game/autopilot/battle_scripts.h"

namespace {

// The comment lines that open a recorded script: what it plays and how the
// run ends. The key lines after them are not compared: a frame that the
// platform loses on a loaded machine moves them by a frame of the script
// without changing the course of the game.
std::string Outcome(const std::string& script) {
  std::string outcome;
  for (std::size_t line = 0; line < script.size() && script[line] == '#';) {
    const std::size_t end = script.find('\n', line);
    outcome += script.substr(line, end - line + 1);
    line = end + 1;
  }
  return outcome;
}

class ScriptedPlayer : public testing::TestWithParam<const char*> {};

TEST_P(ScriptedPlayer, PlaysToTheCheckedInOutcome) {
  const gametest::RecordedCourse* course = gametest::FindRecordedCourse(GetParam());
  ASSERT_NE(course, nullptr);
  const gametest::GameDataTree tree(gametest::DataSource::kPlainFiles);
  const gametest::ScriptedPlayResult result = gametest::RecordCourse(tree, *course);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.endScene, course->course.route.back());
  const std::string stored = gametest::StoredScript(*course);
  ASSERT_NE(Outcome(stored), "");
  EXPECT_EQ(Outcome(result.script), Outcome(stored))
      << "the run went another way: record_battle_scripts makes the script anew";
}

INSTANTIATE_TEST_SUITE_P(Courses, ScriptedPlayer, testing::Values("stage1_won", "stage1_lost", "stage2_won", "stage2_lost"),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
