// The public draws on both renderers: placement, clipping, mirroring,
// rotation, parts of graphs, circles and clears, the draws' early results,
// and the refusal of handles that are not live graphs.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "draw_fixture.h"
#include "graphics/draw_target.h"
#include "graphics/graph_record.h"
#include "graphics/graph_setup.h"
#include "graphics/render_state.h"

namespace {

using wqtest::At;

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;

// Red, green, blue and yellow quarters (top-left, top-right, bottom-left,
// bottom-right), opaque.
wqtest::PixelFunction Quarters(int width, int height) {
  return [=](int x, int y) {
    const bool right = x >= width / 2, lower = y >= height / 2;
    return 0xFF000000u | (lower ? (right ? kYellow : kBlue) : (right ? kGreen : kRed));
  };
}

struct PixelIs {
  int x, y;
  std::uint32_t colour;
};

void ExpectPixels(const std::vector<std::uint32_t>& frame, std::initializer_list<PixelIs> expects) {
  for (const PixelIs& e : expects) EXPECT_EQ(At(frame, e.x, e.y), e.colour) << e.x << ", " << e.y;
}

// Each channel within two steps.
bool Near(std::uint32_t a, std::uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8) {
    if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > 2) return false;
  }
  return true;
}

class GraphDrawTest : public wqtest::DrawTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    DrawTest::SetUp();
    StartOn(GetParam());
    quarters_ = MakeGraph(32, 16, false, Quarters(32, 16));
  }
  static bool AllBlack(const std::vector<std::uint32_t>& frame) {
    for (std::uint32_t p : frame)
      if (p != 0) return false;
    return true;
  }
  int quarters_ = -1;
};

TEST_P(GraphDrawTest, DrawGraphPlacesTheGraphAndClipsItToTheDrawArea) {
  std::vector<std::uint32_t> frame = FrameOf([&] {
    EXPECT_EQ(DrawGraph(10, 20, quarters_, 0), 0);
    EXPECT_EQ(DrawGraph(-8, 100, quarters_, 0), 0);
    ASSERT_EQ(SetDrawArea(300, 300, 310, 310), 0);
    EXPECT_EQ(DrawGraph(295, 295, quarters_, 0), 0);
    ASSERT_EQ(SetDrawArea(0, 0, wqtest::kFrameWidth, wqtest::kFrameHeight), 0);
  });
  // Placed, clipped by the screen's left edge, and clipped to the draw area.
  ExpectPixels(frame, {{10, 20, kRed},
                       {41, 20, kGreen},
                       {10, 35, kBlue},
                       {41, 35, kYellow},
                       {42, 20, 0},
                       {9, 20, 0},
                       {10, 36, 0},
                       {0, 100, kRed},
                       {8, 100, kGreen},
                       {23, 100, kGreen},
                       {24, 100, 0},
                       {300, 300, kRed},
                       {309, 302, kRed},
                       {309, 309, kBlue},
                       {299, 300, 0},
                       {310, 300, 0},
                       {300, 310, 0},
                       {300, 299, 0}});
}

TEST_P(GraphDrawTest, ReversedCornersAndTurnedDrawsMirror) {
  const std::vector<std::uint32_t> turned = FrameOf([&] { EXPECT_EQ(DrawGraphTurned(10, 20, quarters_, 0), 0); });
  const std::vector<std::uint32_t> stretched =
      FrameOf([&] { EXPECT_EQ(DrawGraphStretched(42, 20, 10, 36, quarters_, 0), 0); });
  EXPECT_EQ(turned, stretched);
  ExpectPixels(turned, {{10, 20, kGreen}, {41, 35, kBlue}});

  const std::vector<std::uint32_t> frame =
      FrameOf([&] { EXPECT_EQ(DrawGraphStretched(100, 0, 0, 50, quarters_, 0), 0); });
  ExpectPixels(frame, {{0, 0, kGreen}, {99, 0, kRed}, {0, 49, kYellow}, {99, 49, kBlue}, {100, 0, 0}, {0, 50, 0}});
}

