#include "asset_loading.h"

#include <WqLib.h>

#include "game_state.h"

namespace {

int LoadGameSound(const char* fileName) { return LoadSound(fileName, 3, -1); }

constexpr int kExplosionCellSize = 192;

}  // namespace

void LoadSounds() {
  cursorSound = LoadGameSound("Sound/SE/cursor04.wav");
  hitSound = LoadGameSound("Sound/SE/hit68.wav");
  warpSound = LoadGameSound("Sound/SE/warp02.wav");
  bossBreakSound = LoadGameSound("Sound/SE/power11.wav");
  bombSound = LoadGameSound("Sound/SE/power32.wav");
  stageMusic[0] = LoadGameSound("Sound/BGM/game_vorlenta_1_battle34.wav");
  stageMusic[1] = LoadGameSound("Sound/BGM/game_vorlenta_1_battle09.ogg");
  stageMusic[2] = LoadGameSound("Sound/BGM/game_vorlenta_1_battle15.ogg");
  stageMusic[3] = LoadGameSound("Sound/BGM/game_vorlenta_1_battle14.ogg");
  stageMusic[4] = LoadGameSound("Sound/BGM/game_vorlenta_2_boss07.ogg");
  stageMusic[5] = LoadGameSound("Sound/BGM/game_vorlenta_9_medley02.ogg");
  titleMusic = LoadGameSound("Sound/BGM/game_vorlenta_4_field11.ogg");
  gameOverMusic = LoadGameSound("Sound/BGM/game_vorlenta_9_jingle08.ogg");
}

// Cut once per run and kept for every later game, like every picture.
void LoadEffectGraphs() {
  static bool loaded = false;
  if (loaded) return;
  LoadDivGraph("Pict/Effect/explosion1_1a.png", EXPLOSION_FRAME_COUNT, EXPLOSION_FRAME_COUNT, 1, kExplosionCellSize,
               kExplosionCellSize, explosionFrames, 0);
  loaded = true;
}
