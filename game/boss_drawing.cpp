#include "boss_drawing.h"

#include <WqLib.h>

#include "game_state.h"

namespace {

constexpr double kMarkerHalfWidth = 33.0;
constexpr int kMarkerY = 785;
constexpr int kScenesPerStage = 4;  // a battle scene is a multiple of 4

}  // namespace

void DrawBoss() {
  if (boss.alive != 1) return;
  DrawGraphRotated(static_cast<int>(boss.centreX), static_cast<int>(boss.centreY), 1.0, 0.0, boss.graph, 1, 0);
  if (sceneNumber % kScenesPerStage == 0) {
    DrawTextFormat(static_cast<int>(boss.centreX - kMarkerHalfWidth), kMarkerY, MakeColor(255, 0, 0), "*ENEMY*");
  }
}
