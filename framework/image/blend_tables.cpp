// Builds the software renderer's look-up tables.
#include "image/blend_tables.h"

#include <algorithm>

BlendDiffBlock g_blendDiffBlock;
std::uint32_t BlendMulTable[256][256];
std::uint8_t BlendMul6Table[64][64][64];

int BuildBlendTables() {
  for (int a = 0; a < 256; ++a)
    for (int k = 0; k <= 510; ++k) BlendDiffTable[a][k] = (k - 255) * a / 255;
  for (int a = 0; a < 256; ++a)
    for (int b = 0; b < 256; ++b) BlendMulTable[a][b] = static_cast<std::uint32_t>(a * b / 255);
  for (int a = 0; a < 64; ++a)
    for (int s = 0; s < 64; ++s)
      for (int d = 0; d < 64; ++d) BlendMul6Table[a][s][d] = static_cast<std::uint8_t>((a * s + (63 - a) * d) / 63);
  return 0;
}

void BuildBlendImageTable(int borderParam, int borderRange) {
  const int count = borderRange + 1;
  const int step = 65536 / count;
  const int base = 256 - (step + 256) * borderParam / 256;
  for (int i = 0; i < 256; ++i)
    BlendImageAlphaTable[i] = static_cast<std::uint8_t>(std::clamp(i * 256 / count + base, 0, 255));
}
