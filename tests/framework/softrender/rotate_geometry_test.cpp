// The rotated blit's geometry: a probe source whose pixels hold their own
// coordinates shows where every texel lands for the worked angles and
// scales; the set-up values of the box and the mapping; what draws
// nothing (a scale of 0 or not finite, values that leave the 32-bit range);
// sources taller than any fixed row table.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "blit_scene.h"
#include "softrender/pixel_formats.h"
#include "softrender/rotate_blit.h"
#include "softrender/rotate_mapping.h"

namespace blit_test {
namespace {

constexpr std::uint32_t kUntouched = 0xEEEEEEEE;
constexpr float kQuarterTurn = std::numbers::pi_v<float> / 2;

// The probe texel at (column, row): red marks it drawn, green and blue
// hold the row and column.
std::uint32_t Probe(int column, int row) { return 0x00C00000u | static_cast<std::uint32_t>(row) << 8 | column; }

class RotateGeometry : public testing::Test {
 protected:
  GuardedImage target_, source_;

  void SetUp() override {
    target_.Create(200, 120, 2, kMemImgRgb32, 0, 0);
    FillMemImgRect(target_.View(), nullptr, kUntouched);
    ResetDrawState(target_.View());
  }
  void MakeProbe(int width, int height) {
    source_.Create(width, height, 2, kMemImgRgb32, 0, 0);
    for (int row = 0; row < height; ++row)
      for (int column = 0; column < width; ++column) StoreU32(source_.Pixel(column, row), Probe(column, row));
  }
  std::uint32_t At(int x, int y) { return LoadU32(target_.Pixel(x, y)); }
  int DrawnPixels() {
    int drawn = 0;
    for (int y = 0; y < target_.View()->height; ++y)
      for (int x = 0; x < target_.View()->width; ++x) drawn += At(x, y) != kUntouched;
    return drawn;
  }
  void Draw(int x, int y, float angle, float scale, int turn = 0) {
    MemImgRotateBlit(target_.View(), source_.View(), x, y, angle, scale, 0, turn, nullptr);
  }
};

TEST_F(RotateGeometry, BoxAndMappingOfTheWorkedSource) {
  struct Case {
    float angle;
    WideBox box;
    InverseMapping mapping;  // u0, v0, steps, row steps
  };
  const Case cases[] = {
      {0.0f, {93, 45, 109, 57}, {-2 * kFixedOne, -2 * kFixedOne, kFixedOne, 0, 0, kFixedOne}},
      {kQuarterTurn, {95, 43, 107, 59}, {-2 * kFixedOne, 8 * kFixedOne, 0, -kFixedOne, kFixedOne, 0}},
  };
  for (const Case& c : cases) {
    const auto setUp = SetUpRotation(c.angle, 1.0f, 10, 6);
    ASSERT_TRUE(setUp);
    const auto corners = TurnCorners(*setUp, 100, 50);
    ASSERT_TRUE(corners);
    const WideBox box = CoveringBox(*corners);
    EXPECT_EQ(std::tie(box.left, box.top, box.right, box.bottom),
              std::tie(c.box.left, c.box.top, c.box.right, c.box.bottom));
    const DrawBox drawBox{static_cast<int>(box.left), static_cast<int>(box.top), static_cast<int>(box.right),
                          static_cast<int>(box.bottom)};
    const auto mapping = MapBox(*setUp, 100, 50, drawBox);
    ASSERT_TRUE(mapping);
    EXPECT_EQ(std::tie(mapping->u0, mapping->v0, mapping->stepU, mapping->stepV, mapping->rowU, mapping->rowV),
              std::tie(c.mapping.u0, c.mapping.v0, c.mapping.stepU, c.mapping.stepV, c.mapping.rowU,
                       c.mapping.rowV))
        << "angle " << c.angle;
  }
}

TEST_F(RotateGeometry, TexelsLandWhereTheTurnAndScaleTakeThem) {
  MakeProbe(10, 6);
  struct Case {
    const char* what;
    float angle;
    float scale;
    int turn;
    // Destination pixel of texel (column, row), and the pixels drawn.
    int (*x)(int column, int row);
    int (*y)(int column, int row);
    int drawn;
  };
  const Case cases[] = {
      {"one to one, top-left at the centre less half the size", 0.0f, 1.0f, 0, [](int c, int) { return 95 + c; },
       [](int, int r) { return 47 + r; }, 60},
      {"a quarter turn is clockwise on the screen", kQuarterTurn, 1.0f, 0, [](int, int r) { return 103 - r; },
       [](int c, int) { return 45 + c; }, 60},
      {"a negative scale turns half-way about the centre", 0.0f, -1.0f, 0, [](int c, int) { return 105 - c; },
       [](int, int r) { return 53 - r; }, 60},
      {"scale 2: each texel covers two by two", 0.0f, 2.0f, 0, [](int c, int) { return 90 + 2 * c; },
       [](int, int r) { return 44 + 2 * r; }, 240},
      // The quad drawing's own sampling puts the mirrored image one pixel
      // right of the unmirrored one.
      {"the turn flag mirrors left to right", 0.0f, 1.0f, 1, [](int c, int) { return 105 - c; },
       [](int, int r) { return 47 + r; }, 60},
  };
  for (const Case& c : cases) {
    FillMemImgRect(target_.View(), nullptr, kUntouched);
    Draw(100, 50, c.angle, c.scale, c.turn);
    EXPECT_EQ(DrawnPixels(), c.drawn) << c.what;
    for (int row = 0; row < 6; ++row)
      for (int column = 0; column < 10; ++column)
        ASSERT_EQ(At(c.x(column, row), c.y(column, row)), Probe(column, row))
            << c.what << ": texel " << column << "," << row;
  }
}

TEST_F(RotateGeometry, MirroredPathPointsAreTheCornersTruncatedTowardZero) {
  const auto setUp = SetUpRotation(0.0f, 1.0f, 10, 6);
  const QuadPoints points = *MirroredQuadPoints(*TurnCorners(*setUp, 100, 50));
  const std::int32_t expected[8] = {105, 47, 95, 47, 105, 53, 95, 53};
  EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), points.xy));
  // A 3 x 3 source scaled by 0.9 about (0, 0) has its left corners at
  // -1.35 pixels: whole pixels -1, not -2.
  const QuadPoints near = *MirroredQuadPoints(*TurnCorners(*SetUpRotation(0.0f, 0.9f, 3, 3), 0, 0));
  EXPECT_EQ(near.xy[2], -1);
  EXPECT_EQ(near.xy[3], -1);
  EXPECT_EQ(near.xy[0], 1);
}