TEST_P(GraphDrawTest, RotatedDrawsTurnClockwiseScaleAndMirror) {
  // Red above blue; red left of green for the mirrored draw.
  const int upDown = MakeGraph(20, 10, false, [](int, int y) { return y < 5 ? kRed : kBlue; });
  const int leftRight = MakeGraph(20, 10, false, [](int x, int) { return x < 10 ? kRed : kGreen; });
  const std::vector<std::uint32_t> frame = FrameOf([&] {
    EXPECT_EQ(DrawGraphRotated(200, 200, 1.0, M_PI / 2, upDown, 0, 0), 0);
    EXPECT_EQ(DrawGraphRotated(400, 200, 2.0, 0.0, upDown, 0, 0), 0);
    EXPECT_EQ(DrawGraphRotated(600, 200, 1.0, 0.0, leftRight, 0, 1), 0);
  });
  ExpectPixels(frame, {{203, 193, kRed},
                       {196, 206, kBlue},
                       {381, 191, kRed},
                       {418, 208, kBlue},
                       {378, 200, 0},
                       {421, 200, 0},
                       {595, 200, kGreen},
                       {604, 200, kRed}});

  const std::vector<std::uint32_t> whole =
      FrameOf([&] { EXPECT_EQ(DrawGraphRotated(300, 300, 1.5, 0.7, upDown, 0, 0), 0); });
  const std::vector<std::uint32_t> fromFloat =
      FrameOf([&] { EXPECT_EQ(DrawGraphRotatedF(300.0f, 300.0f, 1.5, 0.7, upDown, 0, 0), 0); });
  EXPECT_EQ(whole, fromFloat);
}

TEST_P(GraphDrawTest, FourCornerDrawTakesItsCornersClockwise) {
  const std::vector<std::uint32_t> plain = FrameOf([&] { EXPECT_EQ(DrawGraph(10, 20, quarters_, 0), 0); });
  const std::vector<std::uint32_t> quad =
      FrameOf([&] { EXPECT_EQ(DrawGraphQuadF(10, 20, 42, 20, 42, 36, 10, 36, quarters_, 0), 0); });
  // The software triangles cover exactly the graph's pixels; the device
  // places the corners without the half-pixel offset of DrawGraph, so its
  // colour edges may move by a pixel.
  if (!GetParam()) {
    EXPECT_EQ(quad, plain);
  }
  ExpectPixels(quad, {{12, 22, kRed}, {40, 22, kGreen}, {12, 34, kBlue}, {40, 34, kYellow}, {8, 20, 0}, {44, 37, 0}});
  const std::vector<std::uint32_t> mirrored =
      FrameOf([&] { EXPECT_EQ(DrawGraphQuadF(42, 20, 10, 20, 10, 36, 42, 36, quarters_, 0), 0); });
  ExpectPixels(mirrored, {{11, 21, kGreen}, {40, 34, kBlue}});
}

TEST_P(GraphDrawTest, RectDrawsShowThePartThroughANarrowedArea) {
  const int big = MakeGraph(32, 32, false, Quarters(32, 32));
  const RECT areaBefore = DrawArea;
  const std::vector<std::uint32_t> frame = FrameOf([&] {
    EXPECT_EQ(DrawGraphRect(50, 60, 8, 4, 16, 16, big, 0, 0), 0);
    EXPECT_EQ(DrawGraphRect(150, 60, 8, 4, 16, 16, big, 0, 1), 0);
    EXPECT_EQ(DrawGraphRect(250, 60, 8, 4, 16, 16, -1, 0, 1), -1);
  });
  ExpectPixels(frame, {{50, 60, kRed},
                       {57, 60, kRed},
                       {58, 60, kGreen},
                       {65, 75, kYellow},
                       {66, 60, 0},
                       {49, 60, 0},
                       {50, 76, 0},
                       {50, 59, 0},
                       {150, 60, kGreen},
                       {157, 60, kGreen},
                       {158, 60, kRed},
                       {165, 75, kBlue},
                       {149, 60, 0},
                       {166, 60, 0}});
  EXPECT_EQ(DrawArea.left, areaBefore.left);
  EXPECT_EQ(DrawArea.right, areaBefore.right);
  EXPECT_EQ(DrawArea.bottom, areaBefore.bottom);
  EXPECT_EQ(DrawAreaF[2], static_cast<float>(wqtest::kFrameWidth));
  EXPECT_EQ(DrawAreaF[3], static_cast<float>(wqtest::kFrameHeight));

  const int slotsBefore = GraphSlotEnd();
  const std::vector<std::uint32_t> stretched = FrameOf([&] {
    EXPECT_EQ(DrawGraphRectStretchedF(300, 300, 340, 340, 16, 0, 16, 16, big, 0), 0);
    EXPECT_EQ(DrawGraphRectStretchedF(400, 300, 440, 340, 16, 0, 0, 16, big, 0), 0);  // nothing to cut
  });
  EXPECT_EQ(GraphSlotEnd(), slotsBefore);  // the temporary graph is gone
  ExpectPixels(stretched, {{300, 300, kGreen}, {339, 339, kGreen}, {340, 320, 0}, {420, 320, 0}});
}

