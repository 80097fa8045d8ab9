// The file names are the game's own, spelling included ("Backgraund",
// "sideflame", "sutokku"); stage 3's dialogue pictures are "tra", its face
// "tera".
#include "asset_catalogue.h"

#include <initializer_list>
#include <string_view>

#include "pictures.h"
#include "sounds.h"

namespace assetgen {
namespace {

// A path from its pieces.
std::u8string Join(std::initializer_list<std::u8string_view> pieces) {
  std::u8string path;
  for (std::u8string_view piece : pieces) path.append(piece);
  return path;
}

std::function<Bytes()> Sprite(std::function<Canvas()> make) {
  return [make] { return EncodePng(make(), true); };
}

std::function<Bytes()> Opaque(std::function<Canvas()> make) {
  return [make] { return EncodePng(make(), false); };
}

// Each stage's names: the boss picture, the HUD face, and the stem of its
// dialogue and stage-clear pictures.
struct StageNames {
  const char8_t* boss;
  const char8_t* face;
  const char8_t* stem;
};

constexpr StageNames kStages[] = {
    {u8"すいせい4", u8"meru", u8"meru"}, {u8"きんせい", u8"wenu", u8"wenu"}, {u8"ちきゅう", u8"tera", u8"tra"},
    {u8"かせい", u8"maru", u8"maru"},    {u8"もくせい", u8"yupi", u8"yupi"}, {u8"どせい", u8"sato", u8"sato"},
};

constexpr DialogueTurn kTurns[] = {DialogueTurn::BossSpeaks, DialogueTurn::PlayerSpeaks, DialogueTurn::BossAfter,
                                   DialogueTurn::PlayerAfter};

void AddPictures(std::vector<AssetFile>& files) {
  files.push_back({u8"Pict/Backgraund/title.png", Opaque(MakeTitle)});
  files.push_back({u8"Pict/Backgraund/sideflame.png", Sprite(MakeSideFrame)});
  files.push_back({u8"Pict/Backgraund/backgraund_new.png", Opaque(MakeStarfield)});
  files.push_back({u8"Pict/Backgraund/backgraund_kaiwa.png", Opaque(MakeDialogueBackdrop)});
  files.push_back({u8"Pict/Backgraund/kaiwa_sore.png", Opaque(MakePlayerDialogue)});
  files.push_back({u8"Pict/Backgraund/gameover3.png", Opaque(MakeGameOver)});
  files.push_back({u8"Pict/Backgraund/staff.png", Opaque(MakeStaffBackground)});
  files.push_back({u8"Pict/Backgraund/end.png", Opaque(MakeEndPicture)});
  files.push_back({u8"Pict/Effect/white.png", Opaque(MakeWhiteFlash)});
  files.push_back({u8"Pict/Effect/explosion1_1a.png", Sprite(MakeExplosionStrip)});
  files.push_back({u8"Pict/Chara/それいゆ.png", Sprite(MakePlayerSprite)});
  files.push_back({u8"Pict/Other/や.png", Sprite(MakeCursor)});
  files.push_back({u8"Pict/Other/HP.png", Sprite([] { return MakePip(Rgb(120, 255, 140)); })});
  files.push_back({u8"Pict/Other/eneHP.png", Sprite([] { return MakePip(Rgb(255, 70, 110)); })});
  files.push_back({u8"Pict/Other/sutokku2.png", Sprite(MakeStockIcon)});
  files.push_back({u8"Pict/Other/bomb.png", Sprite(MakeBombIcon)});
  files.push_back({u8"Pict/Other/magic_circuit02_2.png", Sprite(MakeMagicCircle)});
  files.push_back({u8"Pict/Bullet/tama01.png", Sprite(MakeShot)});
  files.push_back({u8"Pict/Bullet/弾00.png", Sprite([] { return MakeBullet(BulletShape::Small); })});
  files.push_back({u8"Pict/Bullet/弾00_1.png", Sprite([] { return MakeBullet(BulletShape::Large); })});
  files.push_back({u8"Pict/Bullet/弾00_2.png", Sprite([] { return MakeBullet(BulletShape::Round); })});
  files.push_back({u8"Pict/Bullet/弾04.png", Sprite([] { return MakeBullet(BulletShape::Long); })});
  files.push_back({u8"Pict/Bullet/弾02_0.png", Sprite([] { return MakeBullet(BulletShape::Needle); })});
  files.push_back({u8"Pict/Bullet/star_blue.png", Sprite([] { return MakeStar(Rgb(80, 150, 255)); })});
  files.push_back({u8"Pict/Bullet/star_orange.png", Sprite([] { return MakeStar(Rgb(255, 150, 40)); })});
  files.push_back({u8"Pict/Bullet/star_green.png", Sprite([] { return MakeStar(Rgb(80, 230, 100)); })});
  for (int stage = 0; stage < 6; ++stage) {
    const StageNames& names = kStages[stage];
    const CharacterId boss = kBosses[stage];
    files.push_back({Join({u8"Pict/Chara/", names.boss, u8".png"}), Sprite([boss] { return MakeBossSprite(boss); })});
    files.push_back({Join({u8"Pict/Other/", names.face, u8".png"}), Sprite([boss] { return MakeFace(boss); })});
    for (int turn = 0; turn < 4; ++turn) {
      const DialogueTurn which = kTurns[turn];
      const char8_t letter[] = {static_cast<char8_t>(u8'a' + turn), 0};
      files.push_back({Join({u8"Pict/Backgraund/kaiwa_", names.stem, u8"_", letter, u8".png"}),
                       Opaque([boss, which] { return MakeDialoguePicture(boss, which); })});
    }
    files.push_back({Join({u8"Pict/Backgraund/clear_", names.stem, u8".png"}), Opaque([boss] { return MakeClearPicture(boss); })});
  }
}

void AddSounds(std::vector<AssetFile>& files) {
  for (AssetFile& file : SoundFiles()) files.push_back(std::move(file));
}

}  // namespace

std::vector<AssetFile> AssetCatalogue() {
  std::vector<AssetFile> files;
  AddSounds(files);  // first: the long pieces take the most time
  AddPictures(files);
  return files;
}

}  // namespace assetgen
