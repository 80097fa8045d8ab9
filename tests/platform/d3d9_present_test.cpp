// Presenting: rectangles, pacing on the display clock, and the window's one
// presenter shared with GDI.
#include <gtest/gtest.h>

#include <algorithm>

#include "d3d9_test_support.h"
#include "platform/control.h"
#include "platform/windows.h"

namespace {

using wqtest::D3d9DeviceTest;

class D3d9PresentTest : public D3d9DeviceTest {
 protected:
  std::vector<std::uint32_t> Window() {
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    EXPECT_TRUE(WqControlReadWindowPixels(window_, &pixels, &width, &height));
    EXPECT_EQ(width, kWidth);
    return pixels;
  }

  void PaintHalves() {
    D_D3DRECT left{0, 0, kWidth / 2, kHeight};
    D_D3DRECT right{kWidth / 2, 0, kWidth, kHeight};
    device_->Clear(1, &left, D_D3DCLEAR_TARGET, 0xFFFF0000u, 1.0f, 0);
    device_->Clear(1, &right, D_D3DCLEAR_TARGET, 0xFF0000FFu, 1.0f, 0);
  }
};

TEST_F(D3d9PresentTest, PresentBlitsTheSourceRectangleOntoTheDestinationWithNearestSampling) {
  PaintHalves();
  ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D_D3D_OK);
  EXPECT_EQ(Window()[0], 0xFF0000u);
  EXPECT_EQ(Window()[kWidth - 1], 0x0000FFu);

  RECT source{kWidth / 2, 0, kWidth, kHeight};  // the blue half
  RECT dest{0, 0, kWidth / 4, kHeight / 2};      // into the top-left quarter only
  ASSERT_EQ(device_->Present(&source, &dest, nullptr, nullptr), D_D3D_OK);
  std::vector<std::uint32_t> pixels = Window();
  EXPECT_EQ(pixels[0], 0x0000FFu);
  EXPECT_EQ(pixels[(kHeight / 2 - 1) * kWidth + kWidth / 4 - 1], 0x0000FFu);
  EXPECT_EQ(pixels[(kHeight / 2) * kWidth], 0xFF0000u);  // kept from the last frame
  EXPECT_EQ(pixels[kWidth / 4], 0xFF0000u);

  // Copy swaps keep the back buffer: a second present shows it again.
  ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D_D3D_OK);
  EXPECT_EQ(Window()[0], 0xFF0000u);
  RECT outside{0, 0, kWidth + 1, 4};
  EXPECT_EQ(device_->Present(&outside, nullptr, nullptr, nullptr), D_D3DERR_INVALIDCALL);
}

TEST_F(D3d9PresentTest, GdiAndTheDeviceDrawIntoTheSameWindow) {
  PaintHalves();
  device_->Present(nullptr, nullptr, nullptr, nullptr);
  HDC dc = GetDC(window_);
  RECT area{4, 4, 8, 8};
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ReleaseDC(window_, dc);
  std::vector<std::uint32_t> pixels = Window();
  EXPECT_EQ(pixels[5 * kWidth + 5], 0xFFFFFFu);
  EXPECT_EQ(pixels[0], 0xFF0000u);
  EXPECT_EQ(pixels[kWidth - 1], 0x0000FFu);
  device_->Present(nullptr, nullptr, nullptr, nullptr);
  // Shown again, the window keeps the device's frame.
  ShowWindow(window_, SW_HIDE);
  ShowWindow(window_, SW_SHOW);
  EXPECT_EQ(Window()[5 * kWidth + 5], 0xFF0000u);
}

TEST_F(D3d9PresentTest, TopDownBitfieldDibsReachTheDevicesWindow) {
  device_->Present(nullptr, nullptr, nullptr, nullptr);
  struct {
    BITMAPINFOHEADER header;
    DWORD masks[3];
  } info{};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = 2;
  info.header.biHeight = -2;  // top-down
  info.header.biPlanes = 1;
  info.header.biBitCount = 16;
  info.header.biCompression = BI_BITFIELDS;
  info.masks[0] = 0xF800;
  info.masks[1] = 0x07E0;
  info.masks[2] = 0x001F;
  const WORD pixels16[4] = {0xF800, 0x07E0, 0x001F, 0xFFFF};
  HDC dc = GetDC(window_);
  ASSERT_EQ(SetDIBitsToDevice(dc, 10, 20, 2, 2, 0, 0, 0, 2, pixels16,
                              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS),
            2);
  info.header.biBitCount = 32;
  info.masks[0] = 0xFF0000;
  info.masks[1] = 0x00FF00;
  info.masks[2] = 0x0000FF;
  const DWORD pixels32[4] = {0x123456, 0x654321, 0xABCDEF, 0xFEDCBA};
  ASSERT_NE(StretchDIBits(dc, 30, 20, 4, 4, 0, 0, 2, 2, pixels32,
                          reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY),
            0);
  ReleaseDC(window_, dc);
  std::vector<std::uint32_t> window = Window();
  EXPECT_EQ(window[20 * kWidth + 10], 0xFF0000u);
  EXPECT_EQ(window[20 * kWidth + 11], 0x00FF00u);
  EXPECT_EQ(window[21 * kWidth + 10], 0x0000FFu);
  EXPECT_EQ(window[21 * kWidth + 11], 0xFFFFFFu);
  EXPECT_EQ(window[20 * kWidth + 31], 0x123456u);
  EXPECT_EQ(window[23 * kWidth + 33], 0xFEDCBAu);
  EXPECT_EQ(window[19 * kWidth + 10], 0u);  // the device's black frame around them
}

