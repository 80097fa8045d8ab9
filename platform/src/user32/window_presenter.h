// One on-screen window per Windows window: the SDL window and the pixels
// last presented in its client area. GDI blits land here; a later 3D device
// presents through the same SDL window.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/user32.h"

namespace wqplat {

class WindowPresenter {
 public:
  // Null when the window system cannot make the window.
  static std::shared_ptr<WindowPresenter> Create(const std::string& title_cp932, const RECT& client,
                                                 bool borderless);
  ~WindowPresenter();
  WindowPresenter(const WindowPresenter&) = delete;
  WindowPresenter& operator=(const WindowPresenter&) = delete;

  std::uint32_t sdl_window_id() const { return SDL_GetWindowID(window_); }
  SDL_Window* sdl_window() const { return window_; }

  void SetTitle(const std::string& title_cp932);
  // Moves and resizes the on-screen client area; the pixels keep their
  // place, a grown area is black.
  void Place(const RECT& client, bool borderless, bool topmost);
  void Show(bool shown);
  void Minimize();
  void Raise();
  void SetFullscreen(const SDL_DisplayMode* mode);

  // Copies a block of 0x00RRGGBB pixels to client coordinates (x, y),
  // clipped to the client area, and shows it.
  void Blit(int x, int y, int width, int height, const std::uint32_t* pixels, int stride_pixels);
  // Shows the kept pixels again (after the window system lost them).
  void Present();
  void ReadPixels(std::vector<std::uint32_t>* pixels, int* width, int* height);

 private:
  explicit WindowPresenter(SDL_Window* window, int width, int height);
  void PresentLocked();

  SDL_Window* window_;
  std::mutex mutex_;
  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace wqplat
