// The real game executable replays the scripted player's courses that end
// in game over in stages 2, 3 and 6. Each screen that waits for a key (a
// stage clear with its bonuses and total, game over) is checked at the
// frame the scripted player's run showed it in, by its reviewed checksum.
#include <gtest/gtest.h>

#include <ostream>
#include <span>
#include <string>

#include "game/autopilot/battle_scripts.h"
#include "game/course_screens.h"
#include "game/game_log_checks.h"
#include "game/game_process.h"
#include "game/golden_frames.h"

namespace {

using gametest::At;
using gametest::GoldenFrame;
using gametest::kGameOverChecksum;
using gametest::kStageClears;

const GoldenFrame kStage2Lost[] = {kStageClears[0], At(3799, "game over in stage 2", kGameOverChecksum)};
const GoldenFrame kStage3Lost[] = {kStageClears[0], kStageClears[1], At(6415, "game over in stage 3", kGameOverChecksum)};
const GoldenFrame kStage6Lost[] = {kStageClears[0], kStageClears[1], kStageClears[2],
                                   kStageClears[3], kStageClears[4], At(15721, "game over in stage 6", kGameOverChecksum)};

struct CourseReplay {
  const char* course;
  std::span<const GoldenFrame> screens;
};

void PrintTo(const CourseReplay& replay, std::ostream* os) { *os << replay.course; }

class CourseReplayTest : public testing::TestWithParam<CourseReplay> {};

TEST_P(CourseReplayTest, ShowsTheRecordedScreensAtTheirFrames) {
  const CourseReplay& replay = GetParam();
  const std::string script = gametest::StoredScript(*gametest::FindRecordedCourse(replay.course));
  ASSERT_FALSE(script.empty());
  const gametest::GameDataTree tree(gametest::DataSource::kPlainFiles);
  EXPECT_EQ(gametest::RunGame(tree, {.inputScript = script,
                                     .captureFrames = gametest::CaptureList(replay.screens)}),
            0);
  gametest::ExpectCleanEnd(tree.ReadLog());
  gametest::ExpectGoldenFrames(tree, replay.screens);
}

INSTANTIATE_TEST_SUITE_P(Courses, CourseReplayTest,
                         testing::Values(CourseReplay{"stage2_lost", kStage2Lost},
                                         CourseReplay{"stage3_lost", kStage3Lost},
                                         CourseReplay{"stage6_lost", kStage6Lost}),
                         [](const testing::TestParamInfo<CourseReplay>& info) {
                           return std::string(info.param.course);
                         });

}  // namespace
