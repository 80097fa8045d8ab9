// Device contexts: stock selections, SelectObject and deletion rules, device
// capabilities, and window DCs drawing through the window surface.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gdi32/window_surface.h"
#include "user32/desktop_mode.h"
#include "platform/windows.h"

namespace {

TEST(GdiDeviceContextTest, AFreshMemoryDcHoldsAStockFontAndBitmap) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  HFONT font = CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0,
                           NONANTIALIASED_QUALITY, FIXED_PITCH, "ＭＳ ゴシック");
  ASSERT_NE(font, nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, -4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
  ASSERT_NE(section, nullptr);

  const HGDIOBJ stock_font = SelectObject(dc, font);
  const HGDIOBJ stock_bitmap = SelectObject(dc, section);
  EXPECT_EQ(stock_font, GetStockObject(SYSTEM_FONT));
  ASSERT_NE(stock_bitmap, nullptr);
  BITMAP described{};
  ASSERT_EQ(GetObjectA(stock_bitmap, sizeof(described), &described), static_cast<int>(sizeof(BITMAP)));
  EXPECT_EQ(described.bmWidth, 1);
  EXPECT_EQ(described.bmHeight, 1);
  EXPECT_EQ(described.bmBitsPixel, 1);

  // Selecting again returns what the previous call put in.
  EXPECT_EQ(SelectObject(dc, stock_font), font);
  EXPECT_EQ(SelectObject(dc, stock_bitmap), section);
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_TRUE(DeleteObject(section));
  EXPECT_TRUE(DeleteDC(dc));
}

TEST(GdiDeviceContextTest, SelectedObjectsCannotBeDeletedAndBitmapsLiveInOneDc) {
  HDC first = CreateCompatibleDC(nullptr);
  HDC second = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(first, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(section, nullptr);

  const HGDIOBJ stock_bitmap = SelectObject(first, section);
  EXPECT_EQ(SelectObject(second, section), nullptr);
  EXPECT_FALSE(DeleteObject(section));
  static_cast<BYTE*>(bits)[0] = 1;  // still valid while selected

  SelectObject(first, stock_bitmap);
  EXPECT_NE(SelectObject(second, section), nullptr);
  EXPECT_TRUE(DeleteDC(second));
  EXPECT_TRUE(DeleteObject(section));
  EXPECT_FALSE(DeleteObject(section));
  EXPECT_TRUE(DeleteDC(first));
  EXPECT_FALSE(DeleteDC(first));
}

TEST(GdiDeviceContextTest, StockObjectsAreSharedAndSurviveDeletion) {
  for (int index : {WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, SYSTEM_FONT, DEFAULT_GUI_FONT, ANSI_FIXED_FONT}) {
    const HGDIOBJ object = GetStockObject(index);
    ASSERT_NE(object, nullptr) << index;
    EXPECT_EQ(GetStockObject(index), object);
    EXPECT_TRUE(DeleteObject(object));
    EXPECT_EQ(GetStockObject(index), object);
  }
  EXPECT_EQ(GetStockObject(-1), nullptr);
  EXPECT_EQ(GetStockObject(99), nullptr);

  LOGFONTA system{};
  ASSERT_EQ(GetObjectA(GetStockObject(SYSTEM_FONT), sizeof(system), &system), static_cast<int>(sizeof(LOGFONTA)));
  EXPECT_EQ(system.lfWeight, FW_BOLD);
}

TEST(GdiDeviceContextTest, DeviceCapsReportTheDesktopMode) {
  HDC dc = CreateCompatibleDC(nullptr);
  const wqplat::DesktopMode mode = wqplat::GetDesktopMode();
  struct Cap {
    int index;
    int expected;
  };
  for (const Cap& cap : {Cap{HORZRES, mode.width}, Cap{VERTRES, mode.height}, Cap{BITSPIXEL, mode.bits_per_pixel},
                         Cap{PLANES, 1}, Cap{LOGPIXELSY, 96}, Cap{VREFRESH, mode.refresh_rate}}) {
    EXPECT_EQ(GetDeviceCaps(dc, cap.index), cap.expected) << cap.index;
  }
  EXPECT_EQ(GetDeviceCaps(nullptr, HORZRES), 0);
  DeleteDC(dc);

  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, VERTRES), mode.height);
  EXPECT_FALSE(DeleteDC(screen));
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST(GdiDeviceContextTest, FontGetObjectReturnsTheRequestWithTheFaceCutAtACharacter) {
  // 16 double-byte characters: 32 bytes, one more than the field holds.
  const char* long_face = "あいうえおかきくけこさしすせそた";
  HFONT font = CreateFontA(-20, 0, 0, 0, 700, 1, 0, 0, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY,
                           VARIABLE_PITCH, long_face);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(GetObjectA(font, 0, nullptr), static_cast<int>(sizeof(LOGFONTA)));
  LOGFONTA logfont{};
  ASSERT_EQ(GetObjectA(font, sizeof(logfont), &logfont), static_cast<int>(sizeof(LOGFONTA)));
  EXPECT_EQ(logfont.lfHeight, -20);
  EXPECT_EQ(logfont.lfWeight, 700);
  EXPECT_EQ(logfont.lfItalic, 1);
  EXPECT_EQ(logfont.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(std::string(logfont.lfFaceName), std::string(long_face, 30));
  EXPECT_EQ(GetObjectA(font, sizeof(logfont) - 1, &logfont), 0);
  DeleteObject(font);
}

TEST(GdiDeviceContextTest, TheModuleExportsItsFunctionsToLoadLibrary) {
  HMODULE gdi32 = LoadLibraryA("GDI32.DLL");
  ASSERT_NE(gdi32, nullptr);
  EXPECT_EQ(GetProcAddress(gdi32, "GetGlyphOutlineA"), reinterpret_cast<FARPROC>(&GetGlyphOutlineA));
  EXPECT_EQ(GetProcAddress(gdi32, "StretchDIBits"), reinterpret_cast<FARPROC>(&StretchDIBits));
  EXPECT_EQ(GetProcAddress(gdi32, "TextOutA"), nullptr);
  FreeLibrary(gdi32);
}

// A window surface standing in for the window module: one window of a fixed
// client size whose pixels the test reads back.
constexpr int kClientWidth = 8;
constexpr int kClientHeight = 6;

class FakeWindowSurface : public wqplat::WindowSurface {
 public:
  bool GetClientSize(HWND window, int* width, int* height) override {
    if (window != Window()) return false;
    *width = kClientWidth;
    *height = kClientHeight;
    return true;
  }

  void BlitBgra32(HWND window, int x, int y, int width, int height, const std::uint32_t* pixels,
                  int stride_pixels) override {
    ASSERT_EQ(window, Window());
    ASSERT_TRUE(x >= 0 && y >= 0 && x + width <= kClientWidth && y + height <= kClientHeight);
    for (int row = 0; row < height; ++row) {
      for (int column = 0; column < width; ++column) {
        client[(y + row) * kClientWidth + x + column] = pixels[row * stride_pixels + column] & 0xFFFFFF;
      }
    }
    ++blits;
  }

  static HWND Window() { return reinterpret_cast<HWND>(0x1234); }

  std::vector<std::uint32_t> client = std::vector<std::uint32_t>(kClientWidth * kClientHeight, 0);
  int blits = 0;
};

class GdiWindowDcTest : public ::testing::Test {
 protected:
  void SetUp() override { wqplat::SetWindowSurface(&surface_); }
  void TearDown() override { wqplat::SetWindowSurface(nullptr); }

  FakeWindowSurface surface_;
};

TEST_F(GdiWindowDcTest, WindowDcsExistOnlyForKnownWindowsAndGoBackThroughReleaseDc) {
  EXPECT_EQ(GetDC(reinterpret_cast<HWND>(0x999)), nullptr);
  HDC dc = GetDC(FakeWindowSurface::Window());
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_EQ(ReleaseDC(reinterpret_cast<HWND>(0x999), dc), 0);
  EXPECT_EQ(ReleaseDC(FakeWindowSurface::Window(), dc), 1);
  EXPECT_EQ(ReleaseDC(FakeWindowSurface::Window(), dc), 0);
}

TEST_F(GdiWindowDcTest, FillRectPaintsTheClippedRectangleInOneBlit) {
  HDC dc = GetDC(FakeWindowSurface::Window());
  const RECT rect{6, -2, 20, 2};
  EXPECT_EQ(FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))), 1);
  EXPECT_EQ(surface_.blits, 1);
  for (int y = 0; y < kClientHeight; ++y) {
    for (int x = 0; x < kClientWidth; ++x) {
      const bool inside = x >= 6 && y < 2;
      EXPECT_EQ(surface_.client[y * kClientWidth + x], inside ? 0xFFFFFFu : 0u) << x << "," << y;
    }
  }
  EXPECT_EQ(FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))), 1);
  EXPECT_EQ(surface_.blits, 1);
  const RECT outside{20, 20, 30, 30};
  EXPECT_EQ(FillRect(dc, &outside, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 1);
  EXPECT_EQ(surface_.blits, 1);
  EXPECT_EQ(FillRect(dc, &rect, nullptr), 0);
  ReleaseDC(FakeWindowSurface::Window(), dc);
}

