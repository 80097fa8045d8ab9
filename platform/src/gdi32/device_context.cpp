#include "gdi32/device_context.h"

#include "gdi32/stock_objects.h"
#include "gdi32/window_surface.h"
#include "platform/gdi32.h"
#include "user32/desktop_mode.h"

namespace wqplat {
namespace {

void SelectDefaults(DeviceContext& dc) {
  const HGDIOBJ font = GetStockObject(SYSTEM_FONT);
  const HGDIOBJ brush = GetStockObject(WHITE_BRUSH);
  std::lock_guard lock(GdiStateMutex());
  SwapSelection(dc.font, LookupGdiObjectAs<FontObject>(font), font);
  SwapSelection(dc.brush, LookupGdiObjectAs<BrushObject>(brush), brush);
  if (dc.kind == DeviceContext::Kind::kMemory) {
    const HGDIOBJ bitmap = StockBitmapHandle();
    SwapSelection(dc.bitmap, LookupGdiObjectAs<BitmapObject>(bitmap), bitmap);
  }
}

HDC RegisterDeviceContext(std::shared_ptr<DeviceContext> dc) {
  SelectDefaults(*dc);
  return static_cast<HDC>(RegisterGdiObject(std::move(dc)));
}

// Drops a DC's selections and its handle.
BOOL DestroyDeviceContext(HDC handle, DeviceContext& dc) {
  std::lock_guard lock(GdiStateMutex());
  if (!UnregisterGdiObject(handle)) return FALSE;
  SwapSelection(dc.font, std::shared_ptr<FontObject>(), nullptr);
  SwapSelection(dc.bitmap, std::shared_ptr<BitmapObject>(), nullptr);
  SwapSelection(dc.brush, std::shared_ptr<BrushObject>(), nullptr);
  return TRUE;
}

}  // namespace

std::shared_ptr<DeviceContext> LookupDeviceContext(HDC dc) { return LookupGdiObjectAs<DeviceContext>(dc); }

std::shared_ptr<FontObject> SelectedFont(HDC handle) {
  std::shared_ptr<DeviceContext> dc = LookupDeviceContext(handle);
  if (!dc) return nullptr;
  std::lock_guard lock(GdiStateMutex());
  return dc->font.object;
}

}  // namespace wqplat

using wqplat::DeviceContext;

HDC CreateCompatibleDC(HDC dc) {
  if (dc && !wqplat::LookupDeviceContext(dc)) return nullptr;
  return wqplat::RegisterDeviceContext(std::make_shared<DeviceContext>(DeviceContext::Kind::kMemory));
}

BOOL DeleteDC(HDC handle) {
  std::shared_ptr<DeviceContext> dc = wqplat::LookupDeviceContext(handle);
  // Window DCs go back through ReleaseDC.
  if (!dc || dc->kind != DeviceContext::Kind::kMemory) return FALSE;
  return wqplat::DestroyDeviceContext(handle, *dc);
}

HDC GetDC(HWND window) {
  if (!window) {
    return wqplat::RegisterDeviceContext(std::make_shared<DeviceContext>(DeviceContext::Kind::kScreen));
  }
  wqplat::WindowSurface* surface = wqplat::GetWindowSurface();
  int width = 0;
  int height = 0;
  if (!surface || !surface->GetClientSize(window, &width, &height)) return nullptr;
  return wqplat::RegisterDeviceContext(std::make_shared<DeviceContext>(DeviceContext::Kind::kWindow, window));
}

int ReleaseDC(HWND window, HDC handle) {
  std::shared_ptr<DeviceContext> dc = wqplat::LookupDeviceContext(handle);
  if (!dc || dc->kind == DeviceContext::Kind::kMemory || dc->window != window) return 0;
  return wqplat::DestroyDeviceContext(handle, *dc);
}

int GetDeviceCaps(HDC handle, int index) {
  if (!wqplat::LookupDeviceContext(handle)) return 0;
  const wqplat::DesktopMode mode = wqplat::GetDesktopMode();
  switch (index) {
    case HORZRES: return mode.width;
    case VERTRES: return mode.height;
    case BITSPIXEL: return mode.bits_per_pixel;
    case PLANES: return 1;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case VREFRESH: return mode.refresh_rate;
    default: return 0;
  }
}
