// Showing the finished frame: the device presents its back buffer, or the
// software screen is copied to the window through GDI after the vertical
// blank. A present that finds the device lost leaves the rebuild to the
// next frame and the program goes on.
#include "graphics/present_screen.h"

#include "WqLib.h"
#include "core/window/menu_toolbar.h"
#include "core/window/window_system_state.h"
#include "graphics/device_rebuild.h"
#include "graphics/device_state_cache.h"
#include "graphics/draw_target.h"
#include "graphics/graphics_start.h"
#include "graphics/render_state.h"
#include "graphics/screen_memimg.h"
#include "graphics/screen_mode.h"
#include "graphics/vertex_batch.h"
#include "graphics/vertical_blank.h"

namespace {

// A present that came back sooner than this did not wait for the blank.
constexpr std::int64_t kPresentWaitedUs = 500;

RECT g_presentSourceRect;

struct PresentGeometry {
  RECT source;
  int destWidth;
  int destHeight;
  int destTop;  // below the tool bar
};

PresentGeometry ComputeGeometry() {
  const ScreenSettings& screen = Screen();
  PresentGeometry geometry{};
  geometry.source = RECT{0, 0, screen.width, screen.height};
  const bool emulating = Emulating320x240() && screen.width == 640 && screen.height == 480;
  if (emulating) geometry.source = RECT{0, 0, 320, 240};
  geometry.destWidth = screen.width;
  geometry.destHeight = screen.height;
  const WindowSystemState& state = WindowSystem();
  if (state.windowMode) {
    if (emulating) {
      geometry.destWidth = 640;
      geometry.destHeight = 480;
    } else {
      geometry.destWidth = static_cast<int>(screen.width * state.windowScaleX);
      geometry.destHeight = static_cast<int>(screen.height * state.windowScaleY);
    }
    const int toolBar = GetToolBarHeight();
    if (toolBar > 0) {
      geometry.destTop = toolBar;
      geometry.destHeight = (state.clientRect.bottom - state.clientRect.top) - toolBar;
    }
  }
  return geometry;
}

// Maps a window rectangle (screen coordinates) into the source rectangle.
RECT MapWindowRect(const RECT& windowRect, const RECT& source) {
  const ScreenSettings& screen = Screen();
  const int sourceWidth = source.right - source.left;
  const int sourceHeight = source.bottom - source.top;
  return RECT{windowRect.left * sourceWidth / screen.width + source.left,
              windowRect.top * sourceHeight / screen.height + source.top,
              windowRect.right * sourceWidth / screen.width + source.left,
              windowRect.bottom * sourceHeight / screen.height + source.top};
}

int PresentDevice(const RECT* windowRect, const PresentGeometry& geometry) {
  GraphicsState& g = Graphics();
  FlushVertexBatch();
  EndDeviceScene();
  if (IsLayeredWindowMode()) {
    PresentThroughLayeredWindow();
    return 0;
  }
  if (g.subBackBuffer && FAILED(g.device->StretchRect(g.subBackBuffer, nullptr, g.backBuffer, nullptr, D_D3DTEXF_NONE)))
    return -1;
  if (g.swapChain == nullptr) return 0;
  const std::int64_t start = GetTimeUs(0);
  HRESULT result;
  const WindowSystemState& state = WindowSystem();
  if (g.exclusiveFullScreen) {
    result = g.swapChain->Present(nullptr, nullptr, GetMainWindow(), nullptr, 0);
  } else if (!state.windowMode) {
    const RECT dest{0, 0, 640, 480};
    result = g.swapChain->Present(&geometry.source, &dest, nullptr, nullptr, 0);
  } else if (windowRect) {
    const RECT source = MapWindowRect(*windowRect, geometry.source);
    result = g.swapChain->Present(&source, windowRect, nullptr, nullptr, 0);
  } else {
    g_presentSourceRect = geometry.source;
    const RECT dest{0, geometry.destTop, geometry.destWidth, geometry.destTop + geometry.destHeight};
    result = g.swapChain->Present(&geometry.source, &dest, nullptr, nullptr, 0);
  }
  if (result == D_D3DERR_DEVICELOST) {
    g.deviceLost = 1;
    return 0;
  }
  if (FAILED(result)) return -1;
  if (IsRunWhileInactive() && IsVSyncWaitOn() && GetTimeUs(0) - start < kPresentWaitedUs) WaitVerticalBlank();
  return 0;
}

int PresentSoftware(const PresentGeometry& geometry) {
  MEMIMG* screen = GetScreenMemImg();
  if (screen == nullptr) return 0;
  if (IsLayeredWindowMode()) {
    PresentThroughLayeredWindow();
    return 0;
  }
  if (IsVSyncWaitOn()) WaitVerticalBlank();
  const ColorFormat* format = screen->data->colorFormat;
  struct {
    BITMAPINFOHEADER header;
    DWORD masks[3];
  } info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  // The rows of the screen image are padded to 16 bytes; a DIB's rows to 4.
  // Describing the padded width keeps every row in its place.
  info.header.biWidth = screen->data->pitch / format->bytesPerPixel;
  info.header.biHeight = -screen->height;
  info.header.biPlanes = 1;
  info.header.biBitCount = format->bits;
  info.header.biCompression = BI_BITFIELDS;
  info.masks[0] = format->redMask;
  info.masks[1] = format->greenMask;
  info.masks[2] = format->blueMask;
  const auto* bitmapInfo = reinterpret_cast<const BITMAPINFO*>(&info);
  HWND window = GetMainWindow();
  HDC dc = GetDC(window);
  const RECT& source = geometry.source;
  const int sourceWidth = source.right - source.left;
  const int sourceHeight = source.bottom - source.top;
  if (geometry.destWidth == screen->width && geometry.destHeight == screen->height && geometry.destTop == 0 &&
      sourceWidth == screen->width)
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(screen->width), static_cast<DWORD>(screen->height), 0, 0, 0,
                      static_cast<UINT>(screen->height), screen->pixels, bitmapInfo, DIB_RGB_COLORS);
  else
    StretchDIBits(dc, 0, geometry.destTop, geometry.destWidth, geometry.destHeight, source.left, source.top,
                  sourceWidth, sourceHeight, screen->pixels, bitmapInfo, DIB_RGB_COLORS, SRCCOPY);
  ReleaseDC(window, dc);
  g_presentSourceRect = source;
  return 0;
}

}  // namespace

