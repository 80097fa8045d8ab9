#include "user32/window_presenter.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/glcorearb.h>

#include <algorithm>

#include "kernel32/text_encoding.h"
#include "user32/frame_capture.h"
#include "user32/window_table.h"

namespace wqplat {
namespace {

// The device's GL bindings that presenting touches, put back afterwards so
// that the device never has to know the presenter drew.
class SavedGlBindings {
 public:
  SavedGlBindings() {
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read_framebuffer_);
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw_framebuffer_);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture_);
    scissor_ = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);  // framebuffer blits obey the scissor
  }
  ~SavedGlBindings() {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, read_framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, draw_framebuffer_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    if (scissor_) glEnable(GL_SCISSOR_TEST);
  }
  SavedGlBindings(const SavedGlBindings&) = delete;
  SavedGlBindings& operator=(const SavedGlBindings&) = delete;

 private:
  GLint read_framebuffer_ = 0;
  GLint draw_framebuffer_ = 0;
  GLint texture_ = 0;
  GLboolean scissor_ = GL_FALSE;
};

SDL_Window* CreateSdlWindow(const std::string& title_utf8, const RECT& client, int width,
                            int height, Uint32 flags) {
  return SDL_CreateWindow(title_utf8.c_str(), client.left, client.top, width, height, flags);
}

}  // namespace

std::shared_ptr<WindowPresenter> FindWindowPresenter(HWND window) {
  auto record = FindWindowRecord(window);
  return record ? record->presenter : nullptr;
}

std::shared_ptr<WindowPresenter> WindowPresenter::Create(const std::string& title_cp932,
                                                         const RECT& client, bool borderless,
                                                         bool shaped) {
  int width = std::max<int>(1, client.right - client.left);
  int height = std::max<int>(1, client.bottom - client.top);
  Uint32 flags = SDL_WINDOW_HIDDEN | (borderless ? SDL_WINDOW_BORDERLESS : 0);
  // Software presentation writes to the window directly, never through a GL
  // context of SDL's own that would compete with the device's.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  std::string title = Cp932ToUtf8(title_cp932);
  // Every window can host the 3D device; without OpenGL it is still a window.
  SDL_Window* window = nullptr;
  if (shaped) window = CreateShapedSdlWindow(title, client, width, height, flags);
  if (!window) window = CreateSdlWindow(title, client, width, height, flags | SDL_WINDOW_OPENGL);
  if (!window) window = CreateSdlWindow(title, client, width, height, flags);
  if (!window) return nullptr;
  return std::shared_ptr<WindowPresenter>(new WindowPresenter(window, width, height));
}

WindowPresenter::WindowPresenter(SDL_Window* window, int width, int height)
    : window_(window), width_(width), height_(height),
      pixels_(static_cast<std::size_t>(width) * height, 0) {}

WindowPresenter::~WindowPresenter() {
  ReleaseGlLocked();
  SDL_DestroyWindow(window_);
}

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
  SyncPixelsFromGlLocked();
  std::vector<std::uint32_t> resized(static_cast<std::size_t>(width) * height, 0);
  for (int row = 0; row < std::min(height, height_); ++row) {
    std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(row) * width_, std::min(width, width_),
                resized.begin() + static_cast<std::ptrdiff_t>(row) * width);
  }
  pixels_ = std::move(resized);
  width_ = width;
  height_ = height;
  SDL_SetWindowSize(window_, width, height);
  if (GlAttachedLocked()) AllocateGlFrameLocked();
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
  SyncPixelsFromGlLocked();
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
  if (GlAttachedLocked() && right > left && bottom > top) {
    SDL_GL_MakeCurrent(window_, gl_context_);
    SavedGlBindings saved;
    glBindTexture(GL_TEXTURE_2D, frame_texture_);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, width_);
    glTexSubImage2D(GL_TEXTURE_2D, 0, left, top, right - left, bottom - top, GL_BGRA,
                    GL_UNSIGNED_INT_8_8_8_8_REV,
                    pixels_.data() + static_cast<std::ptrdiff_t>(top) * width_ + left);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  }
  PresentLocked();
  CountPresentedFrameLocked();
}

void WindowPresenter::Present() {
  std::lock_guard lock(mutex_);
  PresentLocked();
}

void WindowPresenter::PresentLocked() {
  if (!(SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN)) return;
  if (GlAttachedLocked()) {
    ShowGlFrameLocked();
    return;
  }
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
  ReadPixelsLocked(pixels, width, height);
}

