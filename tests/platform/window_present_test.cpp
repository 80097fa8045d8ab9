#include <gtest/gtest.h>

#include <algorithm>

#include "platform/control.h"
#include "platform/windows.h"
#include "window_test_support.h"

namespace {

class WindowPresentTest : public testing::Test {
 protected:
  void SetUp() override {
    window_ = window_class_.Create(WS_POPUP, 0, 64, 48);
    ShowWindow(window_, SW_SHOW);
    wqtest::DispatchQueued();
  }

  std::vector<std::uint32_t> Pixels(int* width, int* height) {
    std::vector<std::uint32_t> pixels;
    EXPECT_TRUE(WqControlReadWindowPixels(window_, &pixels, width, height));
    return pixels;
  }

  wqtest::RecordingWindowClass window_class_;
  HWND window_ = nullptr;
};

TEST_F(WindowPresentTest, AWindowStartsBlackAndShowsWhatGdiDrawsIntoIt) {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels = Pixels(&width, &height);
  ASSERT_EQ(width, 64);
  ASSERT_EQ(height, 48);
  EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return p == 0; }));

  HDC dc = GetDC(window_);
  ASSERT_NE(dc, nullptr);
  RECT area{8, 4, 24, 12};
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ReleaseDC(window_, dc);

  pixels = Pixels(&width, &height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bool inside = x >= 8 && x < 24 && y >= 4 && y < 12;
      ASSERT_EQ(pixels[y * width + x], inside ? 0xFFFFFFu : 0u) << x << "," << y;
    }
  }
}

TEST_F(WindowPresentTest, ResizingKeepsThePixelsAndBlackensTheNewArea) {
  HDC dc = GetDC(window_);
  RECT all{0, 0, 64, 48};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ReleaseDC(window_, dc);
  SetWindowPos(window_, nullptr, 0, 0, 80, 40, SWP_NOMOVE | SWP_NOZORDER);
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels = Pixels(&width, &height);
  ASSERT_EQ(width, 80);
  ASSERT_EQ(height, 40);
  EXPECT_EQ(pixels[0], 0xFFFFFFu);
  EXPECT_EQ(pixels[39 * 80 + 63], 0xFFFFFFu);
  EXPECT_EQ(pixels[39 * 80 + 64], 0u);
}

TEST(WindowDisplayTest, TheDisplayModesAndChangesToThem) {
  DEVMODEA current{};
  current.dmSize = sizeof current;
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current));
  EXPECT_EQ(current.dmSize, sizeof current);
  EXPECT_EQ(current.dmBitsPerPel, 32u);  // a 24-bit-deep display stores 32-bit pixels
  EXPECT_EQ(static_cast<int>(current.dmPelsWidth), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GT(current.dmDisplayFrequency, 0u);

  bool listed = false;
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  for (DWORD index = 0; EnumDisplaySettingsA(nullptr, index, &mode); ++index) {
    listed = listed || (mode.dmPelsWidth == current.dmPelsWidth &&
                        mode.dmPelsHeight == current.dmPelsHeight &&
                        mode.dmBitsPerPel == current.dmBitsPerPel);
  }
  EXPECT_TRUE(listed);

  EXPECT_EQ(ChangeDisplaySettingsA(&current, CDS_TEST), DISP_CHANGE_SUCCESSFUL);
  DEVMODEA odd = current;
  odd.dmPelsWidth = 123;
  EXPECT_EQ(ChangeDisplaySettingsA(&odd, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_FALSE(EnumDisplaySettingsA("\\\\.\\DISPLAY2", 0, &mode));
}

}  // namespace
