// The real game executable replays the scripted player's courses through
// stage 2, won and lost. Each screen that waits for a key (a stage clear
// with its bonuses and total, game over) is checked at the frame the
// scripted player's run showed it in, by its reviewed checksum.
#include <gtest/gtest.h>

#include <ostream>
#include <span>
#include <string>

#include "game/autopilot/battle_scripts.h"
#include "game/game_log_checks.h"
#include "game/game_process.h"
#include "game/golden_frames.h"

namespace {

using gametest::GoldenFrame;

constexpr GoldenFrame At(int frame, const char* shows, std::uint64_t checksum) {
  return {frame, frame, shows, checksum, 1};
}

const GoldenFrame kStage1Clear = At(3306, "stage 1 clear: 30 seconds, HP 30, total 1503000", 9685802264618823039ull);

const GoldenFrame kStage2Won[] = {
    kStage1Clear, At(5799, "stage 2 clear: 29 seconds, bonus 755000, HP 28, bonus 420000, total 2980100", 7981295147216805520ull)};
const GoldenFrame kStage2Lost[] = {kStage1Clear, At(3799, "game over in stage 2", 5556184897366560898ull)};

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
                         testing::Values(CourseReplay{"stage2_won", kStage2Won},
                                         CourseReplay{"stage2_lost", kStage2Lost}),
                         [](const testing::TestParamInfo<CourseReplay>& info) {
                           return std::string(info.param.course);
                         });

}  // namespace
