// A stage lost in the running game: the frame hook skips the conversations
// and wins stage 1's battle; in stage 2's the player stands still under the
// boss's fire until the hits use up its HP (the hook leaves it three, so
// that the loss comes within seconds), and the game-over screen follows,
// then the title.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/game_data_tree.h"
#include "game/golden_frames.h"
#include "game/in_process_game.h"
#include "game/replay_scripts.h"
#include "game_state.h"

namespace {

constexpr int kStage2Battle = 8;
constexpr int kGameOver = 29;

struct FrameState {
  int scene;
  double playerHp;
  int bossStocks;
};

std::vector<FrameState> g_frames;

// Records the state in which the next frame starts, after steering it.
void SteerAndRecord() {
  const bool battleBegins = sceneNumber == kStage2Battle && (g_frames.empty() || g_frames.back().scene != sceneNumber);
  if (battleBegins) player.hp = 3.0;
  gametest::SkipConversation();
  if (sceneNumber == 4) gametest::WinBattle();
  g_frames.push_back({sceneNumber, player.hp, boss.stocks});
}

// The game starts at frame 100; SPACE answers stage 1's clear and, later,
// the game-over screen; then quit from the title.
const std::string kLoseStage2Script = "100 RETURN\n110\n" + gametest::SpaceEvery(120, 560) + gametest::QuitAt(600);

const gametest::GoldenFrame kGoldenFrames[] = {
    {190, 210, "stage 2's battle: three rings of small bullets spread from the boss, the player below with 3 HP",
     12450311028022173921ull, 1},
    {320, 350, "the game-over screen, before and after the wait for a key", 5556184897366560898ull, 2},
};

class LostBattleReplay : public testing::Test {
 protected:
  void SetUp() override {
    exitCode_ =
        gametest::RunGameInProcess(tree_, kLoseStage2Script, gametest::CaptureList(kGoldenFrames), SteerAndRecord);
  }

  gametest::GameDataTree tree_{gametest::DataSource::kPlainFiles};
  int exitCode_ = -1;
};

TEST_F(LostBattleReplay, StandingStillInStage2TheHitsLeadToGameOver) {
  EXPECT_EQ(exitCode_, 0);
  std::vector<int> order;
  for (const FrameState& frame : g_frames) {
    if (order.empty() || frame.scene != order.back()) order.push_back(frame.scene);
  }
  // Stage 1's battle is won before its first frame.
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 5, 6, 7, kStage2Battle, kGameOver, -1, 0, 1}));

  // Only the boss's bullets took the HP, in whole hits, and the game-over
  // scene came in the frame after the one that emptied it.
  int battleFrames = 0;
  int framesWithHits = 0;
  double hp = 3.0;
  for (std::size_t i = 1; i < g_frames.size(); ++i) {
    if (g_frames[i - 1].scene != kStage2Battle) continue;
    ++battleFrames;
    const double lost = hp - g_frames[i].playerHp;
    EXPECT_GE(lost, 0.0) << "frame " << i;
    EXPECT_EQ(lost, std::floor(lost)) << "frame " << i;
    framesWithHits += lost > 0.0;
    hp = g_frames[i].playerHp;
    EXPECT_EQ(g_frames[i].scene == kGameOver, hp <= 0.0) << "frame " << i;
    EXPECT_EQ(g_frames[i].bossStocks, 3) << "the player never fired";
  }
  EXPECT_GE(framesWithHits, 1);
  EXPECT_GT(battleFrames, 60) << "the boss's fire needs its time to reach the player";
  gametest::ExpectGoldenFrames(tree_, kGoldenFrames);
}

}  // namespace
