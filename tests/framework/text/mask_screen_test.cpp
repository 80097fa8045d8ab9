// The mask screen, against a reference built from the same draws without
// the mask: where the mask blocks, the picture before the draw remains;
// elsewhere the draw shows. On the software screen and on the device.
#include <vector>

#include "graphics/graph_load.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics/screen_memimg.h"
#include "text/mask_screen.h"
#include "text_fixture.h"

namespace {

using wqtest::TextTest;

class MaskScreenTest : public TextTest {
 protected:
  static std::vector<std::uint32_t> Snapshot() {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 300; ++x) pixels.push_back(ScreenPixel(x, y));
    return pixels;
  }
  // Stripes, so that what the mask keeps is not one colour.
  static void PaintBackground() {
    MEMIMG* screen = GetScreenMemImg();
    for (int y = 0; y < 100; y += 2) {
      const RECT row{0, y, 300, y + 1};
      FillMemImgRect(screen, &row, 0x00336699);
    }
  }
  static void DrawScene() {
    DrawTextFormat(4, 10, MakeColor(255, 255, 255), "MASK マスク 0123");
    SetBlendMode(1, 160);
    DrawTextFormat(30, 50, MakeColor(255, 0, 0), "■■■■■■■■■■");
    SetBlendMode(0, 0);
  }
};

TEST_F(MaskScreenTest, MaskedDrawsKeepTheBlockedPixels) {
  Start(0);
  EXPECT_EQ(EnableMaskScreen(1), -1);  // no mask buffer yet
  ClearDrawTarget(nullptr);
  PaintBackground();
  const std::vector<std::uint32_t> before = Snapshot();
  DrawScene();
  const std::vector<std::uint32_t> drawn = Snapshot();

  ASSERT_EQ(CreateMaskScreen(1), 0);
  int pitch = 0;
  std::uint8_t* mask = GetMaskBuffer(&pitch);
  ASSERT_NE(mask, nullptr);
  EXPECT_EQ(pitch, 884);  // the screen width rounded up to 4
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 300; ++x) mask[y * pitch + x] = ((x / 3 + y / 5) % 2) ? 0xFF : 0;
  for (int reverse = 0; reverse < 2; ++reverse) {
    SetMaskReverseEffect(reverse);
    ASSERT_EQ(EnableMaskScreen(1), 0);
    EXPECT_EQ(MaskScreenEffective, 1);
    ClearDrawTarget(nullptr);
    PaintBackground();
    DrawScene();
    const std::vector<std::uint32_t> masked = Snapshot();
    EnableMaskScreen(0);
    EXPECT_EQ(MaskScreenEffective, 0);
    int kept = 0, shown = 0;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 300; ++x) {
        const std::size_t i = static_cast<std::size_t>(y) * 300 + x;
        const bool blocked = (mask[y * pitch + x] == 0) != (reverse == 1);
        ASSERT_EQ(masked[i], blocked ? before[i] : drawn[i]) << x << "," << y << " reverse " << reverse;
        kept += blocked && before[i] != drawn[i] ? 1 : 0;
        shown += !blocked && before[i] != drawn[i] ? 1 : 0;
      }
    EXPECT_GT(kept, 100);
    EXPECT_GT(shown, 100);
  }
  EXPECT_EQ(GetMaskDrawNesting(), 0);
}

// Every kind of bracketed draw (graphs plain, stretched, rotated, quads,
// circles, text in a blend mode) through the mask on either renderer,
// compared with the presented frames of the same draws unmasked. The mask
// holds 0, 1, 0x80 and 0xFF: only 0 counts as zero. Clearing the target
// is not masked.
class MaskOnBothRenderers : public TextTest, public ::testing::WithParamInterface<int> {
 protected:
  static constexpr int kWidth = 320, kHeight = 160;

  std::vector<std::uint32_t> Frame() {
    EXPECT_EQ(PresentScreen(), 0);
    int width = 0, height = 0;
    const std::vector<std::uint32_t> window = ReadWindow(&width, &height);
    std::vector<std::uint32_t> frame;
    for (int y = 0; y < kHeight; ++y)
      frame.insert(frame.end(), window.begin() + y * width, window.begin() + y * width + kWidth);
    return frame;
  }
  static int MakeGraph(int width, int height, std::uint32_t (*pixel)(int x, int y)) {
    BaseImage image{};
    EXPECT_EQ(CreateXrgbBaseImage(width, height, &image), 0);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const std::uint32_t p = pixel(x, y);
        SetBaseImagePixel(&image, x, y, p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF, 255);
      }
    const int graph = CreateGraphFromGraphImage(&image, nullptr, 0, 0, 0);
    ReleaseBaseImage(&image);
    EXPECT_GE(graph, 0);
    return graph;
  }
  void MakeGraphs() {
    stripes_ = MakeGraph(64, 32, [](int x, int y) { return (x / 4 + y / 2) % 2 ? 0x336699u : 0x996633u; });
    sprite_ = MakeGraph(40, 24, [](int x, int y) { return x < 4 || y < 4 ? 0xF0F0F0u : 0x20C040u + x * 3u; });
  }
  void PaintBackground() {
    SetScreenBackgroundColor(0x101820);
    ASSERT_EQ(ClearDrawTarget(nullptr), 0);
    for (int y = 0; y < kHeight; y += 32)
      for (int x = 0; x < kWidth; x += 64) ASSERT_EQ(DrawGraph(x, y, stripes_, 0), 0);
  }
  void DrawScene() {
    EXPECT_EQ(DrawGraph(10, 10, sprite_, 0), 0);
    EXPECT_EQ(DrawGraphStretched(150, 100, 60, 140, sprite_, 0), 0);
    EXPECT_EQ(DrawGraphRotated(230, 40, 1.5, 0.6, sprite_, 0, 0), 0);
    EXPECT_EQ(DrawGraphQuadF(170, 90, 300, 100, 290, 150, 180, 140, sprite_, 0), 0);
    EXPECT_EQ(DrawCircleShape(60, 110, 30, static_cast<int>(MakeColor(255, 200, 0)), 1), 0);
    SetBlendMode(1, 160);
    EXPECT_EQ(DrawTextFormat(8, 60, MakeColor(255, 64, 64), "MASK マスク ■■■"), 0);
    SetBlendMode(0, 0);
  }
  static std::uint8_t MaskByte(int x, int y) {
    static constexpr std::uint8_t kBytes[4] = {0, 1, 0x80, 0xFF};
    return kBytes[(x / 3 + y / 5) % 4];
  }

  int stripes_ = -1, sprite_ = -1;
};