TEST_P(GraphDrawTest, CirclesDrawFilledOrOutlinedAndNegativeRadiiNothing) {
  const int white = static_cast<int>(MakeColor(255, 255, 255));
  const std::vector<std::uint32_t> frame = FrameOf([&] {
    EXPECT_EQ(DrawCircleShape(100, 100, 10, white, 1), 0);
    EXPECT_EQ(DrawCircleShape(300, 100, 10, white, 0), 0);
    EXPECT_EQ(DrawCircleShape(500, 100, -1, white, 1), 0);
  });
  ExpectPixels(frame, {{100, 100, 0xFFFFFFu},
                       {100, 90, 0xFFFFFFu},
                       {110, 100, 0xFFFFFFu},
                       {100, 89, 0},
                       {111, 100, 0},
                       {300, 100, 0},
                       {300, 90, 0xFFFFFFu},
                       {310, 100, 0xFFFFFFu},
                       {293, 93, 0xFFFFFFu}});
  for (int y = 85; y < 116; ++y)
    for (int x = 485; x < 516; ++x) EXPECT_EQ(At(frame, x, y), 0u);
}

TEST_P(GraphDrawTest, ClearsFillTheRectangleOrTheWholeTarget) {
  const int white = static_cast<int>(MakeColor(255, 255, 255));
  const std::vector<std::uint32_t> part = FrameOf([&] {
    DrawCircleShape(100, 100, 60, white, 1);
    const int rect[4] = {90, 90, 100, 95};
    EXPECT_EQ(ClearDrawTarget(rect), 0);
  });
  ExpectPixels(part, {{89, 90, 0xFFFFFFu}, {90, 90, 0}, {99, 94, 0}, {100, 94, 0xFFFFFFu}, {99, 95, 0xFFFFFFu}});
  const std::vector<std::uint32_t> whole = FrameOf([&] {
    DrawCircleShape(100, 100, 60, white, 1);
    const int negative[4] = {-1, 0, 10, 10};
    EXPECT_EQ(ClearDrawTarget(negative), 0);
  });
  EXPECT_TRUE(AllBlack(whole));
}

