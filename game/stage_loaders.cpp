// The stage loaders and the start geometry.
#include "stage_loaders.h"

#include "game_state.h"
#include "picture_cache.h"

namespace {

struct StageAssets {
  const char* bossPicture;
  const char* facePicture;
  const char* dialogue[DIALOGUE_PICTURE_COUNT];
  const char* clearPicture;
};

struct BossBox {
  double x;
  double y;
  int width;
  int height;
  double centreX;
  double centreY;
};

constexpr StageAssets kStageAssets[STAGE_COUNT] = {
    {"Pict/Chara/すいせい4.png",
     "Pict/Other/meru.png",
     {"Pict/Backgraund/kaiwa_meru_a.png", "Pict/Backgraund/kaiwa_meru_b.png",
      "Pict/Backgraund/kaiwa_meru_c.png", "Pict/Backgraund/kaiwa_meru_d.png"},
     "Pict/Backgraund/clear_meru.png"},
    // Stage 2 holds its b picture in slot 0 and its a picture in slot 1.
    {"Pict/Chara/きんせい.png",
     "Pict/Other/wenu.png",
     {"Pict/Backgraund/kaiwa_wenu_b.png", "Pict/Backgraund/kaiwa_wenu_a.png",
      "Pict/Backgraund/kaiwa_wenu_c.png", "Pict/Backgraund/kaiwa_wenu_d.png"},
     "Pict/Backgraund/clear_wenu.png"},
    {"Pict/Chara/ちきゅう.png",
     "Pict/Other/tera.png",
     {"Pict/Backgraund/kaiwa_tra_a.png", "Pict/Backgraund/kaiwa_tra_b.png", "Pict/Backgraund/kaiwa_tra_c.png",
      "Pict/Backgraund/kaiwa_tra_d.png"},
     "Pict/Backgraund/clear_tra.png"},
    {"Pict/Chara/かせい.png",
     "Pict/Other/maru.png",
     {"Pict/Backgraund/kaiwa_maru_a.png", "Pict/Backgraund/kaiwa_maru_b.png",
      "Pict/Backgraund/kaiwa_maru_c.png", "Pict/Backgraund/kaiwa_maru_d.png"},
     "Pict/Backgraund/clear_maru.png"},
    {"Pict/Chara/もくせい.png",
     "Pict/Other/yupi.png",
     {"Pict/Backgraund/kaiwa_yupi_a.png", "Pict/Backgraund/kaiwa_yupi_b.png",
      "Pict/Backgraund/kaiwa_yupi_c.png", "Pict/Backgraund/kaiwa_yupi_d.png"},
     "Pict/Backgraund/clear_yupi.png"},
    {"Pict/Chara/どせい.png",
     "Pict/Other/sato.png",
     {"Pict/Backgraund/kaiwa_sato_a.png", "Pict/Backgraund/kaiwa_sato_b.png",
      "Pict/Backgraund/kaiwa_sato_c.png", "Pict/Backgraund/kaiwa_sato_d.png"},
     "Pict/Backgraund/clear_sato.png"},
};

// Stages 2 to 6; stage 1 starts from the start geometry.
constexpr BossBox kBossBoxes[STAGE_COUNT] = {
    {},
    {227.0, 275.0, 226, 251, 340.0, 400.0},
    {381.0, 332.0, 226, 251, 494.0, 457.0},
    {226.0, 300.0, 58, 89, 255.0, 344.0},
    {287.0, 222.0, 226, 251, 400.0, 347.0},
    {387.0, 200.0, 226, 251, 500.0, 325.0},
};

constexpr double kBossStartHp = 30.0;
constexpr int kBossStartStocks = 3;
constexpr int kStartBossWidth = 55;
constexpr int kStartBossHeight = 94;
constexpr double kStartBossY = 255.0;
constexpr double kStartBossCentreY = 302.0;
constexpr double kStartPlayerY = 751.0;
constexpr int kScreenMiddleX = SCREEN_WIDTH / 2;

void PlaceBoss(const BossBox& box) {
  boss.x = box.x;
  boss.y = box.y;
  boss.width = box.width;
  boss.height = box.height;
  boss.centreX = box.centreX;
  boss.centreY = box.centreY;
}

// Loads the boss's picture and sets up a fresh boss; stages 1 to 4 also
// restart its counters, stages 5 and 6 keep what the last battle left.
void StartBoss(int stage) {
  boss.graph = LoadPicture(kStageAssets[stage - 1].bossPicture);
  if (stage == 1) {
    ResetBossStartGeometry();
  } else {
    PlaceBoss(kBossBoxes[stage - 1]);
  }
  boss.hp = kBossStartHp;
  boss.stocks = kBossStartStocks;
  boss.alive = 1;
  boss.phase = 0;
  if (stage <= 4) {
    boss.frameCounter = 0;
    boss.patternFrame = 0;
  }
}

void LoadStagePictures(int stage) {
  const StageAssets& assets = kStageAssets[stage - 1];
  bossFaceGraph = LoadPicture(assets.facePicture);
  for (int slot = 0; slot < DIALOGUE_PICTURE_COUNT; ++slot) {
    dialoguePictures[slot] = LoadPicture(assets.dialogue[slot]);
  }
  clearGraph = LoadPicture(assets.clearPicture);
}

// What every stage loader does; the first dialogue step is 0.
void LoadStage(int stage) {
  StartBoss(stage);
  dialogueIndex = 0;
  LoadStagePictures(stage);
}

}  // namespace

void ResetBossStartGeometry() {
  boss.y = kStartBossY;
  boss.centreY = kStartBossCentreY;
  boss.width = kStartBossWidth;
  boss.height = kStartBossHeight;
  boss.x = kScreenMiddleX - kStartBossWidth / 2;
  boss.centreX = boss.x + kStartBossWidth / 2;
}

void ResetStartGeometry() {
  ResetBossStartGeometry();
  player.x = kScreenMiddleX - player.width / 2;
  player.y = kStartPlayerY;
}

void LoadStage1() {
  StartBoss(1);
  // The stage-1 dialogue opens with two steps before step 0.
  dialogueIndex = -2;
  playerDialogueGraph = LoadPicture("Pict/Backgraund/kaiwa_sore.png");
  dialogueBackdropGraph = LoadPicture("Pict/Backgraund/backgraund_kaiwa.png");
  LoadStagePictures(1);
}

void LoadStage2() { LoadStage(2); }

void LoadStage3() {
  LoadStage(3);
  spinAngle = 0.0;
}

void LoadStage4() { LoadStage(4); }

void LoadStage5() { LoadStage(5); }

// Only the first four magic circles are set up; the other sixteen keep
// what they hold.
void LoadStage6() {
  LoadStage(6);
  for (int i = 0; i < 4; ++i) {
    BulletRecord& circle = magicCircles[i];
    circle.kind = LoadPicture("Pict/Other/magic_circuit02_2.png");
    circle.x = circle.y = circle.vx = circle.vy = 0.0;
    circle.active = 0;
  }
}