TEST_P(MaskOnBothRenderers, BracketedDrawsKeepTheBlockedPixels) {
  Start(GetParam());
  MakeGraphs();
  PaintBackground();
  const std::vector<std::uint32_t> before = Frame();
  PaintBackground();
  DrawScene();
  const std::vector<std::uint32_t> drawn = Frame();

  ASSERT_EQ(CreateMaskScreen(1), 0);
  int pitch = 0;
  std::uint8_t* mask = GetMaskBuffer(&pitch);
  ASSERT_NE(mask, nullptr);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) mask[y * pitch + x] = MaskByte(x, y);
  for (int reverse = 0; reverse < 2; ++reverse) {
    SetMaskReverseEffect(reverse);
    PaintBackground();
    ASSERT_EQ(EnableMaskScreen(1), 0);
    DrawScene();
    EnableMaskScreen(0);
    const std::vector<std::uint32_t> masked = Frame();
    int kept = 0, shown = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const std::size_t i = static_cast<std::size_t>(y) * kWidth + x;
        const bool blocked = (MaskByte(x, y) == 0) != (reverse == 1);
        ASSERT_EQ(masked[i], blocked ? before[i] : drawn[i]) << x << "," << y << " reverse " << reverse;
        kept += blocked && before[i] != drawn[i] ? 1 : 0;
        shown += !blocked && before[i] != drawn[i] ? 1 : 0;
      }
    EXPECT_GT(kept, 500);
    EXPECT_GT(shown, 500);
  }
  EXPECT_EQ(GetMaskDrawNesting(), 0);

  // A clear goes to the whole target, mask or not.
  ASSERT_EQ(EnableMaskScreen(1), 0);
  SetScreenBackgroundColor(0x402010);
  ASSERT_EQ(ClearDrawTarget(nullptr), 0);
  EnableMaskScreen(0);
  for (std::uint32_t pixel : Frame()) ASSERT_EQ(pixel, 0x402010u);
}

INSTANTIATE_TEST_SUITE_P(Renderers, MaskOnBothRenderers, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param ? std::string("Device") : std::string("SoftwareScreen");
                         });

TEST_F(MaskScreenTest, OnlyTheOutermostPairActs) {
  Start(0);
  ASSERT_EQ(CreateMaskScreen(1), 0);
  ASSERT_EQ(EnableMaskScreen(1), 0);  // every mask byte 0: everything blocked
  ClearDrawTarget(nullptr);
  const RECT outer{0, 0, 100, 40}, inner{0, 0, 50, 20};
  BeginMaskDraw(outer);
  BeginMaskDraw(inner);
  EXPECT_EQ(GetMaskDrawNesting(), 2);
  FillMemImgRect(GetScreenMemImg(), &outer, 0x00FFFFFF);
  EndMaskDraw(inner);  // inner: nothing restored yet
  EXPECT_EQ(ScreenPixel(10, 10), 0xFFFFFFu);
  EndMaskDraw(outer);  // outermost: the saved picture comes back
  EXPECT_EQ(GetMaskDrawNesting(), 0);
  EXPECT_EQ(ScreenPixel(10, 10), 0u);
  EXPECT_EQ(ScreenPixel(99, 39), 0u);
}

TEST_F(MaskScreenTest, MaskHandlesAndTheScreenGoAtShutdown) {
  Start(0);
  EXPECT_EQ(DeleteMask(0x28000000 | 5), -1);  // a free slot
  EXPECT_EQ(DeleteMask(-1), -1);
  EXPECT_EQ(DeleteAllMasks(), 0);
  ASSERT_EQ(CreateMaskScreen(1), 0);
  ASSERT_EQ(EnableMaskScreen(1), 0);
  EXPECT_EQ(IsMaskScreenEnabled(), 1);
  ASSERT_EQ(ReleaseMaskScreen(), 0);
  EXPECT_EQ(MaskScreenEffective, 0);
  EXPECT_EQ(GetMaskBuffer(nullptr), nullptr);
  // On the device the mask textures are made and released with it.
  EndLibrary();
  Start(1);
  ASSERT_EQ(CreateMaskScreen(1), 0);
  ASSERT_EQ(EnableMaskScreen(1), 0);
  EXPECT_EQ(DrawTextFormat(0, 0, MakeColor(255, 255, 255), "masked"), 0);
  EXPECT_EQ(PresentScreen(), 0);
}

}  // namespace
