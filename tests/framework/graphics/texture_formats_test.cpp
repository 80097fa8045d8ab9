// Texture formats of graphs and the cut of an image side into texture
// pieces, on a device of 2,048 texels with the game's 882-wide screen.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/graphics_state.h"
#include "graphics/screen_mode.h"
#include "graphics/texture_formats.h"

namespace {

std::vector<int> Pieces(int size, int oneTexture = 0) {
  const int count = ComputeTexturePieceSize(size, nullptr, oneTexture);
  std::vector<int> sizes(count, -1);
  EXPECT_EQ(ComputeTexturePieceSize(size, sizes.data(), oneTexture), count) << size;
  return sizes;
}

TEST(TexturePieces, SidesAreCutIntoPowerOfTwoPieces) {
  Graphics().maxTextureSize = 2048;
  Screen().width = 882;
  struct Case {
    int size;
    std::vector<int> pieces;
  };
  const std::vector<Case> cases = {
      {1, {8}},
      {5, {8}},
      {8, {8}},
      {9, {16}},
      {300, {512}},
      {882, {512, 256, 128}},
      {1000, {1024}},
      {1200, {1024, 128, 32, 16}},
      {3000, {2048, 1024}},
      {4100, {2048, 2048, 8}},
  };
  for (const Case& c : cases) EXPECT_EQ(Pieces(c.size), c.pieces) << c.size;
  // Asked for one texture, a side wider than the screen still gets one.
  EXPECT_EQ(Pieces(1200, 1), std::vector<int>{2048});
}

TEST(TexturePieces, PiecesNeverExceedTheDeviceAndCoverTheSide) {
  Graphics().maxTextureSize = 256;
  Screen().width = 640;
  for (int size : {200, 256, 257, 700, 1000, 5000}) {
    int covered = 0;
    for (int piece : Pieces(size)) {
      EXPECT_LE(piece, 256) << size;
      EXPECT_EQ(piece & (piece - 1), 0) << size;
      covered += piece;
    }
    EXPECT_GE(covered, size);
  }
  // At the device maximum a piece is not widened; below it, it is.
  EXPECT_EQ(Pieces(700), (std::vector<int>{256, 256, 128, 64}));
  EXPECT_EQ(Pieces(486), (std::vector<int>{256, 256}));
}

TEST(TextureFormats, DescriptorsAndClassification) {
  EXPECT_EQ(GetTextureFormatDesc(14), nullptr);
  EXPECT_EQ(GetTextureFormatDesc(-1), nullptr);
  const ColorFormat* alpha16 = GetTextureFormatDesc(2);
  ASSERT_NE(alpha16, nullptr);
  EXPECT_EQ(alpha16->bits, 16);
  EXPECT_EQ(alpha16->alphaMask, 0xF000u);
  EXPECT_EQ(GetTextureFormatDesc(4)->alphaMask, 0x8000u);
  EXPECT_EQ(GetTextureFormatDesc(8)->compressedKind, 3u);
  EXPECT_EQ(GetTextureFormatDesc(6)->bits, 4);

  struct Case {
    int formatIndex;  // the layout classified
    int alphaTest;
    int drawable;
    int expected;
  };
  const std::vector<Case> cases = {
      {0, 0, 0, 0},  {1, 0, 0, 1},  {2, 0, 0, 2},   {3, 0, 0, 3},   {0, 1, 0, 4},   {1, 1, 0, 5},
      {3, 1, 0, 3},  {6, 0, 0, 6},  {10, 0, 0, 10}, {0, 0, 1, 11},  {1, 0, 1, 12},  {1, 1, 1, 13},
      {3, 0, 1, 13},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ClassifyColorFormat(GetTextureFormatDesc(c.formatIndex), c.alphaTest, c.drawable), c.expected)
        << c.formatIndex << " " << c.alphaTest << " " << c.drawable;
}

}  // namespace