TEST_F(D3d9PresentTest, IntervalOneReturnsOnTheDisplayClocksNextTick) {
  WqControlEnableVirtualClock(true);
  D_D3DPRESENT_PARAMETERS parameters = Parameters();
  parameters.PresentationInterval = D_D3DPRESENT_INTERVAL_ONE;
  ASSERT_EQ(device_->Reset(&parameters), D_D3D_OK);
  WqControlAdvanceVirtualClock(5000);
  for (int frame = 0; frame < 3; ++frame) {
    std::uint64_t before = WqControlGetVirtualClockUs();
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D_D3D_OK);
    std::uint64_t after = WqControlGetVirtualClockUs();
    EXPECT_GT(after, before);
    EXPECT_LE(after - before, 16667u);
    // Ticks fall on whole sixtieths of a second.
    EXPECT_LT((after * 60) % 1000000, 60u) << after;
  }
  parameters.PresentationInterval = D_D3DPRESENT_INTERVAL_IMMEDIATE;
  ASSERT_EQ(device_->Reset(&parameters), D_D3D_OK);
  std::uint64_t before = WqControlGetVirtualClockUs();
  device_->Present(nullptr, nullptr, nullptr, nullptr);
  EXPECT_LT(WqControlGetVirtualClockUs() - before, 1000u);
  WqControlEnableVirtualClock(false);
}

}  // namespace

namespace {

// Whether the adapter lists the mode width x height at 32 bits.
bool ModeOffered(D_IDirect3D9* direct3d, UINT width, UINT height) {
  for (UINT i = 0; i < direct3d->GetAdapterModeCount(0, D_D3DFMT_X8R8G8B8); ++i) {
    D_D3DDISPLAYMODE mode{};
    direct3d->EnumAdapterModes(0, D_D3DFMT_X8R8G8B8, i, &mode);
    if (mode.Width == width && mode.Height == height) return true;
  }
  return false;
}

TEST_F(D3d9DeviceTest, AnExclusiveDeviceTakesTheScreenAndGivesTheDesktopBack) {
  RECT place{};
  GetWindowRect(window_, &place);
  D_D3DDISPLAYMODE desktop{};
  direct3d_->GetAdapterDisplayMode(0, &desktop);
  struct Request {
    UINT width, height;
  };
  // A mode the window system may lack (then the desktop is covered and the
  // back buffer scaled onto it), and the desktop's own mode.
  for (Request request : {Request{640, 480}, Request{desktop.Width, desktop.Height}}) {
    D_D3DPRESENT_PARAMETERS parameters = Parameters();
    parameters.Windowed = FALSE;
    parameters.BackBufferWidth = request.width;
    parameters.BackBufferHeight = request.height;
    ASSERT_EQ(device_->Reset(&parameters), D_D3D_OK);
    bool offered = ModeOffered(direct3d_, request.width, request.height);
    UINT screen_width = offered ? request.width : desktop.Width;
    UINT screen_height = offered ? request.height : desktop.Height;
    D_D3DDISPLAYMODE now{};
    direct3d_->GetAdapterDisplayMode(0, &now);
    EXPECT_EQ(now.Width, screen_width);
    EXPECT_EQ(now.Height, screen_height);
    RECT window{};
    GetWindowRect(window_, &window);
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.top, 0);
    EXPECT_EQ(static_cast<UINT>(window.right), screen_width);
    EXPECT_EQ(static_cast<UINT>(window.bottom), screen_height);

    ASSERT_EQ(device_->Clear(0, nullptr, D_D3DCLEAR_TARGET, 0xFFFF0000u, 1.0f, 0), D_D3D_OK);
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D_D3D_OK);
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(WqControlReadWindowPixels(window_, &pixels, &width, &height));
    ASSERT_EQ(static_cast<UINT>(width), screen_width);
    ASSERT_EQ(static_cast<UINT>(height), screen_height);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0xFF0000u),
              static_cast<std::ptrdiff_t>(pixels.size()))
        << request.width << " x " << request.height;
  }
  // Windowed again: the desktop mode and the window's own place return.
  D_D3DPRESENT_PARAMETERS windowed = Parameters();
  ASSERT_EQ(device_->Reset(&windowed), D_D3D_OK);
  RECT back{};
  GetWindowRect(window_, &back);
  EXPECT_EQ(back.left, place.left);
  EXPECT_EQ(back.top, place.top);
  EXPECT_EQ(back.right, place.right);
  EXPECT_EQ(back.bottom, place.bottom);
  D_D3DDISPLAYMODE now{};
  direct3d_->GetAdapterDisplayMode(0, &now);
  EXPECT_EQ(now.Width, desktop.Width);

  // So does releasing a full-screen device; one without a size is refused.
  D_D3DPRESENT_PARAMETERS full = Parameters();
  full.Windowed = FALSE;
  full.BackBufferWidth = 0;
  EXPECT_EQ(device_->Reset(&full), D_D3DERR_INVALIDCALL);
  full.BackBufferWidth = 640;
  full.BackBufferHeight = 480;
  ASSERT_EQ(device_->Reset(&full), D_D3D_OK);
  EXPECT_EQ(device_->Release(), 0u);
  device_ = nullptr;
  GetWindowRect(window_, &back);
  EXPECT_EQ(back.right - back.left, place.right - place.left);
  EXPECT_EQ(back.bottom - back.top, place.bottom - place.top);
}

}  // namespace
