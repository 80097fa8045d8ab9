#include <gtest/gtest.h>

#include "core/window/window_sizing.h"

namespace {

struct SizingCase {
  const char* name;
  int edge;
  RECT dragged;  // client area plus a frame of 10 x 40
  RECT expected;
  double scale;
};

constexpr int kFrameWidth = 10;
constexpr int kFrameHeight = 40;

TEST(WindowSizingTest, KeepsTheScreenAspectRatio) {
  const SizingCase cases[] = {
      {"right edge drives the width", WMSZ_RIGHT, {0, 0, 960 + kFrameWidth, 100}, {0, 0, 970, 720 + kFrameHeight}, 1.5},
      {"bottom edge drives the height", WMSZ_BOTTOM, {0, 0, 50, 240 + kFrameHeight}, {0, 0, 320 + kFrameWidth, 280}, 0.5},
      {"corner: the width grew further", WMSZ_BOTTOMRIGHT, {0, 0, 1280 + kFrameWidth, 500 + kFrameHeight},
       {0, 0, 1290, 960 + kFrameHeight}, 2.0},
      {"corner: the height grew further", WMSZ_TOPLEFT, {0, 0, 700 + kFrameWidth, 720 + kFrameHeight},
       {0, 0, 960 + kFrameWidth, 760}, 1.5},
      {"clamped to the desktop", WMSZ_RIGHT, {0, 0, 3000, 100}, {0, 0, 1920, 1432 + kFrameHeight}, 2.984375},
  };
  for (const SizingCase& c : cases) {
    AspectSizing sizing{c.dragged, c.edge, kFrameWidth, kFrameHeight, 640, 480, 1920, 1080 + 400};
    const double scale = ApplyAspectSizing(&sizing);
    EXPECT_EQ(sizing.dragged.right, c.expected.right) << c.name;
    EXPECT_EQ(sizing.dragged.bottom, c.expected.bottom) << c.name;
    EXPECT_DOUBLE_EQ(scale, c.scale) << c.name;
  }
}

TEST(WindowSizingTest, HeightNeverExceedsTheDesktop) {
  AspectSizing sizing{{0, 0, 1910 + kFrameWidth, 100}, WMSZ_RIGHT, kFrameWidth, kFrameHeight, 640, 480, 1920, 1080};
  ApplyAspectSizing(&sizing);
  EXPECT_EQ(sizing.dragged.bottom, 1080);
}

}  // namespace
