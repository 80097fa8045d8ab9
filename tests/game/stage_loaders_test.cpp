// The stage loaders' boss start values and the state they leave, run
// without the framework (every picture load then gives -1).
#include <gtest/gtest.h>

#include "game/start_geometry_checks.h"
#include "game_state.h"
#include "stage_loaders.h"

namespace {

struct StageCase {
  void (*load)();
  double x, y;
  int width, height;
  double centreX, centreY;
  int dialogueIndex;
  bool restartsCounters;
};

const StageCase kStages[] = {
    {LoadStage1, 414.0, 255.0, 55, 94, 441.0, 302.0, -2, true},
    {LoadStage2, 227.0, 275.0, 226, 251, 340.0, 400.0, 0, true},
    {LoadStage3, 381.0, 332.0, 226, 251, 494.0, 457.0, 0, true},
    {LoadStage4, 226.0, 300.0, 58, 89, 255.0, 344.0, 0, true},
    {LoadStage5, 287.0, 222.0, 226, 251, 400.0, 347.0, 0, false},
    {LoadStage6, 387.0, 200.0, 226, 251, 500.0, 325.0, 0, false},
};

// A boss as a finished battle leaves it.
void LeaveBattleBehind() {
  boss = {};
  boss.hp = -0.5;
  boss.stocks = 0;
  boss.alive = 0;
  boss.phase = 4;
  boss.frameCounter = 900;
  boss.patternFrame = 120;
  boss.vx = 2.5;
  boss.baseX = 300.0;
  boss.swayDirection = 1;
  boss.groupToggle = 1;
  boss.volleyCount = 7;
  boss.rotatingIndex = 3;
  boss.pathTime = 55;
  dialogueIndex = 9;
}

TEST(StageLoaders, PutEachBossInPlaceWithAFullStart) {
  for (int stage = 1; stage <= STAGE_COUNT; ++stage) {
    const StageCase& c = kStages[stage - 1];
    LeaveBattleBehind();
    c.load();
    EXPECT_EQ(boss.x, c.x) << "stage " << stage;
    EXPECT_EQ(boss.y, c.y) << "stage " << stage;
    EXPECT_EQ(boss.width, c.width) << "stage " << stage;
    EXPECT_EQ(boss.height, c.height) << "stage " << stage;
    EXPECT_EQ(boss.centreX, c.centreX) << "stage " << stage;
    EXPECT_EQ(boss.centreY, c.centreY) << "stage " << stage;
    EXPECT_EQ(boss.hp, 30.0) << "stage " << stage;
    EXPECT_EQ(boss.stocks, 3) << "stage " << stage;
    EXPECT_EQ(boss.alive, 1) << "stage " << stage;
    EXPECT_EQ(boss.phase, 0) << "stage " << stage;
    EXPECT_EQ(dialogueIndex, c.dialogueIndex) << "stage " << stage;
    // Stages 5 and 6 time their patterns from what the last battle left.
    EXPECT_EQ(boss.frameCounter, c.restartsCounters ? 0 : 900) << "stage " << stage;
    EXPECT_EQ(boss.patternFrame, c.restartsCounters ? 0 : 120) << "stage " << stage;
    // No loader touches the movement state the battles keep.
    EXPECT_EQ(boss.vx, 2.5) << "stage " << stage;
    EXPECT_EQ(boss.baseX, 300.0) << "stage " << stage;
    EXPECT_EQ(boss.swayDirection, 1) << "stage " << stage;
    EXPECT_EQ(boss.groupToggle, 1) << "stage " << stage;
    EXPECT_EQ(boss.volleyCount, 7) << "stage " << stage;
    EXPECT_EQ(boss.rotatingIndex, 3) << "stage " << stage;
    EXPECT_EQ(boss.pathTime, 55) << "stage " << stage;
  }
}

TEST(StageLoaders, OnlyStage3ResetsTheSpinAngle) {
  for (int stage = 1; stage <= STAGE_COUNT; ++stage) {
    spinAngle = 2.0;
    kStages[stage - 1].load();
    EXPECT_EQ(spinAngle, stage == 3 ? 0.0 : 2.0) << "stage " << stage;
  }
}

// Stage 6 sets up circles 0 to 3 only; the other sixteen keep their state.
TEST(StageLoaders, Stage6SetsUpTheFirstFourMagicCircles) {
  for (BulletRecord& circle : magicCircles) {
    circle.kind = 5;
    circle.x = 1.0;
    circle.y = 2.0;
    circle.vx = 3.0;
    circle.vy = 4.0;
    circle.active = 1;
  }
  LoadStage6();
  for (int i = 0; i < MAGIC_CIRCLE_COUNT; ++i) {
    const BulletRecord& circle = magicCircles[i];
    if (i < 4) {
      EXPECT_EQ(circle.kind, -1) << "circle " << i << ": the picture's handle (missing here)";
      EXPECT_EQ(circle.x, 0.0) << "circle " << i;
      EXPECT_EQ(circle.y, 0.0) << "circle " << i;
      EXPECT_EQ(circle.vx, 0.0) << "circle " << i;
      EXPECT_EQ(circle.vy, 0.0) << "circle " << i;
      EXPECT_EQ(circle.active, 0) << "circle " << i;
    } else {
      EXPECT_EQ(circle.kind, 5) << "circle " << i;
      EXPECT_EQ(circle.vx, 3.0) << "circle " << i;
      EXPECT_EQ(circle.active, 1) << "circle " << i;
    }
  }
}

// The dialogue steps apply the start geometry to the player too, centred
// by the integer half of its width.
TEST(StartGeometry, CentresThePlayerAtTheBottomAndTheBossAtTheTop) {
  player.width = 38;
  player.x = 100.0;
  player.y = 100.0;
  boss = {};
  ResetStartGeometry();
  gametest::ExpectStartGeometry();

  player.width = 39;
  ResetStartGeometry();
  EXPECT_EQ(player.x, 422.0) << "an odd width rounds its half down";
}

}  // namespace
