// The player's volleys: their timing, their records and a full pool; and
// the bomb.
#include <cmath>

#include "battle_fixture.h"
#include "key_codes.h"
#include "player.h"

namespace {

class PlayerShots : public BattleTest {
 protected:
  void SetUp() override {
    BattleTest::SetUp();
    PlacePlayer(100, 500);
    boss.centreX = 441;
    boss.centreY = 302;
  }

  // Holds the shoot key for one more frame and fires; true when a volley
  // left.
  static bool FireFrame() {
    keyHold[KEY_SHOOT] = keyHold[KEY_SHOOT] + 1;
    const int before = CountActive(playerShots, SHOT_POOL_SIZE);
    FirePlayerShots();
    return CountActive(playerShots, SHOT_POOL_SIZE) != before;
  }

  static void ClearShots() {
    FreePool(playerShots);
    FreePool(sideShots);
  }
};

TEST_F(PlayerShots, VolleysLeaveEveryThirdFrameAndTheCountCarriesOver) {
  fireCounter = 0;
  std::string fired;
  for (int frame = 1; frame <= 10; ++frame) {
    fired += FireFrame() ? 'x' : '.';
    ClearShots();
  }
  EXPECT_EQ(fired, "x..x..x..x");

  // Released, then pressed again: the count goes on from 10.
  keyHold[KEY_SHOOT] = 0;
  FirePlayerShots();
  EXPECT_EQ(fireCounter, 10);
  fired.clear();
  for (int frame = 1; frame <= 4; ++frame) {
    fired += FireFrame() ? 'x' : '.';
    ClearShots();
  }
  EXPECT_EQ(fired, "..x.");
}

TEST_F(PlayerShots, AVolleyIsFourMainShotsAndTwoHomingSideShots) {
  sideShots[0].vy = -7.0;  // a reused record keeps its last vertical speed
  fireCounter = 0;
  ASSERT_TRUE(FireFrame());
  const double mainX[] = {114, 124, 106, 132};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(playerShots[i].x, mainX[i]) << i;
    EXPECT_EQ(playerShots[i].y, 524.0) << i;
    EXPECT_EQ(playerShots[i].active, 1) << i;
  }
  EXPECT_EQ(playerShots[4].active, 0);

  EXPECT_EQ(sideShots[0].x, 100.0);
  EXPECT_EQ(sideShots[0].y, 524.0);
  EXPECT_EQ(sideShots[0].vx, -10.0);
  EXPECT_EQ(sideShots[0].vy, -7.0);
  EXPECT_EQ(sideShots[0].angle, std::atan2(524.0 - 302.0, 100.0 - 441.0));
  EXPECT_EQ(sideShots[1].x, 138.0);
  EXPECT_EQ(sideShots[1].vx, 10.0);
  EXPECT_EQ(sideShots[1].angle, std::atan2(524.0 - 302.0, 138.0 - 441.0));
}

TEST_F(PlayerShots, AFullPoolTakesOnlyTheShotsThatFindRoom) {
  FillPoolExcept(playerShots, SHOT_POOL_SIZE, {10, 50});
  fireCounter = 0;
  keyHold[KEY_SHOOT] = 1;
  FirePlayerShots();
  // Offsets -5 and +5 found the two free records; -13 and +13 were dropped.
  EXPECT_EQ(playerShots[10].x, 114.0);
  EXPECT_EQ(playerShots[50].x, 124.0);
  EXPECT_EQ(CountActive(playerShots, SHOT_POOL_SIZE), SHOT_POOL_SIZE);
  // The side shots still leave.
  EXPECT_EQ(CountActive(sideShots, SHOT_POOL_SIZE), 2);
}

TEST_F(PlayerShots, BombClearsEnemyBulletsOnlyWhenPressedWithABombLeft) {
  struct BombCase {
    int bombs;
    std::uint32_t held;
    int bombsAfter;
    bool cleared;
  };
  const BombCase cases[] = {{1, 1, 0, true}, {3, 1, 2, true}, {0, 1, 0, false}, {2, 2, 2, false}};
  for (const BombCase& bomb : cases) {
    SCOPED_TRACE(testing::Message() << bomb.bombs << " bombs, held " << bomb.held);
    for (BulletRecord* pool : {enemyBulletsA, enemyBulletsB, enemyBulletsC, enemyBulletsD}) {
      FillPool(pool, ENEMY_POOL_SIZE);
      pool[7].age = 33;
      pool[7].kind = 2;
    }
    playerShots[0].active = 1;
    magicCircles[0].active = 1;
    bombs = bomb.bombs;
    HoldKeys({KEY_BOMB}, bomb.held);
    FirePlayerShots();
    EXPECT_EQ(bombs, bomb.bombsAfter);
    for (BulletRecord* pool : {enemyBulletsA, enemyBulletsB, enemyBulletsC, enemyBulletsD}) {
      EXPECT_EQ(CountActive(pool, ENEMY_POOL_SIZE), bomb.cleared ? 0 : ENEMY_POOL_SIZE);
      EXPECT_EQ(pool[7].age, 33);
      EXPECT_EQ(pool[7].kind, 2);
    }
    EXPECT_EQ(playerShots[0].active, 1);
    EXPECT_EQ(magicCircles[0].active, 1);
  }
}

}  // namespace
