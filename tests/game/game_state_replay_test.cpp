// A whole session replayed inside the test process through the game's own
// entry point, with the frame hook reading the game's state between frames:
// the title menu, two games from stage 1 to the end picture, and quit. The
// hook also skips every conversation to its end, so that the two games
// take a few seconds: the dialogue and ending replays read them.
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

// Puts a dialogue scene at its end step, and the ending past its
// conversation.
void SkipConversation() {
  const bool dialogueScene = sceneNumber >= 3 && sceneNumber <= 25 && sceneNumber % 2 == 1;
  if (dialogueScene) {
    const int stage = (sceneNumber + 1) / 4;
    const DialogueScript& script =
        StageDialogue(stage, sceneNumber % 4 == 3 ? DialogueMoment::BeforeBattle : DialogueMoment::AfterBattle);
    dialogueIndex = script.firstIndex + script.stepCount - 1;
  }
  if (sceneNumber == 27 && dialogueIndex < ENDING_LOAD_STAFF_STEP) dialogueIndex = ENDING_LOAD_STAFF_STEP;
}

void RecordFrame() {
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
  SkipConversation();
}

// The frames on which the game entered `scene`, in order.
std::vector<FrameState> Entries(int scene) {
  std::vector<FrameState> entries;
  for (std::size_t i = 0; i < g_frames.size(); ++i) {
    if (g_frames[i].scene == scene && (i == 0 || g_frames[i - 1].scene != scene)) entries.push_back(g_frames[i]);
  }
  return entries;
}

class GameStateReplay : public testing::Test {
 protected:
  void SetUp() override {
    tree_ = std::make_unique<gametest::GameDataTree>(gametest::DataSource::kPlainFiles);
    exitCode_ = gametest::RunGameInProcess(*tree_, gametest::kTwoQuickGamesThenQuit, "", RecordFrame);
  }

  std::unique_ptr<gametest::GameDataTree> tree_;
  int exitCode_ = -1;
};

TEST_F(GameStateReplay, PlaysTwoGamesAndQuits) {
  EXPECT_EQ(exitCode_, 0);
  // Scene by scene, each scene once per game (its first frame counts).
  std::vector<int> order;
  for (std::size_t i = 0; i < g_frames.size(); ++i) {
    if (i == 0 || g_frames[i].scene != g_frames[i - 1].scene) order.push_back(g_frames[i].scene);
  }
  std::vector<int> expected;
  for (int game = 0; game < 2; ++game) {
    for (int scene = 0; scene <= 28; ++scene) expected.push_back(scene);
  }
  expected.push_back(0);
  expected.push_back(1);
  EXPECT_EQ(order, expected);
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

}  // namespace
