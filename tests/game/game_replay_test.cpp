// The real game executable replayed from the title into stage 1's battle:
// pictures against reviewed checksums, from the plain data and from the archives, a
// clean end with nothing left allocated when the window is closed, and the
// start-up failure.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdint>
#include <map>
#include <string>

#include "game/game_data_tree.h"
#include "game/game_log_checks.h"
#include "game/golden_frames.h"
#include "game/game_process.h"
#include "game/replay_scripts.h"
#include "support/wait_until.h"

namespace {

using gametest::DataSource;
using gametest::GameDataTree;
using gametest::GameRunSettings;

// Pictures kIntoStage1BattleThenClose shows, in order, with their reviewed
// checksums.
const gametest::GoldenFrame kGoldenFrames[] = {
    {14, 30, "the title, cursor on start", 7687561828485529475ull, 1},
    {40, 55, "the title, cursor on quit", 418342415934578563ull, 1},
    {90, 110, "stage 1's opening: the player's picture and four lines", 12412951685122888088ull, 1},
    {430, 455, "stage 1's first boss step: Meru's picture and one line", 10985433957252064703ull, 1},
    {1085, 1115, "stage 1's battle: the boss's rings and falling stream, the player standing still", 2733911725725054455ull,
     1},
};

class GameReplay : public testing::TestWithParam<DataSource> {};

TEST_P(GameReplay, PlaysFromTheTitleWithTheReviewedFrames) {
  GameDataTree tree(GetParam());
  const GameRunSettings settings{.inputScript = gametest::kIntoStage1BattleThenClose,
                                 .captureFrames = gametest::CaptureList(kGoldenFrames)};
  EXPECT_EQ(gametest::RunGame(tree, settings), 0);
  gametest::ExpectCleanEnd(tree.ReadLog());
  gametest::ExpectGoldenFrames(tree, kGoldenFrames);
}

INSTANTIATE_TEST_SUITE_P(Data, GameReplay, testing::Values(DataSource::kPlainFiles, DataSource::kArchives),
                         [](const testing::TestParamInfo<DataSource>& info) {
                           return info.param == DataSource::kArchives ? "Archives" : "PlainFiles";
                         });

// Without the framework the game cannot run: a second instance finds the
// first one's window, and the exit code tells whoever started it.
TEST(GameStart, FailedStartEndsWithNonZeroExitCode) {
  GameDataTree first(DataSource::kPlainFiles);
  const pid_t running = gametest::StartGame(first, {.virtualClock = false});
  ASSERT_GT(running, 0);
  // The window stands once the log reports it made.
  ASSERT_TRUE(wqtest::WaitUntil(
      [&] { return first.ReadLog().find("ウインドウの作成に成功しました") != std::string::npos; },
      std::chrono::seconds(120)));

  GameDataTree second(DataSource::kPlainFiles);
  EXPECT_NE(gametest::RunGame(second, {}), 0);
  EXPECT_NE(second.ReadLog().find("二重起動されています、ソフトを終了します"), std::string::npos) << second.ReadLog();

  kill(running, SIGTERM);
  gametest::WaitForGame(running);
}

}  // namespace
