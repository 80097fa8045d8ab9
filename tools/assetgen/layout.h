// The screen geometry the game draws its pictures into.
#pragma once

namespace assetgen {

constexpr int kScreenWidth = 882, kScreenHeight = 820;
constexpr int kPlayfieldLeft = 25, kPlayfieldTop = 176, kPlayfieldRight = 857, kPlayfieldBottom = 800;
constexpr int kPlayfieldWidth = kPlayfieldRight - kPlayfieldLeft;   // 832
constexpr int kPlayfieldHeight = kPlayfieldBottom - kPlayfieldTop;  // 624, the scroll step

// Sprite boxes the game's code sets: the player and each boss.
constexpr int kPlayerWidth = 38, kPlayerHeight = 49;
struct SpriteSize {
  int width, height;
};
constexpr SpriteSize kBossSizes[] = {{55, 94}, {226, 251}, {226, 251}, {58, 89}, {226, 251}, {226, 251}};

// HUD: pips stand 11 pixels apart, icons 25; the boss face sits between the
// two pip rows.
constexpr int kPipWidth = 9, kPipHeight = 24;
constexpr int kIconSize = 22;
constexpr int kFaceSize = 72;

// The explosion strip: one row of 16 cells.
constexpr int kExplosionCells = 16, kExplosionCell = 192;

}  // namespace assetgen
