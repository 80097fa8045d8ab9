// The real game executable replayed from the title: frames at chosen points
// against reviewed checksums, from the plain data and from the archives, a
// clean quit with nothing left allocated, and the start-up failure.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>

#include "game/frame_checksum.h"
#include "game/game_data_tree.h"
#include "game/game_log_checks.h"
#include "game/game_process.h"
#include "game/replay_scripts.h"
#include "support/wait_until.h"

namespace {

using gametest::DataSource;
using gametest::GameDataTree;
using gametest::GameRunSettings;

// Pictures kOneGameThenQuit shows, in order, with their reviewed checksums.
// Start-up work on a loaded machine can move the title's first frame by a
// few presents, so each picture is looked for in a window of frames around
// where it stands, not at one frame number.
// A picture the game waits on shows in two frames in a row: presented before
// the wait, and again by the frame loop after it.
struct GoldenFrame {
  int first;
  int last;
  const char* shows;
  std::uint64_t checksum;
  int framesInARow;
};
const GoldenFrame kGoldenFrames[] = {
    {14, 30, "the title, cursor on start", 7687561828485529475ull, 1},
    {40, 55, "the title, cursor on quit", 418342415934578563ull, 1},
    {72, 100, "stage 1 just started: the side frame over the empty playfield", 17989674690193622869ull, 1},
    {95, 130, "the end picture, shown before the wait for a key", 17601711335535723963ull, 2},
    {140, 165, "the title of the second visit, cursor on quit", 418342415934578563ull, 1},
};

std::string CaptureList() {
  std::string list;
  for (const GoldenFrame& golden : kGoldenFrames) {
    for (int frame = golden.first; frame <= golden.last; ++frame) {
      if (!list.empty()) list += ",";
      list += std::to_string(frame);
    }
  }
  return list;
}

std::filesystem::path CapturePath(const GameDataTree& tree, int frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame_%06d.png", frame);
  return tree.path() / "captures" / name;
}

// Each picture shows in its window, after the one before it, in as many
// frames in a row as it should.
void ExpectGoldenFrames(const GameDataTree& tree) {
  int previous = 0;
  for (const GoldenFrame& golden : kGoldenFrames) {
    int found = 0;
    int inARow = 0;
    for (int frame = std::max(golden.first, previous + 1); frame <= golden.last; ++frame) {
      const auto checksum = gametest::FrameChecksum(CapturePath(tree, frame), 882, 820);
      ASSERT_TRUE(checksum.has_value()) << "frame " << frame << " not captured";
      if (*checksum != golden.checksum) {
        if (found != 0) break;
        continue;
      }
      if (found == 0) found = frame;
      ++inARow;
    }
    EXPECT_NE(found, 0) << golden.shows << ": not among frames " << golden.first << " to " << golden.last << " ("
                        << tree.path() / "captures" << ")";
    EXPECT_GE(inARow, golden.framesInARow) << golden.shows << " from frame " << found;
    if (found != 0) previous = found;
  }
}

class GameReplay : public testing::TestWithParam<DataSource> {};

TEST_P(GameReplay, PlaysFromTheTitleToQuitWithTheReviewedFrames) {
  GameDataTree tree(GetParam());
  EXPECT_EQ(gametest::RunGame(tree, {.inputScript = gametest::kOneGameThenQuit, .captureFrames = CaptureList()}),
            0);
  gametest::ExpectCleanEnd(tree.ReadLog());
  ExpectGoldenFrames(tree);
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