// Handles that are not live graphs are refused by every function that takes
// one, and nothing is drawn.
TEST_P(GraphDrawTest, EveryGraphFunctionRefusesHandlesThatAreNotLiveGraphs) {
  const int deleted = MakeGraph(8, 8, false, Quarters(8, 8));
  ASSERT_EQ(DeleteGraph(deleted), 0);
  const int slot = quarters_ & 0xFFFF;
  const struct {
    const char* what;
    int handle;
  } bad[] = {
      {"none", -1},
      {"zero", 0},
      {"deleted", deleted},
      {"stale check value", quarters_ ^ 0x10000},
      {"another kind", 0x10000000 | slot},
      {"slot past the table", kGraphHandleKind | kGraphSlotCount},
      {"negative slot bits", static_cast<int>(0x88000000u | static_cast<unsigned>(slot))},
  };
  const std::vector<std::uint32_t> frame = FrameOf([&] {
    for (const auto& b : bad) {
      SCOPED_TRACE(b.what);
      const int h = b.handle;
      int w = -7, height = -7;
      EXPECT_EQ(DrawGraph(10, 10, h, 1), -1);
      EXPECT_EQ(DrawGraphStretched(10, 10, 50, 50, h, 1), -1);
      EXPECT_EQ(DrawGraphStretchedF(10, 10, 50, 50, h, 1), -1);
      EXPECT_EQ(DrawGraphTurned(10, 10, h, 1), -1);
      EXPECT_EQ(DrawGraphRotated(100, 100, 1.0, 0.5, h, 1, 0), -1);
      EXPECT_EQ(DrawGraphRotatedF(100, 100, 1.0, 0.5, h, 1, 1), -1);
      EXPECT_EQ(DrawGraphQuadF(10, 10, 50, 10, 50, 50, 10, 50, h, 1), -1);
      EXPECT_EQ(DrawGraphRect(10, 10, 0, 0, 8, 8, h, 1, 0), -1);
      EXPECT_EQ(DrawGraphRect(10, 10, 0, 0, 8, 8, h, 1, 1), -1);
      EXPECT_EQ(DrawGraphRectStretchedF(10, 10, 50, 50, 0, 0, 8, 8, h, 1), -1);
      EXPECT_EQ(GetGraphSize(h, &w, &height), -1);
      EXPECT_EQ(w, -7);
      EXPECT_EQ(IsGraphHandleValid(h), 0);
      if (h != -1) {
        EXPECT_EQ(SetBlendGraph(h, 0, 0), -1);
      }
      EXPECT_EQ(BlendGraph, -1);
    }
  });
  EXPECT_TRUE(AllBlack(frame));
  EXPECT_EQ(IsGraphHandleValid(quarters_), 1);
}

// Arguments that leave nothing to draw draw nothing and hurt nothing.
TEST_P(GraphDrawTest, DegenerateArgumentsDrawNothing) {
  const std::vector<std::uint32_t> frame = FrameOf([&] {
    DrawGraphStretched(10, 10, 10, 50, quarters_, 0);
    DrawGraphStretched(10, 10, 50, 10, quarters_, 0);
    DrawGraphRotated(100, 100, 0.0, 0.3, quarters_, 0, 0);
    DrawGraphQuadF(10, 10, 10, 10, 10, 10, 10, 10, quarters_, 0);
    DrawGraph(-5000, 100, quarters_, 0);
    DrawGraph(100, 100000, quarters_, 0);
    DrawGraphRect(10, 10, 0, 0, -8, 8, quarters_, 0, 0);
    EXPECT_EQ(DrawGraphRectStretchedF(10, 10, 50, 50, 32, 0, 8, 8, quarters_, 0), 0);  // past the graph
  });
  EXPECT_TRUE(AllBlack(frame));
}

// Coordinates, radii and scales at the ends of their types, and floats
// that are not numbers: each call returns 0 or -1 without harm, nothing
// lands on the screen, and the next ordinary draw still draws.
TEST_P(GraphDrawTest, ExtremeNumbersDrawNothingAndHurtNothing) {
  const int white = static_cast<int>(MakeColor(255, 255, 255));
  const float nan = std::nanf(""), inf = INFINITY, huge = 3e38f;
  const int most = INT_MAX, least = INT_MIN;
  const std::vector<std::uint32_t> frame = FrameOf([&] {
    const auto harmless = [](int result) { EXPECT_TRUE(result == 0 || result == -1) << result; };
    harmless(DrawCircleShape(most, most, most, white, 1));
    harmless(DrawCircleShape(least, 100, most, white, 0));
    harmless(DrawCircleShape(-5000, 100, 4000, white, 1));  // wholly left of the screen
    harmless(DrawGraph(most, most, quarters_, 1));
    harmless(DrawGraph(least, least, quarters_, 1));
    harmless(DrawGraph(most - 10, 100, quarters_, 1));
    harmless(DrawGraphStretched(least, least, least + 1, least + 1, quarters_, 1));
    harmless(DrawGraphStretched(most - 1, 0, most, 10, quarters_, 1));
    harmless(DrawGraphStretchedF(nan, nan, nan, nan, quarters_, 1));
    harmless(DrawGraphStretchedF(-huge, 0, -huge / 2, 10, quarters_, 1));
    harmless(DrawGraphRotatedF(nan, 100, 1.0, 0.5, quarters_, 1, 0));
    harmless(DrawGraphRotatedF(-huge, -huge, 1.0, 0.5, quarters_, 1, 0));
    harmless(DrawGraphRotated(100000000, 100, 1.0, inf, quarters_, 1, 0));
    harmless(DrawGraphRotated(-100000, 100, 1e-30, 0.3, quarters_, 1, 0));
    harmless(DrawGraphRotated(-100000, -100000, 2.0, std::nan(""), quarters_, 1, 1));
    harmless(DrawGraphQuadF(nan, nan, nan, nan, nan, nan, nan, nan, quarters_, 1));
    harmless(DrawGraphQuadF(-huge, -huge, -huge / 2, -huge, -huge / 2, -huge / 2, -huge, -huge / 2, quarters_, 1));
    harmless(DrawGraphQuadF(-inf, 0, -inf, 0, -inf, 10, -inf, 10, quarters_, 1));
    harmless(DrawGraphRect(least, least, most, most, most, most, quarters_, 1, 1));
    harmless(DrawGraphRectStretchedF(nan, 0, 10, 10, 0, 0, most, most, quarters_, 1));
  });
  EXPECT_TRUE(AllBlack(frame));
  const std::vector<std::uint32_t> after = FrameOf([&] { EXPECT_EQ(DrawGraph(10, 10, quarters_, 1), 0); });
  ExpectPixels(after, {{10, 10, kRed}, {41, 25, kYellow}});
}

