// The software blend tables against their formulas, their layout in memory,
// and the blend-image table's threshold shapes.
#include "image/blend_tables.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(BlendTablesTest, EveryEntryMatchesItsFormula) {
  ASSERT_EQ(BuildBlendTables(), 0);
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b)
      ASSERT_EQ(BlendMulTable[a][b], static_cast<std::uint32_t>(a * b / 255)) << a << "," << b;
    for (int d = -255; d <= 255; ++d) {
      // Truncation toward zero: negative differences round up.
      const int expected = d >= 0 ? d * a / 255 : -((-d) * a / 255);
      ASSERT_EQ(BlendDiffTable[a][255 + d], expected) << a << "," << d;
    }
  }
  for (int a = 0; a < 64; ++a)
    for (int s = 0; s < 64; ++s)
      for (int d = 0; d < 64; ++d) ASSERT_EQ(BlendMul6Table[a][s][d], (a * s + (63 - a) * d) / 63);
}

TEST(BlendTablesTest, WorkedValues) {
  BuildBlendTables();
  EXPECT_EQ(BlendMulTable[255][77], 77u);
  EXPECT_EQ(BlendMulTable[200][0], 0u);
  EXPECT_EQ(BlendMulTable[128][255], 128u);
  EXPECT_EQ(BlendDiffTable[255][0], -255);
  EXPECT_EQ(BlendDiffTable[255][255], 0);
  EXPECT_EQ(BlendDiffTable[255][510], 255);
  EXPECT_EQ(BlendDiffTable[128][0], -128);
  EXPECT_EQ(BlendMul6Table[0][40][17], 17);
  EXPECT_EQ(BlendMul6Table[63][40][17], 40);
  EXPECT_EQ(BlendMul6Table[32][63][0], 32);
}

TEST(BlendTablesTest, DiffTableEndsWhereTheImageTableBegins) {
  const auto diff = reinterpret_cast<std::uintptr_t>(&BlendDiffTable[0][0]);
  EXPECT_EQ(diff % 1024, 4u);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(&BlendDiffTable[255][512]),
            reinterpret_cast<std::uintptr_t>(&BlendImageAlphaTable[0]));
  EXPECT_EQ(sizeof(BlendMulTable), 262144u);
  EXPECT_EQ(sizeof(BlendDiffTable), 524288u);
  EXPECT_EQ(sizeof(BlendMul6Table), 262144u);
  EXPECT_EQ(sizeof(BlendImageAlphaTable), 256u);
}

TEST(BlendTablesTest, ImageTableThresholds) {
  struct {
    int param, range;
    int entry0, entry128, entry254, entry255;
  } cases[] = {
      {0, 0, 255, 255, 255, 255}, {0, 200, 255, 255, 255, 255},  // p = 0: everything passes
      {255, 0, 0, 0, 0, 1},       {255, 255, 0, 0, 0, 1},       {128, 255, 0, 128, 254, 255},  // entry i = i
      {128, 0, 0, 128, 255, 255},  // a hard step: base 256 - 65,792 x 128 / 256 = -32,640
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "param " << c.param << " range " << c.range);
    BuildBlendImageTable(c.param, c.range);
    EXPECT_EQ(BlendImageAlphaTable[0], c.entry0);
    EXPECT_EQ(BlendImageAlphaTable[128], c.entry128);
    EXPECT_EQ(BlendImageAlphaTable[254], c.entry254);
    EXPECT_EQ(BlendImageAlphaTable[255], c.entry255);
    // The formula for every entry.
    const int n = c.range + 1;
    const int base = 256 - (65536 / n + 256) * c.param / 256;
    for (int i = 0; i < 256; ++i) {
      int expected = i * 256 / n + base;
      expected = expected < 0 ? 0 : expected > 255 ? 255 : expected;
      ASSERT_EQ(BlendImageAlphaTable[i], expected) << i;
    }
  }
}

}  // namespace