TEST_F(GdiWindowDcTest, StretchDIBitsDoublesAPictureByNearestNeighbour) {
  // A 4 x 3 top-down 32-bit picture with bit-field masks, as the software
  // screen presenter describes its screen.
  struct {
    BITMAPINFOHEADER header;
    DWORD masks[3];
  } info{{sizeof(BITMAPINFOHEADER), 4, -3, 1, 32, BI_BITFIELDS, 0, 0, 0, 0, 0},
         {0xFF0000, 0x00FF00, 0x0000FF}};
  std::vector<std::uint32_t> picture(12);
  for (int i = 0; i < 12; ++i) picture[i] = 0x010101u * (i + 1);

  HDC dc = GetDC(FakeWindowSurface::Window());
  EXPECT_EQ(StretchDIBits(dc, 0, 0, 8, 6, 0, 0, 4, 3, picture.data(),
                          reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY),
            3);
  for (int y = 0; y < kClientHeight; ++y) {
    for (int x = 0; x < kClientWidth; ++x) {
      EXPECT_EQ(surface_.client[y * kClientWidth + x], picture[(y / 2) * 4 + x / 2]) << x << "," << y;
    }
  }
  // The same picture 1:1 lands unscaled at an offset, clipped by the client.
  EXPECT_EQ(SetDIBitsToDevice(dc, 5, 4, 4, 3, 0, 0, 0, 3, picture.data(),
                              reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS),
            3);
  EXPECT_EQ(surface_.client[4 * kClientWidth + 5], picture[0]);
  EXPECT_EQ(surface_.client[5 * kClientWidth + 7], picture[4 + 2]);
  ReleaseDC(FakeWindowSurface::Window(), dc);

  wqplat::SetWindowSurface(nullptr);
  EXPECT_EQ(GetDC(FakeWindowSurface::Window()), nullptr);
}

}  // namespace
