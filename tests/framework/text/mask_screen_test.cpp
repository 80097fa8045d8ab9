// The mask screen on the software screen, against a reference built from
// the same draw without the mask: where the mask blocks, the picture
// before the draw remains; elsewhere the draw shows.
#include <vector>

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