void BeginDeviceScene() {
  GraphicsState& g = Graphics();
  if (g.direct3d == nullptr || g.device == nullptr) return;
  if (!g.inScene) g.device->BeginScene();
  g.inScene = 1;
}

void EndDeviceScene() {
  GraphicsState& g = Graphics();
  if (g.direct3d == nullptr || g.device == nullptr) return;
  if (g.inScene) g.device->EndScene();
  g.inScene = 0;
}

int FlipScreenCore(const RECT* windowRect) {
  const WindowSystemState& state = WindowSystem();
  if (!Graphics().started || state.ending || GetMainWindow() == nullptr) return -1;
  if (Graphics().deviceLost) RebuildGraphicsKeepMode();
  DrawScreenLogOverlay();
  const PresentGeometry geometry = ComputeGeometry();
  if (windowRect) {
    const RECT mapped = MapWindowRect(*windowRect, geometry.source);
    if (mapped.left >= mapped.right || mapped.top >= mapped.bottom) return -1;
  }
  if (HardwareRendererInUse()) return PresentDevice(windowRect, geometry);
  return PresentSoftware(geometry);
}

int PresentScreen() {
  if (GetQuitFlag()) return -1;
  return FlipScreenCore(nullptr);
}

int FlipScreenNow() {
  if (HardwareRendererInUse() && !WindowSystem().windowMode) {
    FlushVertexBatch();
    EndDeviceScene();
  }
  return FlipScreenCore(nullptr);
}

void FrontScreenFlipTimerProc(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  if (GetDrawTarget() != kFrontScreen) return;
  if (HardwareRendererInUse() && !WindowSystem().windowMode) {
    FlushVertexBatch();
    EndDeviceScene();
  }
  FlipScreenCore(nullptr);
  SetTimer(window, kFrontScreenTimerId, kFrontScreenTimerMs, FrontScreenFlipTimerProc);
}

int PresentActivatedDevice() {
  GraphicsState& g = Graphics();
  if (!g.started || !g.device) return 0;
  FlushVertexBatch();
  EndDeviceScene();
  return FAILED(g.device->Present(nullptr, nullptr, nullptr, nullptr)) ? -1 : 0;
}

const RECT& GetPresentSourceRect() { return g_presentSourceRect; }

int SetZBufferEnable(int flag) {
  if (!Device()) return -1;
  return SetDeviceZEnable(flag);
}
