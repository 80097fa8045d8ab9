// The HUD's pictures, pips and icons.
#include "hud.h"

#include <WqLib.h>

#include "game_state.h"
#include "picture_cache.h"

namespace {

constexpr int kFaceX = 406;
constexpr int kFaceY = 90;
constexpr double kPipY = 95;
constexpr double kPlayerPipX = 355;
constexpr double kBossPipX = 486;
constexpr double kPipSpacing = 11;
constexpr int kIconY = 140;
constexpr int kStockX = 495;
constexpr int kBombX = 365;
constexpr int kIconSpacing = 25;

// Pips while i < HP, so ceil(HP) of them; a bar never shows more pips than
// its table holds, whatever the HP.
int PipCount(double hp) {
  int count = 0;
  while (count < HUD_PIP_COUNT && count < hp) ++count;
  return count;
}

void LayoutPips(HudPip (&pips)[HUD_PIP_COUNT], double hp, double firstX, double spacing) {
  for (int i = 0; i < PipCount(hp); ++i) {
    pips[i].x = firstX + spacing * i;
    pips[i].y = kPipY;
  }
}

void DrawPips(const HudPip (&pips)[HUD_PIP_COUNT], double hp) {
  for (int i = 0; i < PipCount(hp); ++i) {
    DrawGraph(static_cast<int>(pips[i].x), static_cast<int>(pips[i].y), pips[0].graph, 1);
  }
}

}  // namespace

void LoadHud() {
  playerHpPips[0].graph = LoadPicture("Pict/Other/HP.png");
  stockGraph = LoadPicture("Pict/Other/sutokku2.png");
  bombGraph = LoadPicture("Pict/Other/bomb.png");
  bossHpPips[0].graph = LoadPicture("Pict/Other/eneHP.png");
}

void LayoutHudPips() {
  LayoutPips(playerHpPips, player.hp, kPlayerPipX, -kPipSpacing);
  LayoutPips(bossHpPips, boss.hp, kBossPipX, kPipSpacing);
}

void DrawHud() {
  DrawGraph(kFaceX, kFaceY, bossFaceGraph, 1);
  DrawPips(playerHpPips, player.hp);
  DrawPips(bossHpPips, boss.hp);
  for (int i = 0; i < boss.stocks; ++i) DrawGraph(kStockX + kIconSpacing * i, kIconY, stockGraph, 1);
  for (int i = 0; i < bombs; ++i) DrawGraph(kBombX - kIconSpacing * i, kIconY, bombGraph, 1);
}
