// The scene machine's own moves: the new-game reset, the title, the loading
// scenes and the numbers outside the table, run without the framework.
#include <gtest/gtest.h>

#include <climits>

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

struct LoadingCase {
  int scene;
  int nextScene;
  double bossX;  // tells which stage was loaded
  int dialogueIndex;
};

// Each loading scene lasts one frame and leaves the next stage's boss in
// place with its dialogue at the first step.
TEST(SceneFlow, LoadingScenesLoadTheNextStageInOneFrame) {
  const LoadingCase cases[] = {
      {2, 3, 414.0, -2}, {6, 7, 227.0, 0}, {10, 11, 381.0, 0},
      {14, 15, 226.0, 0}, {18, 19, 287.0, 0}, {22, 23, 387.0, 0},
  };
  for (const LoadingCase& c : cases) {
    sceneNumber = c.scene;
    boss.x = -1.0;
    dialogueIndex = 99;
    RunScene();
    EXPECT_EQ(sceneNumber, c.nextScene) << "scene " << c.scene;
    EXPECT_EQ(boss.x, c.bossX) << "scene " << c.scene;
    EXPECT_EQ(boss.alive, 1) << "scene " << c.scene;
    EXPECT_EQ(dialogueIndex, c.dialogueIndex) << "scene " << c.scene;
  }
}

// The last stage clear loads nothing and readies the ending.
TEST(SceneFlow, LastStageClearGoesToTheEnding) {
  sceneNumber = 26;
  dialogueIndex = 6;
  dialogueTimer = 40;
  boss.x = -1.0;
  RunScene();
  EXPECT_EQ(sceneNumber, 27);
  EXPECT_EQ(dialogueIndex, 0);
  EXPECT_EQ(dialogueTimer, 0);
  EXPECT_EQ(boss.x, -1.0);
}

}  // namespace
