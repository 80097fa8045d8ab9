// The battles of stages 4 to 6 in the running game: one game inside the test
// process wins the first three battles through the frame hook, lets each of
// the last three run for a while with the player standing still, takes the
// picture of one frame of it, and then wins it too. The pictures were
// reviewed and are kept as checksums; each run leaves them, for review, in
// late_battle_pictures in the folder where the test starts.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "game/frame_checksum.h"
#include "game/game_data_tree.h"
#include "game/in_process_game.h"
#include "game/replay_scripts.h"
#include "game_state.h"
#include "platform/control.h"
#include "platform/windows.h"
#include "support/png_writer.h"

namespace {

struct BattlePicture {
  int stage;
  int frame;  // battle frames run before the picture
  const char* shows;
  std::uint64_t checksum;
};

// Each frame is late enough to show the stock's pattern at work.
const BattlePicture kPictures[] = {
    {4, 100, "stage 4: the turning fans and fast bullets from the boss's first stock", 10220494905750962013ull},
    {5, 150, "stage 5: homing bullets from the boss on their way to the player", 2707125082861187769ull},
    {6, 90, "stage 6: the circles beside the boss, twin rings just burst into small rings", 8062505074415123445ull},
};

std::filesystem::path g_pictureFolder;
int g_battleFrames;
std::vector<int> g_pictured;

std::string PicturePath(int stage) {
  return (g_pictureFolder / ("stage" + std::to_string(stage) + "_battle.png")).string();
}

// The last presented frame, written for review.
void TakePicture(int stage) {
  std::vector<std::uint32_t> pixels;
  int width = 0;
  int height = 0;
  if (!WqControlReadWindowPixels(GetActiveWindow(), &pixels, &width, &height)) return;
  std::vector<std::uint8_t> rgb;
  rgb.reserve(pixels.size() * 3);
  for (std::uint32_t pixel : pixels) {
    rgb.push_back(static_cast<std::uint8_t>(pixel >> 16));
    rgb.push_back(static_cast<std::uint8_t>(pixel >> 8));
    rgb.push_back(static_cast<std::uint8_t>(pixel));
  }
  if (wqtest::WritePng(PicturePath(stage), width, height, 3, rgb.data())) g_pictured.push_back(stage);
}

// Conversations pass at once and the first three battles are won before
// they begin; each later battle is pictured after its frames and then won.
void SteerLateBattles() {
  gametest::SkipConversation();
  const int stage = sceneNumber / 4;
  if (sceneNumber % 4 != 0 || stage < 4 || stage > 6) {
    g_battleFrames = 0;
    gametest::WinBattle();
    return;
  }
  const BattlePicture& picture = kPictures[stage - 4];
  if (g_battleFrames == picture.frame) {
    TakePicture(stage);
    gametest::WinBattle();
    g_battleFrames = 0;
    return;
  }
  ++g_battleFrames;
}

// The game starts at frame 100; SPACE ends each stage clear and the end
// picture; then quit.
const std::string kOneGameThenQuit =
    gametest::kTitleCursorDownAndUp + "100 RETURN\n110\n" + gametest::SpaceEvery(120, 1400) + gametest::QuitAt(1500);

TEST(LateBattlesReplay, BattleFramesMatchTheReviewedPictures) {
  // Other test processes on the display must not take the window's focus:
  // the picture is read from the active window.
  WqControlFollowWindowSystemFocus(false);
  g_pictureFolder = std::filesystem::absolute("late_battle_pictures");
  std::filesystem::create_directories(g_pictureFolder);
  const gametest::GameDataTree tree(gametest::DataSource::kPlainFiles);
  EXPECT_EQ(gametest::RunGameInProcess(tree, kOneGameThenQuit, "", SteerLateBattles), 0);
  EXPECT_EQ(g_pictured, (std::vector<int>{4, 5, 6}));
  for (const BattlePicture& picture : kPictures) {
    const auto checksum = gametest::FrameChecksum(PicturePath(picture.stage), 882, 820);
    ASSERT_TRUE(checksum.has_value()) << picture.shows;
    EXPECT_EQ(*checksum, picture.checksum) << picture.shows << " (" << PicturePath(picture.stage) << ")";
  }
}

}  // namespace