TEST_P(GraphDrawTest, BlendGraphMustCoverTheDrawnGraph) {
  const int small = MakeGraph(16, 16, false, Quarters(16, 16));
  const int same = MakeGraph(16, 16, false, Quarters(16, 16));
  ASSERT_EQ(SetBlendGraph(small, 300, -4), 0);
  EXPECT_EQ(BlendGraph, small);
  EXPECT_EQ(BlendBorderParam, 255u);
  EXPECT_EQ(BlendBorderRange, 0u);
  const GraphImageInfo* info = FindGraphRecord(small)->image;
  if (GetParam()) {
    EXPECT_EQ(BlendTextureSize[0], static_cast<float>(info->entries[0].textureWidth));
    EXPECT_EQ(BlendTextureSize[3], 1.0f / static_cast<float>(info->entries[0].textureHeight));
  } else {
    EXPECT_EQ(BlendMemImg, &info->image);
  }
  EXPECT_EQ(DrawGraph(0, 0, quarters_, 0), -1);  // 32 wide
  EXPECT_EQ(DrawGraphRotated(50, 50, 1.0, 0.0, quarters_, 0, 0), -1);
  EXPECT_EQ(DrawGraph(0, 0, same, 0), 0);
  ASSERT_EQ(DeleteGraph(small), 0);
  EXPECT_EQ(DrawGraph(0, 0, same, 0), -1);  // the blend graph is gone
  ASSERT_EQ(SetBlendGraph(-1, 0, 0), 0);
  EXPECT_EQ(BlendMemImg, nullptr);
  EXPECT_EQ(DrawGraph(0, 0, quarters_, 0), 0);
}

TEST_P(GraphDrawTest, GraphSizesAndScreenSizes) {
  int w = 0, h = 0;
  EXPECT_EQ(GetGraphSize(quarters_, &w, &h), 0);
  EXPECT_EQ(w, 32);
  EXPECT_EQ(h, 16);
  EXPECT_EQ(GetGraphSize(quarters_, nullptr, nullptr), 0);
  for (int screen : {-2, -4}) {
    w = h = 0;
    EXPECT_EQ(GetGraphSize(screen, &w, &h), 0);
    EXPECT_EQ(w, wqtest::kFrameWidth);
    EXPECT_EQ(h, wqtest::kFrameHeight);
  }
  EXPECT_EQ(GetGraphSize(-3, &w, &h), -1);
  EXPECT_EQ(GetGraphSize(-5, &w, &h), -1);
}

