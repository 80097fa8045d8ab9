// Game over replayed inside the test process through the game's own entry
// point: when stage 1's battle begins the frame hook starts the stage music
// (as the battle's first frame does) and makes the battle lost; the
// game-over screen is shown while the game waits for a key, the music gives
// way to the jingle, and two blank frames later the title is back with its
// own music; then quit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <WqLib.h>

#include "dialogue_scripts.h"
#include "game/game_data_tree.h"
#include "game/golden_frames.h"
#include "game/in_process_game.h"
#include "game/replay_scripts.h"
#include "game_state.h"

namespace {

struct FrameState {
  int scene;
  bool stageMusicPlaying;
  bool titleMusicPlaying;
  bool jinglePlaying;
};

std::vector<FrameState> g_frames;

bool Playing(int sound) { return CheckSoundHandlePlaying(sound) == 1; }

// Records the state in which the next frame starts, after steering it.
void SteerAndRecord() {
  const bool entered = g_frames.empty() || g_frames.back().scene != sceneNumber;
  if (sceneNumber == 3 && entered) {
    const DialogueScript& opening = StageDialogue(1, DialogueMoment::BeforeBattle);
    dialogueIndex = opening.firstIndex + opening.stepCount - 1;  // read elsewhere
  }
  if (sceneNumber == 4) {
    PlaySoundHandle(stageMusic[0], 3, 1);
    sceneNumber = 29;
  }
  g_frames.push_back({sceneNumber, Playing(stageMusic[0]), Playing(titleMusic), Playing(gameOverMusic)});
}

// Enter starts the game at frame 100; the game-over screen comes soon
// after, SPACE ends it at 200, and the title is back before the cursor
// goes to quit.
const std::string kGameOverScript = "100 RETURN\n110\n200 SPACE\n210\n" + gametest::QuitAt(240);

// The pictures in order, each in the window of frames where it stands.
const gametest::GoldenFrame kGoldenFrames[] = {
    {70, 95, "the game-over screen, before and after the wait for a key", 5556184897366560898ull, 2},
    {72, 100, "two blank frames: the -1 game over leaves, then the new-game reset", 4591889624112383621ull, 2},
    {74, 110, "the title again, cursor on start", 7687561828485529475ull, 1},
};

class GameOverReplay : public testing::Test {
 protected:
  void SetUp() override {
    exitCode_ =
        gametest::RunGameInProcess(tree_, kGameOverScript, gametest::CaptureList(kGoldenFrames), SteerAndRecord);
  }

  // The state after the first frame of `scene` since the lost battle.
  static FrameState AfterFirstFrameOf(int scene) {
    std::size_t lost = 0;
    while (lost < g_frames.size() && g_frames[lost].scene != 29) ++lost;
    for (std::size_t i = lost; i + 1 < g_frames.size(); ++i) {
      if (g_frames[i].scene == scene) return g_frames[i + 1];
    }
    ADD_FAILURE() << "scene " << scene << " never ran after the lost battle";
    return {};
  }

  gametest::GameDataTree tree_{gametest::DataSource::kPlainFiles};
  int exitCode_ = -1;
};

TEST_F(GameOverReplay, JingleReplacesTheMusicUntilTheTitleIsBack) {
  EXPECT_EQ(exitCode_, 0);
  std::vector<int> order;
  for (const FrameState& frame : g_frames) {
    if (order.empty() || frame.scene != order.back()) order.push_back(frame.scene);
  }
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 29, -1, 0, 1}));
  ASSERT_TRUE(g_frames.size() > 5);

  const FrameState gameOver = AfterFirstFrameOf(29);
  EXPECT_EQ(gameOver.scene, -1);
  EXPECT_FALSE(gameOver.stageMusicPlaying);
  EXPECT_FALSE(gameOver.titleMusicPlaying);
  EXPECT_TRUE(gameOver.jinglePlaying);
  const FrameState blank = AfterFirstFrameOf(-1);  // -1 became 0, nothing drawn
  EXPECT_EQ(blank.scene, 0);
  EXPECT_TRUE(blank.jinglePlaying);
  const FrameState reset = AfterFirstFrameOf(0);
  EXPECT_EQ(reset.scene, 1);
  EXPECT_FALSE(reset.jinglePlaying);
  const FrameState title = AfterFirstFrameOf(1);
  EXPECT_TRUE(title.titleMusicPlaying);
  EXPECT_FALSE(title.jinglePlaying);
}

TEST_F(GameOverReplay, ScreenMatchesTheReviewedFrame) { gametest::ExpectGoldenFrames(tree_, kGoldenFrames); }

}  // namespace
