// The HP bars, the battle clock and the stage-clear bonuses.
#include "battle_fixture.h"
#include "hud.h"

namespace {

class Hud : public BattleTest {};

// A bar shows ceil(HP) pips, never more than the table holds; pips beyond
// the count keep their old places.
TEST_F(Hud, BarsLayOutOnePipPerStartedHitPoint) {
  struct PipCase {
    double hp;
    int pips;
  };
  const PipCase cases[] = {{30.0, 30}, {29.95, 30}, {29.0, 29}, {0.02, 1}, {0.0, 0}, {-1.0, 0}, {31.0, 30}, {1e9, 30}};
  for (const PipCase& pip : cases) {
    SCOPED_TRACE(pip.hp);
    for (HudPip& p : playerHpPips) p.x = p.y = -1;
    for (HudPip& p : bossHpPips) p.x = p.y = -1;
    player.hp = pip.hp;
    boss.hp = pip.hp;
    LayoutHudPips();
    int laid = 0;
    while (laid < HUD_PIP_COUNT && playerHpPips[laid].y == 95) ++laid;
    EXPECT_EQ(laid, pip.pips);
    laid = 0;
    while (laid < HUD_PIP_COUNT && bossHpPips[laid].y == 95) ++laid;
    EXPECT_EQ(laid, pip.pips);
  }
  EXPECT_EQ(playerHpPips[0].x, 355.0);
  EXPECT_EQ(playerHpPips[29].x, 36.0);
  EXPECT_EQ(bossHpPips[0].x, 486.0);
  EXPECT_EQ(bossHpPips[29].x, 805.0);
}

TEST_F(Hud, TheClockCountsSecondsOf60Frames) {
  battleClock = {58, 7};
  TickClockAndDrawScore();
  EXPECT_EQ(battleClock.frames, 59);
  EXPECT_EQ(battleClock.seconds, 7);
  TickClockAndDrawScore();
  EXPECT_EQ(battleClock.frames, 0);
  EXPECT_EQ(battleClock.seconds, 8);
}

TEST_F(Hud, StageClearBonusesFromTimeAndHp) {
  struct BonusCase {
    int seconds;
    double hp;
    int timeBonus, hpBonus;
  };
  const BonusCase cases[] = {
      {60, 30.0, 600000, 450000},
      {181, 30.0, -5000, 450000},
      {0, 0.99999, 900000, 14999},
      {180, 12.5, 0, 187500},
  };
  for (const BonusCase& bonus : cases) {
    SCOPED_TRACE(bonus.seconds);
    score = 1000;
    battleClock.seconds = bonus.seconds;
    player.hp = bonus.hp;
    AddStageClearBonuses();
    EXPECT_EQ(timeBonus, bonus.timeBonus);
    EXPECT_EQ(hpBonus, bonus.hpBonus);
    EXPECT_EQ(score, 1000 + bonus.timeBonus + bonus.hpBonus);
  }
}

}  // namespace