INSTANTIATE_TEST_SUITE_P(Renderers, GraphDrawTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Device" : "Software"; });

class SoftwareDrawTest : public wqtest::DrawTest {};

// The software path turns about the centre truncated toward zero.
TEST_F(SoftwareDrawTest, RotatedCentreIsTruncatedTowardZero) {
  StartOn(false);
  const int graph = MakeGraph(20, 20, false, Quarters(20, 20));
  const std::vector<std::uint32_t> truncated =
      FrameOf([&] { EXPECT_EQ(DrawGraphRotated(300, -3, 1.0, 0.3, graph, 0, 0), 0); });
  const std::vector<std::uint32_t> fromFloat =
      FrameOf([&] { EXPECT_EQ(DrawGraphRotatedF(300.9f, -3.7f, 1.0, 0.3, graph, 0, 0), 0); });
  EXPECT_EQ(truncated, fromFloat);
  EXPECT_NE(At(truncated, 300, 2), 0u);
}

// Subtractive blending on a device with and without the reverse-subtract
// operation: the emulation around the draw gives the same picture and
// leaves the render state as the caller set it.
class SubtractBlendTest : public wqtest::DrawTest {
 protected:
  void TearDown() override {
    DrawTest::TearDown();
    WqControlSetD3d9Caps(nullptr);
  }
  std::vector<std::uint32_t> SubtractFrame(bool reverseSubtract) {
    D_IDirect3D9* direct3d = Direct3DCreate9(D_D3D_SDK_VERSION);
    D_D3DCAPS9 caps{};
    direct3d->GetDeviceCaps(D_D3DADAPTER_DEFAULT, D_D3DDEVTYPE_HAL, &caps);
    direct3d->Release();
    if (!reverseSubtract) caps.PrimitiveMiscCaps &= ~D_D3DPMISCCAPS_BLENDOP;
    WqControlSetD3d9Caps(&caps);
    StartOn(true);
    const int grey = MakeGraph(64, 64, false, [](int, int) { return 0xFF808080u; });
    const int dark = MakeGraph(32, 32, false, [](int, int) { return 0xFF403020u; });
    std::vector<std::uint32_t> frame = FrameOf([&] {
      DrawGraph(100, 100, grey, 0);
      SetBlendMode(3, 255);
      SetDrawBrightness(255, 128, 255);
      EXPECT_EQ(DrawGraph(110, 110, dark, 0), 0);
      EXPECT_EQ(DrawCircleShape(140, 140, 6, static_cast<int>(MakeColor(64, 64, 64)), 1), 0);
      EXPECT_EQ(BlendMode, 3u);
      EXPECT_EQ(BlendParam, 255u);
      EXPECT_EQ(DrawBright, 0xFF80FFu);
    });
    EndLibrary();
    return frame;
  }
};

TEST_F(SubtractBlendTest, EmulatedSubtractDrawsAsTheNativeOperation) {
  const std::vector<std::uint32_t> native = SubtractFrame(true);
  const std::vector<std::uint32_t> emulated = SubtractFrame(false);
  EXPECT_TRUE(Near(At(native, 120, 120), 0x406860u)) << std::hex << At(native, 120, 120);  // 0x80 less 40, 18, 20
  for (int y = 96; y < 170; ++y) {
    for (int x = 96; x < 170; ++x) EXPECT_TRUE(Near(At(native, x, y), At(emulated, x, y))) << x << ", " << y;
  }
}

class DrawEarlyResultTest : public wqtest::DrawTest {};

TEST_F(DrawEarlyResultTest, BeforeStartUpAndWithAnEmptyArea) {
  EXPECT_EQ(DrawGraph(0, 0, -1, 0), -1);
  EXPECT_EQ(DrawGraphStretched(0, 0, 10, 10, -1, 0), -1);
  EXPECT_EQ(DrawCircleShape(10, 10, 5, 0, 1), -1);
  EXPECT_EQ(ClearDrawTarget(nullptr), 0);
  int w = 0, h = 0;
  EXPECT_EQ(GetGraphSize(-2, &w, &h), 0);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);

  StartOn(false);
  ASSERT_EQ(SetDrawArea(5, 5, 5, 100), 0);
  // The empty area answers before the handle is looked at.
  EXPECT_EQ(DrawGraph(0, 0, -1, 0), 0);
  EXPECT_EQ(DrawGraphRotated(0, 0, 1.0, 0.0, -1, 0, 0), 0);
  EXPECT_EQ(DrawCircleShape(10, 10, 5, 0, 1), 0);
}

}  // namespace
