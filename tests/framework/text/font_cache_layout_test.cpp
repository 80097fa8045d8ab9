// The cell size from a font's metrics and the cache layouts built on it.
#include <gtest/gtest.h>

#include "text/font_cache_layout.h"

namespace {

struct CellCase {
  int maxCharWidth, height, edge;
  int cellWidth, cellHeight;
};

TEST(FontCacheLayout, CellSizeFromMetrics) {
  const CellCase cases[] = {
      {16, 16, 0, 24, 16},  // 18 rounded up to 24
      {8, 16, 0, 16, 16},   // 10 -> 16
      {8, 17, 0, 18, 18},   // odd height made even; the wider height wins
      {16, 16, 1, 24, 18},  // the edge adds 2 to each
      {16, 16, 2, 24, 20},
      {30, 40, 0, 40, 40},  // 32 is below the height 40
      {0, 0, 0, 8, 0},
  };
  for (const CellCase& c : cases) {
    const FontCellSize size = ComputeFontCellSize(c.maxCharWidth, c.height, c.edge);
    EXPECT_EQ(size.cellWidth, c.cellWidth) << c.maxCharWidth << "x" << c.height << " edge " << c.edge;
    EXPECT_EQ(size.cellHeight, c.cellHeight) << c.maxCharWidth << "x" << c.height << " edge " << c.edge;
  }
}

struct LayoutCase {
  int cellWidth, requested;
  int width, height, cells, perColumn;
};

TEST(FontCacheLayout, TextureCacheGrowsUntilTenCellsFit) {
  const LayoutCase cases[] = {
      {24, 0, 512, 512, 441, 21},
      {8, 0, 512, 512, 2024, 64},       // 4,096 cells capped at 2,024
      {256, 0, 1024, 1024, 16, 4},      // 4 -> the width doubles (8) -> the height (16)
      {200, 0, 1024, 512, 10, 2},       // 1024 x 512 holds 5 x 2 and stops there
      {512, 0, 2048, 2048, 16, 4},      // 1 -> 2 -> 4 -> 8 -> 16
      {24, 100, 512, 512, 441, 21},     // 24 x 11 = 264, rounded up to 512
      {24, 9, 128, 128, 25, 5},         // 24 x 4 = 96, rounded up to 128
      {16384, 0, 8192, 8192, 0, 0},     // no texture holds the cell
  };
  for (const LayoutCase& c : cases) {
    const FontCacheLayout layout = ComputeTextureCacheLayout(c.cellWidth, c.requested);
    SCOPED_TRACE(testing::Message() << "cell " << c.cellWidth << " requested " << c.requested);
    EXPECT_EQ(layout.cellCount, c.cells);
    if (c.cells == 0) continue;
    EXPECT_EQ(layout.cacheWidth, c.width);
    EXPECT_EQ(layout.cacheHeight, c.height);
    EXPECT_EQ(layout.cellsPerColumn, c.perColumn);
  }
}

TEST(FontCacheLayout, MemoryCacheIsOneColumn) {
  const LayoutCase cases[] = {
      {24, 0, 24, 568 * 24, 568, 568},     // 327,680 / 576
      {200, 0, 200, 20 * 200, 20, 20},     // at least 20 cells
      {8, 0, 8, 2024 * 8, 2024, 2024},     // 5,120 capped
      {24, 30, 24, 30 * 24, 30, 30},
  };
  for (const LayoutCase& c : cases) {
    const FontCacheLayout layout = ComputeMemoryCacheLayout(c.cellWidth, c.requested);
    EXPECT_EQ(layout.cacheWidth, c.width);
    EXPECT_EQ(layout.cacheHeight, c.height);
    EXPECT_EQ(layout.cellCount, c.cells);
    EXPECT_EQ(layout.cellsPerColumn, c.perColumn);
  }
  EXPECT_EQ(MemoryCachePitch(24, 1), 3);
  EXPECT_EQ(MemoryCachePitch(18, 1), 3);
  EXPECT_EQ(MemoryCachePitch(24, 8), 24);
}

}  // namespace
