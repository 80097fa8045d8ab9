// UpdateLayeredWindow: a DIB section's picture becomes the whole window of a
// layered window. Colour-keyed pixels and alpha 0 are holes in the
// window's shape; partial alpha shows as the premultiplied colour (over
// black); the window moves and takes the picture's size.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/control.h"
#include "platform/windows.h"
#include "user32/window_presenter.h"
#include "window_test_support.h"

namespace {

class LayeredWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    window_ = window_class_.Create(WS_POPUP, WS_EX_LAYERED, 8, 4);
    ShowWindow(window_, SW_SHOW);
    wqtest::DispatchQueued();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 8;
    info.bmiHeader.biHeight = -4;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    ASSERT_NE(bitmap_, nullptr);
    dc_ = CreateCompatibleDC(nullptr);
    previous_ = SelectObject(dc_, bitmap_);
  }
  void TearDown() override {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
    DestroyWindow(window_);
  }
  std::vector<std::uint32_t> Pixels() {
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    EXPECT_TRUE(WqControlReadWindowPixels(window_, &pixels, &width, &height));
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 4);
    return pixels;
  }
  bool Shaped() { return wqplat::FindWindowPresenter(window_)->shape_applied(); }

  wqtest::RecordingWindowClass window_class_;
  HWND window_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

TEST_F(LayeredWindowTest, ColourKeyedPictureMovesTheWindowAndCutsItsHoles) {
  for (int i = 0; i < 32; ++i) bits_[i] = i % 3 == 0 ? 0x00102030u : 0x00A0B0C0u + i;
  POINT position{40, 30};
  SIZE size{8, 4};
  POINT origin{0, 0};
  ASSERT_TRUE(UpdateLayeredWindow(window_, nullptr, &position, &size, dc_, &origin, 0x302010, nullptr,
                                  ULW_COLORKEY));
  const std::vector<std::uint32_t> pixels = Pixels();
  for (int i = 0; i < 32; ++i) EXPECT_EQ(pixels[i], bits_[i] & 0xFFFFFFu) << i;
  RECT rect{};
  GetWindowRect(window_, &rect);
  EXPECT_EQ(rect.left, 40);
  EXPECT_EQ(rect.top, 30);
  // Xvfb has the shape extension: the holes are cut.
  EXPECT_TRUE(Shaped());
}

TEST_F(LayeredWindowTest, PerPixelAlphaShowsThePremultipliedColours) {
  const std::uint32_t picture[4] = {0x00000000u, 0xFF204060u, 0x80102030u, 0x01010101u};
  for (int i = 0; i < 32; ++i) bits_[i] = picture[i % 4];
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(UpdateLayeredWindow(window_, nullptr, nullptr, nullptr, dc_, nullptr, 0, &blend, ULW_ALPHA));
  const std::vector<std::uint32_t> pixels = Pixels();
  for (int i = 0; i < 32; ++i) EXPECT_EQ(pixels[i], picture[i % 4] & 0xFFFFFFu) << i;
  EXPECT_TRUE(Shaped());
  // A constant alpha scales every colour as well.
  blend.SourceConstantAlpha = 128;
  ASSERT_TRUE(UpdateLayeredWindow(window_, nullptr, nullptr, nullptr, dc_, nullptr, 0, &blend, ULW_ALPHA));
  EXPECT_EQ(Pixels()[1], 0x10203000u >> 8);
}

TEST_F(LayeredWindowTest, RefusesWhatItCannotShow) {
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  HWND plain = window_class_.Create(WS_POPUP, 0, 8, 4);
  EXPECT_FALSE(UpdateLayeredWindow(plain, nullptr, nullptr, nullptr, dc_, nullptr, 0, &blend, ULW_ALPHA));
  DestroyWindow(plain);
  EXPECT_FALSE(UpdateLayeredWindow(nullptr, nullptr, nullptr, nullptr, dc_, nullptr, 0, &blend, ULW_ALPHA));
  POINT outside{4, 0};  // the picture would read past the bitmap's right edge
  EXPECT_FALSE(UpdateLayeredWindow(window_, nullptr, nullptr, nullptr, dc_, &outside, 0, &blend, ULW_ALPHA));
  HDC empty = CreateCompatibleDC(nullptr);  // holds the 1 x 1 monochrome bitmap
  EXPECT_FALSE(UpdateLayeredWindow(window_, nullptr, nullptr, nullptr, empty, nullptr, 0, &blend, ULW_ALPHA));
  DeleteDC(empty);
  EXPECT_TRUE(UpdateLayeredWindow(window_, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &blend, ULW_ALPHA));
}

}  // namespace
