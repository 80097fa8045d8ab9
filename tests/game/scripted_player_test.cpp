// The scripted player in the test process plays each course key for key as
// the checked-in script of the executable's replay records it
// (record_battle_scripts made them), to the same outcome: the end scene,
// score, HP, stocks, battle clock and the frames of the screens that wait
// for a key. The game and its replay take every key at the same frame, so
// a script that differs means the game or the player changed course.
#include <gtest/gtest.h>

#include <string>

#include "game/autopilot/battle_scripts.h"

namespace {

class ScriptedPlayer : public testing::TestWithParam<const char*> {};

TEST_P(ScriptedPlayer, PlaysTheCheckedInScriptKeyForKey) {
  const gametest::RecordedCourse* course = gametest::FindRecordedCourse(GetParam());
  ASSERT_NE(course, nullptr);
  const gametest::GameDataTree tree(gametest::DataSource::kPlainFiles);
  const gametest::ScriptedPlayResult result = gametest::RecordCourse(tree, *course);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.endScene, course->course.route.back());
  EXPECT_EQ(result.script, gametest::StoredScript(*course))
      << "the run went another way: record_battle_scripts makes the script anew";
}

INSTANTIATE_TEST_SUITE_P(Courses, ScriptedPlayer, testing::Values("stage1_won", "stage1_lost", "stage2_lost"),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