TEST_F(RotateGeometry, DegenerateOrUnrepresentableDrawsLeaveTheTargetAlone) {
  MakeProbe(10, 6);
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
  constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
  struct Case {
    const char* what;
    int x, y;
    float angle, scale;
  };
  const Case cases[] = {
      {"scale 0", 100, 50, 0.3f, 0.0f},
      {"scale -0", 100, 50, 0.3f, -0.0f},
      {"scale not a number", 100, 50, 0.3f, kNan},
      {"infinite scale", 100, 50, 0.3f, kInfinity},
      {"angle not a number", 100, 50, kNan, 1.0f},
      {"infinite angle", 100, 50, kInfinity, 1.0f},
      {"a scale so small no step converts", 100, 50, 0.3f, 1e-30f},
      {"a scale so large no corner converts", 100, 50, 0.3f, 1e30f},
      {"centre at the top of the int range", kMax, kMax, 0.3f, 1.0f},
      {"centre at the bottom of the int range", kMin, kMin, 0.3f, 1.0f},
      {"a centre far off the draw area", 100000, -100000, 0.0f, 1.0f},
  };
  for (const Case& c : cases)
    for (int turn : {0, 1}) {
      Draw(c.x, c.y, c.angle, c.scale, turn);
      ASSERT_EQ(DrawnPixels(), 0) << c.what << ", turn " << turn;
    }
}

TEST_F(RotateGeometry, SourcesOfManyRowsAreDrawnToTheLastRow) {
  // Taller than any fixed table of rows: every row must have its entry.
  GuardedImage tall, target;
  constexpr int kRows = 5000;
  target.Create(4, kRows, 2, kMemImgRgb32, 0, 0);
  FillMemImgRect(target.View(), nullptr, kUntouched);
  ResetDrawState(target.View());
  tall.Create(2, kRows, 2, kMemImgRgb32, 0, 0);
  for (int row = 0; row < kRows; ++row)
    for (int column = 0; column < 2; ++column) StoreU32(tall.Pixel(column, row), Probe(column, row & 0xFF));
  MemImgRotateBlit(target.View(), tall.View(), 2, kRows / 2, 0.0f, 1.0f, 0, 0, nullptr);
  for (int row : {0, 4095, 4096, kRows - 1})
    EXPECT_EQ(LoadU32(target.Pixel(2, row)), Probe(1, row & 0xFF)) << "row " << row;
}

}  // namespace
}  // namespace blit_test
