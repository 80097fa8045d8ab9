// Where GDI drawing onto a window's device context ends up. The window
// module's per-window presenter implements this and installs itself; GDI
// clips every block to the client area before handing it over.
#pragma once

#include <cstdint>

#include "platform/wintypes.h"

namespace wqplat {

class WindowSurface {
 public:
  virtual ~WindowSurface() = default;

  // The window's client-area size; false for a window that does not exist.
  virtual bool GetClientSize(HWND window, int* width, int* height) = 0;

  // Copies a width x height block to client coordinates (x, y). Pixels are
  // 0x00RRGGBB words (the top byte is undefined and ignored), rows top-down,
  // stride_pixels words apart. The block always lies inside the client area.
  virtual void BlitBgra32(HWND window, int x, int y, int width, int height,
                          const std::uint32_t* pixels, int stride_pixels) = 0;
};

// Installs the surface that window DCs draw through (null: none; window DCs
// then cannot be obtained). The caller keeps ownership.
void SetWindowSurface(WindowSurface* surface);
WindowSurface* GetWindowSurface();

}  // namespace wqplat
