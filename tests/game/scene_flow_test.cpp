// The scene machine's own moves: the new-game reset, the title and the
// numbers outside the table, run without the framework; the loading scenes,
// which show the stage clear and wait for a key, in the running game.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "game/game_data_tree.h"
#include "game/in_process_game.h"
#include "game/replay_scripts.h"
#include "game_state.h"
#include "scene_machine.h"

namespace {

TEST(SceneFlow, NumbersOutsideTheTableBecomeTheNewGameAndNothingElseRuns) {
  for (int number : {-1, SCENE_COUNT, 1000, INT_MIN, INT_MAX}) {
    sceneNumber = number;
    bombs = 0;
    scrollX = 7;
    RunScene();
    EXPECT_EQ(sceneNumber, 0) << number;
    EXPECT_EQ(bombs, 0) << number << ": the reset waits for the next frame";
    EXPECT_EQ(scrollX, 7) << number;
  }
}

TEST(SceneFlow, NewGameResetsAndGoesToTheTitle) {
  sceneNumber = 0;
  bombs = 0;
  score = 50;
  RunScene();
  EXPECT_EQ(sceneNumber, 1);
  EXPECT_EQ(bombs, 3);
  EXPECT_EQ(score, 0);
}

TEST(SceneFlow, TitleStaysUpAndParksTheScroll) {
  sceneNumber = 1;
  RunScene();
  RunScene();
  EXPECT_EQ(sceneNumber, 1);
  EXPECT_EQ(scrollX, 25);
  EXPECT_EQ(scrollY, 176);
}

// Runs each of `scenes` for one frame inside the running game, once the
// title is up: `arrange` sets the state before the scene's frame, `read`
// reads it at the start of the next one. SPACE answers the stage clears
// among them; then the title is back and the script quits.
struct ScenesInGame {
  static inline std::vector<int> scenes;
  static inline void (*arrange)(int scene);
  static inline void (*read)(int scene);
  static inline int running = -2;  // -2 until the title is up

  static void Hook() {
    if (running == -2) {
      if (sceneNumber != 1) return;
      running = -1;  // the title is up: the first scene starts now
    }
    if (running >= static_cast<int>(scenes.size())) return;
    if (running >= 0) read(scenes[running]);
    ++running;
    if (running == static_cast<int>(scenes.size())) {
      sceneNumber = 1;
      return;
    }
    sceneNumber = scenes[running];
    arrange(scenes[running]);
  }

  static void Run(std::vector<int> sceneList, void (*arrangeScene)(int), void (*readScene)(int)) {
    scenes = std::move(sceneList);
    arrange = arrangeScene;
    read = readScene;
    const gametest::GameDataTree tree(gametest::DataSource::kPlainFiles);
    const std::string script = gametest::SpaceEvery(40, 400) + gametest::QuitAt(500);
    EXPECT_EQ(gametest::RunGameInProcess(tree, script, "", Hook), 0);
    EXPECT_EQ(running, static_cast<int>(scenes.size())) << "the game quit before the scenes ran";
  }
};

struct LoadingCase {
  int scene;
  int nextScene;
  double bossX;  // tells which stage was loaded
  int dialogueIndex;
};

const LoadingCase kLoadingCases[] = {
    {2, 3, 414.0, -2}, {6, 7, 227.0, 0}, {10, 11, 381.0, 0},
    {14, 15, 226.0, 0}, {18, 19, 287.0, 0}, {22, 23, 387.0, 0},
};

struct LoadResult {
  int scene;
  double bossX;
  int bossAlive;
  int dialogueIndex;
};

std::vector<LoadResult> g_loadResults;

// Each loading scene (with its stage clear, which a key ends) lasts one
// frame and leaves the next stage's boss in place with its dialogue at the
// first step.
TEST(SceneFlow, LoadingScenesLoadTheNextStageInOneFrame) {
  std::vector<int> scenes;
  for (const LoadingCase& c : kLoadingCases) scenes.push_back(c.scene);
  ScenesInGame::Run(
      scenes,
      [](int) {
        boss.x = -1.0;
        dialogueIndex = 99;
      },
      [](int) { g_loadResults.push_back({sceneNumber, boss.x, boss.alive, dialogueIndex}); });
  ASSERT_EQ(g_loadResults.size(), std::size(kLoadingCases));
  for (std::size_t i = 0; i < g_loadResults.size(); ++i) {
    const LoadingCase& c = kLoadingCases[i];
    const LoadResult& r = g_loadResults[i];
    EXPECT_EQ(r.scene, c.nextScene) << "scene " << c.scene;
    EXPECT_EQ(r.bossX, c.bossX) << "scene " << c.scene;
    EXPECT_EQ(r.bossAlive, 1) << "scene " << c.scene;
    EXPECT_EQ(r.dialogueIndex, c.dialogueIndex) << "scene " << c.scene;
  }
}

struct EndingStart {
  int scene = -1;
  int dialogueIndex = -1;
  int dialogueTimer = -1;
  double bossX = 0.0;
};

EndingStart g_endingStart;

// The last stage clear loads nothing and readies the ending.
TEST(SceneFlow, LastStageClearGoesToTheEnding) {
  ScenesInGame::Run(
      {26},
      [](int) {
        dialogueIndex = 6;
        dialogueTimer = 40;
        boss.x = -1.0;
      },
      [](int) { g_endingStart = {sceneNumber, dialogueIndex, dialogueTimer, boss.x}; });
  EXPECT_EQ(g_endingStart.scene, 27);
  EXPECT_EQ(g_endingStart.dialogueIndex, 0);
  EXPECT_EQ(g_endingStart.dialogueTimer, 0);
  EXPECT_EQ(g_endingStart.bossX, -1.0);
}

}  // namespace
