// The software renderer's look-up tables: its kernels read them by position
// instead of multiplying and dividing, so their shapes and the order of
// their indices are fixed.
#pragma once

#include <cstdint>

// The difference table and the blend-image table share one block: the
// difference table starts 4 bytes after a 1,024-byte boundary so that its
// last row ends exactly where the blend-image table begins.
struct alignas(1024) BlendDiffBlock {
  std::uint8_t lead[4];
  std::int32_t diff[256][512];  // [a][255 + d] = d * a / 255, entry 511 unused
  std::uint8_t imageAlpha[256];
};
extern BlendDiffBlock g_blendDiffBlock;

// [a][b] = a * b / 255.
extern std::uint32_t BlendMulTable[256][256];
// [a][s][d] = (a * s + (63 - a) * d) / 63: mixes two 5- or 6-bit channels.
extern std::uint8_t BlendMul6Table[64][64][64];
inline constexpr auto& BlendDiffTable = g_blendDiffBlock.diff;
// Maps a blend-image byte to an alpha 0 to 255.
inline constexpr auto& BlendImageAlphaTable = g_blendDiffBlock.imageAlpha;

// Fills the difference, multiply and 6-bit mix tables. Returns 0.
int BuildBlendTables();
// Refills the blend-image table for a border parameter and range (both
// already clamped to 0 to 255).
void BuildBlendImageTable(int borderParam, int borderRange);
