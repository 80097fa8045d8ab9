// The background's scroll and the explosion records.
#include "background_scroll.h"
#include "battle_fixture.h"
#include "explosions.h"

namespace {

class BattleEffects : public BattleTest {};

// Down 10 pixels a frame from 176 to 796, then back: a cycle of 63 frames
// that never leaves 800 or more behind.
TEST_F(BattleEffects, TheBackgroundScrollsAndJumpsBackEvery63Frames) {
  scrollX = 25;
  scrollY = 176;
  for (int frame = 1; frame <= 62; ++frame) {
    ScrollBackground();
    ASSERT_EQ(scrollY, 176 + 10 * frame);
  }
  EXPECT_EQ(scrollY, 796);
  ScrollBackground();
  EXPECT_EQ(scrollY, 176);
  EXPECT_EQ(scrollX, 25);
  scrollY = 795;  // a value off the cycle still never passes 799
  ScrollBackground();
  EXPECT_EQ(scrollY, 176);
}

TEST_F(BattleEffects, ExplosionsTakeTheFirstFreeRecordAndSixteenFillThem) {
  explosions[0].alive = 1;
  explosions[2].alive = 1;
  SpawnExplosion(10.5, 20.5);
  EXPECT_EQ(explosions[1].alive, 1);
  EXPECT_EQ(explosions[1].phase, 1);
  EXPECT_EQ(explosions[1].patternFrame, 0);
  EXPECT_EQ(explosions[1].x, 10.5);
  EXPECT_EQ(explosions[1].y, 20.5);
  for (int i = 0; i < 13; ++i) SpawnExplosion(i, i);
  for (const ObjectRecord& explosion : explosions) EXPECT_EQ(explosion.alive, 1);
  explosions[15].x = 99;
  SpawnExplosion(1, 1);
  EXPECT_EQ(explosions[15].x, 99.0);
}

// An explosion whose frame lies past the strip is skipped, not drawn from
// beyond the table of frames.
TEST_F(BattleEffects, DrawingSkipsFramesOutsideTheStrip) {
  explosions[0] = {.x = 100, .y = 100, .alive = 1, .phase = 1, .patternFrame = 40};
  explosions[1] = {.x = 100, .y = 100, .alive = 1, .phase = 1, .patternFrame = -3};
  DrawExplosions();
  EXPECT_EQ(explosions[0].patternFrame, 40);
}

}  // namespace
