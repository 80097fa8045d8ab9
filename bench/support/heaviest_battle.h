// Stage 1's heaviest battle frame as game state: every enemy pool full
// (2,000 bullets each), both shot pools full, the two magic circles of the
// last stock, every explosion alive, full HP bars and bombs, the boss firing
// its ring into the full pool D. The benchmark puts it back before each
// timed frame, so that every frame is this one; it also lists the pictures
// the frame shows, for a peer that composites them itself.
#pragma once

#include <cstddef>
#include <vector>

namespace wqbench {

// Fills the game's globals; touches no library state (the pictures' handles
// are the loaders' business), so a process without the library can list
// the frame's sprites too.
void SetUpHeaviestBattle();

// A copy of every global a battle frame reads or writes.
class SavedBattle {
 public:
  SavedBattle();
  void Restore() const;

 private:
  std::vector<unsigned char> bytes_;
};

// The frame split the way the benchmark measures it, in the battle scene's
// order within each half: everything but drawing, and the drawing alone
// (the score line's clock tick goes with it).
void RunBattleLogic();
void DrawBattle();

// The pictures the frame shows, as files of the game's data.
enum class Picture {
  kBackground,
  kPlayer,
  kBoss,
  kSideFrame,
  kBossFace,
  kPlayerPip,
  kBossPip,
  kBomb,
  kShot,
  kSmallBullet,
  kLargeBullet,
  kRoundBullet,
  kMagicCircle,
  kExplosionStrip,
  kCount
};
const char* PictureFile(Picture picture);
inline constexpr int kExplosionCell = 192;

// One picture drawn: with scale 1 and angle 0 its top-left corner at
// (x, y), else turned and scaled about its centre at (x, y). `cell` picks
// a 192-pixel cell of the explosion strip.
struct Sprite {
  Picture picture;
  int cell;
  int x, y;
  double scale, angle;
  bool centred;
};
// The frame's sprites in drawing order, where the game's drawing puts them
// for the state SetUpHeaviestBattle leaves; text is not among them.
std::vector<Sprite> HeaviestBattleSprites();

}  // namespace wqbench
