// The battle clock, the score line and the stage-clear screen.
#include <WqLib.h>

#include "game_state.h"
#include "hud.h"
#include "screen_waits.h"

namespace {

constexpr int kFramesPerSecond = 60;
constexpr int kParSeconds = 180;
constexpr int kTimeBonusPerSecond = 5000;
constexpr double kHpBonusPerPoint = 15000.0;

std::uint32_t HudTextColour() { return MakeColor(241, 255, 143); }

void DrawHudNumber(int x, int y, int value) { DrawTextFormatWithFont(x, y, HudTextColour(), hudFont, "%d", value); }

void DrawHudLabel(int x, int y, const char* label) { DrawTextFormatWithFont(x, y, HudTextColour(), hudFont, "%s", label); }

}  // namespace

void TickClockAndDrawScore() {
  battleClock.frames = battleClock.frames + 1;
  if (battleClock.frames == kFramesPerSecond) {
    battleClock.seconds = battleClock.seconds + 1;
    battleClock.frames = 0;
  }
  DrawTextFormatWithFont(55, 56, HudTextColour(), hudFont, "SCORE  %d", score);
}

// A battle longer than the par time gives a negative time bonus.
void AddStageClearBonuses() {
  timeBonus = (kParSeconds - battleClock.seconds) * kTimeBonusPerSecond;
  hpBonus = static_cast<int>(player.hp * kHpBonusPerPoint);
  score = score + hpBonus + timeBonus;
}

void ShowStageClear() {
  AddStageClearBonuses();

  DrawGraph(0, 0, clearGraph, 1);
  DrawTextFormatWithFont(40, 40, HudTextColour(), bannerFont, "STAGE CLEAR!!");
  DrawHudLabel(80, 160, "TIME BONUS");
  DrawHudNumber(350, 160, battleClock.seconds);
  DrawHudNumber(300, 260, timeBonus);
  DrawHudLabel(80, 320, "HP BONUS");
  DrawTextFormatWithFont(350, 320, HudTextColour(), hudFont, "%.0f", player.hp);
  DrawHudNumber(300, 420, hpBonus);
  DrawHudLabel(80, 500, "TOTAL SCORE");
  DrawHudNumber(300, 600, score);
  DrawTextFormat(660, 780, HudTextColour(), "PRESS ANY KEY");

  battleClock.seconds = 0;
  bombs = bombs + 1;
  hpBonus = 0;
  timeBonus = 0;
  ShowAndWaitAnyKey();
}
