#include "user32/window_surface_bridge.h"

#include "gdi32/window_surface.h"
#include "user32/window_presenter.h"
#include "user32/window_table.h"

namespace wqplat {
namespace {

class PresenterSurface final : public WindowSurface {
 public:
  bool GetClientSize(HWND window, int* width, int* height) override {
    RECT client{};
    if (!GetClientRect(window, &client)) return false;
    *width = client.right;
    *height = client.bottom;
    return true;
  }

  void BlitBgra32(HWND window, int x, int y, int width, int height, const std::uint32_t* pixels,
                  int stride_pixels) override {
    auto record = FindWindowRecord(window);
    if (record && record->presenter) {
      record->presenter->Blit(x, y, width, height, pixels, stride_pixels);
    }
  }
};

}  // namespace

void InstallWindowSurface() {
  static PresenterSurface surface;
  SetWindowSurface(&surface);
}

}  // namespace wqplat
