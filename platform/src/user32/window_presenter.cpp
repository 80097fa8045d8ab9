#include "user32/window_presenter.h"

#include <algorithm>

#include "kernel32/text_encoding.h"

namespace wqplat {

std::shared_ptr<WindowPresenter> WindowPresenter::Create(const std::string& title_cp932,
                                                         const RECT& client, bool borderless) {
  int width = std::max<int>(1, client.right - client.left);
  int height = std::max<int>(1, client.bottom - client.top);
  Uint32 flags = SDL_WINDOW_HIDDEN | (borderless ? SDL_WINDOW_BORDERLESS : 0);
  SDL_Window* window = SDL_CreateWindow(Cp932ToUtf8(title_cp932).c_str(), client.left, client.top,
                                        width, height, flags);
  if (!window) return nullptr;
  return std::shared_ptr<WindowPresenter>(new WindowPresenter(window, width, height));
}

WindowPresenter::WindowPresenter(SDL_Window* window, int width, int height)
    : window_(window), width_(width), height_(height),
      pixels_(static_cast<std::size_t>(width) * height, 0) {}

WindowPresenter::~WindowPresenter() { SDL_DestroyWindow(window_); }

void WindowPresenter::SetTitle(const std::string& title_cp932) {
  SDL_SetWindowTitle(window_, Cp932ToUtf8(title_cp932).c_str());
}

void WindowPresenter::Place(const RECT& client, bool borderless, bool topmost) {
  std::lock_guard lock(mutex_);
  int width = std::max<int>(1, client.right - client.left);
  int height = std::max<int>(1, client.bottom - client.top);
  SDL_SetWindowBordered(window_, borderless ? SDL_FALSE : SDL_TRUE);
  SDL_SetWindowAlwaysOnTop(window_, topmost ? SDL_TRUE : SDL_FALSE);
  SDL_SetWindowPosition(window_, client.left, client.top);
  if (width == width_ && height == height_) return;
  std::vector<std::uint32_t> resized(static_cast<std::size_t>(width) * height, 0);
  for (int row = 0; row < std::min(height, height_); ++row) {
    std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(row) * width_, std::min(width, width_),
                resized.begin() + static_cast<std::ptrdiff_t>(row) * width);
  }
  pixels_ = std::move(resized);
  width_ = width;
  height_ = height;
  SDL_SetWindowSize(window_, width, height);
}

void WindowPresenter::Show(bool shown) {
  if (shown) {
    SDL_ShowWindow(window_);
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window_);
    Present();
  } else {
    SDL_HideWindow(window_);
  }
}

void WindowPresenter::Minimize() { SDL_MinimizeWindow(window_); }

void WindowPresenter::Raise() { SDL_RaiseWindow(window_); }

void WindowPresenter::SetFullscreen(const SDL_DisplayMode* mode) {
  if (mode) {
    SDL_SetWindowDisplayMode(window_, mode);
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN);
  } else {
    SDL_SetWindowFullscreen(window_, 0);
  }
}

void WindowPresenter::Blit(int x, int y, int width, int height, const std::uint32_t* pixels,
                           int stride_pixels) {
  std::lock_guard lock(mutex_);
  int left = std::max(x, 0);
  int top = std::max(y, 0);
  int right = std::min(x + width, width_);
  int bottom = std::min(y + height, height_);
  for (int row = top; row < bottom; ++row) {
    const std::uint32_t* source =
        pixels + static_cast<std::ptrdiff_t>(row - y) * stride_pixels + (left - x);
    std::uint32_t* target = pixels_.data() + static_cast<std::ptrdiff_t>(row) * width_ + left;
    std::transform(source, source + std::max(0, right - left), target,
                   [](std::uint32_t pixel) { return pixel & 0x00FFFFFFu; });
  }
  PresentLocked();
}

void WindowPresenter::Present() {
  std::lock_guard lock(mutex_);
  PresentLocked();
}

void WindowPresenter::PresentLocked() {
  if (!(SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN)) return;
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface) return;
  int width = std::min(width_, surface->w);
  int height = std::min(height_, surface->h);
  if (SDL_LockSurface(surface) == 0) {
    SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_RGB888, pixels_.data(), width_ * 4,
                      surface->format->format, surface->pixels, surface->pitch);
    SDL_UnlockSurface(surface);
  }
  SDL_UpdateWindowSurface(window_);
}

void WindowPresenter::ReadPixels(std::vector<std::uint32_t>* pixels, int* width, int* height) {
  std::lock_guard lock(mutex_);
  *pixels = pixels_;
  *width = width_;
  *height = height_;
}

}  // namespace wqplat
