// Shaped windows: the window system cuts the window to a picture's opaque
// pixels. SDL makes such windows only at creation, so a layered window is
// created shaped from the start.
#include <SDL_shape.h>

#include "user32/window_presenter.h"

namespace wqplat {

SDL_Window* CreateShapedSdlWindow(const std::string& title_utf8, const RECT& client, int width,
                                  int height, Uint32 flags) {
  SDL_Window* window = SDL_CreateShapedWindow(title_utf8.c_str(), static_cast<unsigned>(client.left),
                                              static_cast<unsigned>(client.top), static_cast<unsigned>(width),
                                              static_cast<unsigned>(height), flags | SDL_WINDOW_OPENGL);
  if (!window)
    window = SDL_CreateShapedWindow(title_utf8.c_str(), static_cast<unsigned>(client.left),
                                    static_cast<unsigned>(client.top), static_cast<unsigned>(width),
                                    static_cast<unsigned>(height), flags);
  return window;
}

bool WindowPresenter::ApplyShape(const std::uint8_t* opaque, int width, int height) {
  std::lock_guard lock(mutex_);
  shape_applied_ = false;
  if (!SDL_IsShapedWindow(window_)) return false;
  // The shape covers the whole window: SDL refuses one of another size.
  SDL_Surface* shape = SDL_CreateRGBSurfaceWithFormat(0, width_, height_, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!shape) return false;
  for (int y = 0; y < height_; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(shape->pixels) + y * shape->pitch);
    for (int x = 0; x < width_; ++x) {
      const bool inside = x < width && y < height && opaque[static_cast<std::ptrdiff_t>(y) * width + x] != 0;
      row[x] = inside ? 0xFF000000u : 0;
    }
  }
  SDL_WindowShapeMode mode{};
  mode.mode = ShapeModeBinarizeAlpha;
  mode.parameters.binarizationCutoff = 1;
  shape_applied_ = SDL_SetWindowShape(window_, shape, &mode) == 0;
  SDL_FreeSurface(shape);
  return shape_applied_;
}

}  // namespace wqplat