void WindowPresenter::ReadPixelsLocked(std::vector<std::uint32_t>* pixels, int* width, int* height) {
  SyncPixelsFromGlLocked();
  *pixels = pixels_;
  *width = width_;
  *height = height_;
}

bool WindowPresenter::AttachGl() {
  std::lock_guard lock(mutex_);
  if (GlAttachedLocked()) return SDL_GL_MakeCurrent(window_, gl_context_) == 0;
  if (!(SDL_GetWindowFlags(window_) & SDL_WINDOW_OPENGL)) return false;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  gl_context_ = SDL_GL_CreateContext(window_);
  if (!gl_context_) return false;
  // The display clock paces presents; a swap that waits would pace twice.
  SDL_GL_SetSwapInterval(0);
  AllocateGlFrameLocked();
  return true;
}

void WindowPresenter::DetachGl() {
  std::lock_guard lock(mutex_);
  SyncPixelsFromGlLocked();
  ReleaseGlLocked();
  PresentLocked();
}

void WindowPresenter::PresentGlFramebuffer(unsigned source, const RECT& from, const RECT& to) {
  std::lock_guard lock(mutex_);
  if (!GlAttachedLocked()) return;
  SDL_GL_MakeCurrent(window_, gl_context_);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, frame_framebuffer_);
  glBlitFramebuffer(from.left, from.top, from.right, from.bottom, to.left, to.top, to.right,
                    to.bottom, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  frame_newer_than_pixels_ = true;
  if (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) SwapGlFrameLocked();
  CountPresentedFrameLocked();
}

void WindowPresenter::CountPresentedFrameLocked() {
  CountPresentedFrame([this](std::vector<std::uint32_t>* pixels, int* width, int* height) {
    ReadPixelsLocked(pixels, width, height);
  });
}

void WindowPresenter::ShowGlFrameLocked() {
  SDL_GL_MakeCurrent(window_, gl_context_);
  SavedGlBindings saved;
  SwapGlFrameLocked();
}

void WindowPresenter::SwapGlFrameLocked() {
  glBindFramebuffer(GL_READ_FRAMEBUFFER, frame_framebuffer_);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  // The frame is stored top-down; the window's framebuffer is bottom-up.
  glBlitFramebuffer(0, 0, width_, height_, 0, height_, width_, 0, GL_COLOR_BUFFER_BIT,
                    GL_NEAREST);
  SDL_GL_SwapWindow(window_);
}

void WindowPresenter::SyncPixelsFromGlLocked() {
  if (!frame_newer_than_pixels_) return;
  frame_newer_than_pixels_ = false;
  SDL_GL_MakeCurrent(window_, gl_context_);
  SavedGlBindings saved;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, frame_framebuffer_);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels_.data());
  for (std::uint32_t& pixel : pixels_) pixel &= 0x00FFFFFFu;
}

void WindowPresenter::AllocateGlFrameLocked() {
  SDL_GL_MakeCurrent(window_, gl_context_);
  SavedGlBindings saved;
  if (!frame_texture_) glGenTextures(1, &frame_texture_);
  if (!frame_framebuffer_) glGenFramebuffers(1, &frame_framebuffer_);
  glBindTexture(GL_TEXTURE_2D, frame_texture_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  // Unsized RGBA with blue-first rows: the driver keeps the frame in the
  // order of the device's 32-bit back buffers and of the window, so that
  // presents copy rows instead of converting pixels. Its alpha means nothing
  // (as in the window's own framebuffer) and read-backs drop it.
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width_, height_, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
               pixels_.data());
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, frame_framebuffer_);
  glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, frame_texture_,
                         0);
  frame_newer_than_pixels_ = false;
}

void WindowPresenter::ReleaseGlLocked() {
  if (!gl_context_) return;
  SDL_GL_MakeCurrent(window_, gl_context_);
  glDeleteFramebuffers(1, &frame_framebuffer_);
  glDeleteTextures(1, &frame_texture_);
  frame_framebuffer_ = 0;
  frame_texture_ = 0;
  SDL_GL_MakeCurrent(window_, nullptr);
  SDL_GL_DeleteContext(gl_context_);
  gl_context_ = nullptr;
  frame_newer_than_pixels_ = false;
}

}  // namespace wqplat
