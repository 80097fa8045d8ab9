#include "gdi32/window_surface.h"

#include <atomic>

namespace wqplat {
namespace {

std::atomic<WindowSurface*> installed_surface{nullptr};

}  // namespace

void SetWindowSurface(WindowSurface* surface) { installed_surface.store(surface); }

WindowSurface* GetWindowSurface() { return installed_surface.load(); }

}  // namespace wqplat
