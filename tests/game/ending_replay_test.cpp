// The ending replayed inside the test process through the game's own entry
// point: once stage 1 is loaded the frame hook puts the game where the last
// stage clear leaves it, Enter every 64 frames reads the conversation, the
// staff pages hold three seconds each, a key ends the end picture, and the
// game is back on the title with its music; then quit. The screens are
// compared with reviewed frames.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <WqLib.h>

#include "ending.h"
#include "game/golden_frames.h"
#include "game/game_data_tree.h"
#include "game/in_process_game.h"
#include "game/replay_scripts.h"
#include "game_state.h"
#include "platform/control.h"

namespace {

struct FrameState {
  int scene;
  int dialogueIndex;
  std::uint64_t clockUs;
  bool titleMusicPlaying;
};

std::vector<FrameState> g_frames;

void RecordAndSteer() {
  g_frames.push_back({sceneNumber, dialogueIndex, WqControlGetVirtualClockUs(), CheckSoundHandlePlaying(titleMusic) == 1});
  const bool firstFrameOfStage1 = sceneNumber == 3 && (g_frames.size() < 2 || g_frames[g_frames.size() - 2].scene != 3);
  if (firstFrameOfStage1) {
    // What the clear of stage 6 leaves.
    sceneNumber = 27;
    dialogueIndex = 0;
    dialogueTimer = 0;
  }
}

// Enter starts the game at frame 100; the ending begins at 122, its
// conversation takes four presses, the staff pages twelve seconds, and the
// press of 1188 ends the end picture, which came at 1161; the title is back
// at 1199, where the cursor goes to quit.
const std::string kEndingScript = "100 RETURN\n110\n" + gametest::EnterEvery(164, 1188) + gametest::QuitAt(1220);

// The pictures in order, each in the window of frames where it stands; a
// staff page and the end picture show twice, before their wait and after.
const gametest::GoldenFrame kGoldenFrames[] = {
    {70, 95, "the conversation's first step: the player's picture, two lines", 10254765881831886733ull, 1},
    {315, 345, "the last words on the backdrop, on the third row", 14593176296384390592ull, 1},
    {380, 400, "staff page 1 while it is waited on", 2820505671007023303ull, 2},
    {382, 405, "staff page 2 while it is waited on", 329636427245756074ull, 2},
    {384, 410, "staff page 3 (sound, two entries) while it is waited on", 990517744254502620ull, 2},
    {386, 415, "staff page 4 (thanks, two entries) while it is waited on", 234257274851012293ull, 2},
    {388, 420, "the end picture while the game waits for a key", 17601711335535723963ull, 2},
    {390, 430, "the title again", 7687561828485529475ull, 1},
};

class EndingReplay : public testing::Test {
 protected:
  void SetUp() override {
    exitCode_ = gametest::RunGameInProcess(tree_, kEndingScript, gametest::CaptureList(kGoldenFrames),
                                           RecordAndSteer);
  }

  // The virtual time of the frame that ran the ending's `step`.
  static std::uint64_t StepTimeUs(int step) {
    for (std::size_t i = 1; i < g_frames.size(); ++i) {
      if (g_frames[i - 1].scene == 27 && g_frames[i - 1].dialogueIndex == step) {
        return g_frames[i].clockUs - g_frames[i - 1].clockUs;
      }
    }
    return 0;
  }
  // How many frames the ending spent on `step`.
  static int StepFrames(int step) {
    int frames = 0;
    for (std::size_t i = 0; i + 1 < g_frames.size(); ++i) {
      frames += g_frames[i].scene == 27 && g_frames[i].dialogueIndex == step ? 1 : 0;
    }
    return frames;
  }

  gametest::GameDataTree tree_{gametest::DataSource::kPlainFiles};
  int exitCode_ = -1;
};

TEST_F(EndingReplay, ConversationStaffPagesEndPictureThenTheTitle) {
  EXPECT_EQ(exitCode_, 0);
  std::vector<int> order;
  for (const FrameState& frame : g_frames) {
    if (order.empty() || frame.scene != order.back()) order.push_back(frame.scene);
  }
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 27, 28, 0, 1}));

  // Each step of the conversation is read for at least sixty frames.
  for (int step = 0; step < ENDING_CONVERSATION_STEPS; ++step) EXPECT_GE(StepFrames(step), 60) << step;
  // The staff background and the end picture load in one frame without a
  // pause; each staff page is one frame that holds three seconds.
  EXPECT_EQ(StepFrames(ENDING_LOAD_STAFF_STEP), 1);
  EXPECT_LT(StepTimeUs(ENDING_LOAD_STAFF_STEP), 20'000u);
  for (int page = 0; page < STAFF_PAGE_COUNT; ++page) {
    const int step = ENDING_FIRST_PAGE_STEP + page;
    EXPECT_EQ(StepFrames(step), 1) << step;
    EXPECT_GE(StepTimeUs(step), 3'000'000u) << step;
    EXPECT_LT(StepTimeUs(step), 3'050'000u) << step;
  }
  EXPECT_EQ(StepFrames(ENDING_LAST_STEP), 1);

  // The first title frame after the end picture starts the title music.
  std::size_t afterEnd = 0;
  while (afterEnd < g_frames.size() && g_frames[afterEnd].scene != 28) ++afterEnd;
  while (afterEnd < g_frames.size() && g_frames[afterEnd].scene != 1) ++afterEnd;
  ASSERT_LT(afterEnd + 1, g_frames.size());
  EXPECT_FALSE(g_frames[afterEnd].titleMusicPlaying);
  EXPECT_TRUE(g_frames[afterEnd + 1].titleMusicPlaying);
}

TEST_F(EndingReplay, ScreensMatchTheReviewedFrames) { gametest::ExpectGoldenFrames(tree_, kGoldenFrames); }

}  // namespace
