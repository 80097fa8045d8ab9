// A whole session replayed inside the test process through the game's own
// entry point, with the frame hook reading the game's state between frames:
// the title menu, two games from stage 1 to the end picture, and quit. The
// hook also skips every conversation to its end and wins every battle, so
// that the two games take a few seconds: the dialogue, ending and battle
// tests read those.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <WqLib.h>

#include "dialogue_scripts.h"
#include "ending.h"
#include "game/game_data_tree.h"
#include "game/in_process_game.h"
#include "game/replay_scripts.h"
#include "game_state.h"
#include "picture_cache.h"

namespace {

struct FrameState {
  int scene;
  int titleMenuIndex;
  int cursorY;
  ObjectRecord boss;
  int dialogueIndex;
  int dialoguePictures[DIALOGUE_PICTURE_COUNT];
  int wenuA;  // the handles the picture table holds for stage 2's a and b
  int wenuB;
  bool bossGraphValid;
};

std::vector<FrameState> g_frames;
// Set by a test: the first battle frame is lost, as when the player's HP
// runs out.
bool g_loseFirstBattle;

void RecordFrame() {
  if (g_loseFirstBattle && sceneNumber == 4) {
    g_loseFirstBattle = false;
    sceneNumber = 29;
  }
  FrameState state{};
  state.scene = sceneNumber;
  state.titleMenuIndex = titleMenuIndex;
  state.cursorY = titleMenu[0].y;
  state.boss = boss;
  state.dialogueIndex = dialogueIndex;
  std::copy(std::begin(dialoguePictures), std::end(dialoguePictures), state.dialoguePictures);
  if (sceneNumber == 7) {
    state.wenuA = LoadPicture("Pict/Backgraund/kaiwa_wenu_a.png");
    state.wenuB = LoadPicture("Pict/Backgraund/kaiwa_wenu_b.png");
  }
  state.bossGraphValid = IsGraphHandleValid(boss.graph) == 1;
  g_frames.push_back(state);
  gametest::SkipConversationsAndBattles();
}

// The frames on which the game entered `scene`, in order.
std::vector<FrameState> Entries(int scene) {
  std::vector<FrameState> entries;
  for (std::size_t i = 0; i < g_frames.size(); ++i) {
    if (g_frames[i].scene == scene && (i == 0 || g_frames[i - 1].scene != scene)) entries.push_back(g_frames[i]);
  }
  return entries;
}

// The scenes in the order the game went through them.
std::vector<int> SceneOrder() {
  std::vector<int> order;
  for (std::size_t i = 0; i < g_frames.size(); ++i) {
    if (i == 0 || g_frames[i].scene != g_frames[i - 1].scene) order.push_back(g_frames[i].scene);
  }
  return order;
}

// Runs the game's entry point in this process (each test has a process of
// its own) in a data tree, on the virtual clock, with the script's keys.
class SessionReplay : public testing::Test {
 protected:
  void Replay(const std::string& script) {
    tree_ = std::make_unique<gametest::GameDataTree>(gametest::DataSource::kPlainFiles);
    exitCode_ = gametest::RunGameInProcess(*tree_, script, "", RecordFrame);
  }

