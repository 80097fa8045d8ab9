#include "gdi32/device_drawing.h"

#include <algorithm>
#include <vector>

#include "gdi32/device_context.h"
#include "gdi32/window_surface.h"

namespace wqplat {
namespace {

class BitmapTarget : public SpanTarget {
 public:
  explicit BitmapTarget(const BitmapObject& bitmap) : bitmap_(bitmap) {}

  void WriteSpan(int x, int y, const std::uint32_t* pixels, int count) override {
    EncodeDibRow(bitmap_.layout(), bitmap_.Row(y), x, count, pixels);
  }

 private:
  const BitmapObject& bitmap_;
};

// Collects the clipped block, then hands it to the window surface at once.
class WindowTarget : public SpanTarget {
 public:
  explicit WindowTarget(const RECT& block)
      : block_(block),
        width_(block.right - block.left),
        pixels_(static_cast<size_t>(width_) * (block.bottom - block.top), 0) {}

  void WriteSpan(int x, int y, const std::uint32_t* pixels, int count) override {
    std::copy_n(pixels, count,
                pixels_.begin() + static_cast<ptrdiff_t>(y - block_.top) * width_ + (x - block_.left));
  }

  void Present(WindowSurface& surface, HWND window) const {
    surface.BlitBgra32(window, block_.left, block_.top, width_, block_.bottom - block_.top,
                       pixels_.data(), width_);
  }

 private:
  RECT block_;
  int width_;
  std::vector<std::uint32_t> pixels_;
};

RECT Intersect(const RECT& area, int width, int height) {
  return RECT{std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0),
              std::min<LONG>(area.right, width), std::min<LONG>(area.bottom, height)};
}

bool IsEmpty(const RECT& rect) { return rect.left >= rect.right || rect.top >= rect.bottom; }

}  // namespace

bool PaintOnDevice(HDC handle, const RECT& area, const SpanPainter& paint) {
  std::shared_ptr<DeviceContext> dc = LookupDeviceContext(handle);
  if (!dc) return false;
  if (dc->kind == DeviceContext::Kind::kMemory) {
    std::shared_ptr<BitmapObject> bitmap;
    {
      std::lock_guard lock(GdiStateMutex());
      bitmap = dc->bitmap.object;
    }
    if (!bitmap || !CanEncodeDibRows(bitmap->layout())) return false;
    const RECT clipped = Intersect(area, bitmap->layout().width, bitmap->layout().height);
    if (IsEmpty(clipped)) return true;
    BitmapTarget target(*bitmap);
    paint(target, clipped);
    return true;
  }
  WindowSurface* surface = GetWindowSurface();
  int width = 0;
  int height = 0;
  if (dc->kind != DeviceContext::Kind::kWindow || !surface ||
      !surface->GetClientSize(dc->window, &width, &height)) {
    return false;
  }
  const RECT clipped = Intersect(area, width, height);
  if (IsEmpty(clipped)) return true;
  WindowTarget target(clipped);
  paint(target, clipped);
  target.Present(*surface, dc->window);
  return true;
}

}  // namespace wqplat