  std::unique_ptr<gametest::GameDataTree> tree_;
  int exitCode_ = -1;
};

class GameStateReplay : public SessionReplay {
 protected:
  void SetUp() override { Replay(gametest::kTwoQuickGamesThenQuit); }
};

TEST_F(GameStateReplay, PlaysTwoGamesAndQuits) {
  EXPECT_EQ(exitCode_, 0);
  // Scene by scene, each scene once per game.
  std::vector<int> expected;
  for (int game = 0; game < 2; ++game) {
    for (int scene = 0; scene <= 28; ++scene) expected.push_back(scene);
  }
  expected.push_back(0);
  expected.push_back(1);
  EXPECT_EQ(SceneOrder(), expected);
}

TEST_F(GameStateReplay, TitleMenuTogglesAndStarts) {
  // The cursor's path on the title before the first game: start, quit, start.
  std::vector<std::pair<int, int>> choices;
  for (const FrameState& frame : g_frames) {
    if (frame.scene == 2) break;
    if (frame.scene != 1) continue;
    const std::pair<int, int> choice{frame.titleMenuIndex, frame.cursorY};
    if (choices.empty() || choices.back() != choice) choices.push_back(choice);
  }
  const std::vector<std::pair<int, int>> expected = {{0, 540}, {1, 603}, {0, 540}};
  EXPECT_EQ(choices, expected);
  for (const FrameState& frame : g_frames) {
    if (frame.scene == 1 && frame.titleMenuIndex == 0 && frame.cursorY == 603) ADD_FAILURE() << "cursor off its item";
  }
}

TEST_F(GameStateReplay, Stage1BossStartsInPlaceInEveryGame) {
  const std::vector<FrameState> entries = Entries(3);
  ASSERT_EQ(entries.size(), 2u);
  for (const FrameState& entry : entries) {
    EXPECT_EQ(entry.boss.x, 414.0);
    EXPECT_EQ(entry.boss.y, 255.0);
    EXPECT_EQ(entry.boss.centreX, 441.0);
    EXPECT_EQ(entry.boss.centreY, 302.0);
    EXPECT_EQ(entry.boss.width, 55);
    EXPECT_EQ(entry.boss.height, 94);
    EXPECT_EQ(entry.boss.hp, 30.0);
    EXPECT_EQ(entry.boss.stocks, 3);
    EXPECT_EQ(entry.boss.alive, 1);
    EXPECT_EQ(entry.dialogueIndex, -2);
    EXPECT_TRUE(entry.bossGraphValid);
  }
  EXPECT_EQ(entries[0].boss.graph, entries[1].boss.graph) << "the second game reuses the picture";
}

TEST_F(GameStateReplay, Stage2DialogueSlotsHoldBThenA) {
  const std::vector<FrameState> entries = Entries(7);
  ASSERT_EQ(entries.size(), 2u);
  for (const FrameState& entry : entries) {
    EXPECT_NE(entry.wenuB, -1);
    EXPECT_NE(entry.wenuA, -1);
    EXPECT_NE(entry.wenuA, entry.wenuB);
    EXPECT_EQ(entry.dialoguePictures[0], entry.wenuB);
    EXPECT_EQ(entry.dialoguePictures[1], entry.wenuA);
    EXPECT_NE(entry.dialoguePictures[2], -1);
    EXPECT_NE(entry.dialoguePictures[3], -1);
  }
  for (int slot = 0; slot < DIALOGUE_PICTURE_COUNT; ++slot) {
    EXPECT_EQ(entries[0].dialoguePictures[slot], entries[1].dialoguePictures[slot]) << "slot " << slot;
  }
}

// A lost battle shows the game-over screen until a key, then two frames
// without drawing (the -1 it leaves, then the reset) lead to the title.
TEST_F(SessionReplay, LostBattleGoesThroughGameOverToTheTitle) {
  g_loseFirstBattle = true;
  Replay(gametest::kOneQuickGameThenQuit);
  EXPECT_EQ(exitCode_, 0);
  const std::vector<int> expected = {0, 1, 2, 3, 29, -1, 0, 1};
  EXPECT_EQ(SceneOrder(), expected);
  const auto gameOver = std::find_if(g_frames.begin(), g_frames.end(), [](const FrameState& f) { return f.scene == 29; });
  ASSERT_NE(gameOver, g_frames.end());
  EXPECT_EQ(std::count_if(g_frames.begin(), g_frames.end(), [](const FrameState& f) { return f.scene == -1; }), 1);
  EXPECT_EQ((gameOver + 1)->scene, -1) << "game over lasts one frame, however long it waits";
}

}  // namespace
