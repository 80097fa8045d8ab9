// One on-screen window per Windows window: the SDL window and the pixels
// last presented in its client area. GDI blits land here, and so do the 3D
// device's presents: while a device is attached the window shows an OpenGL
// frame that both paths draw into.
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
  // Null when the window system cannot make the window. A shaped window
  // (for layered windows) is made where the window system can shape
  // windows, else a plain one.
  static std::shared_ptr<WindowPresenter> Create(const std::string& title_cp932, const RECT& client,
                                                 bool borderless, bool shaped = false);
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
  // Cuts the window to the pixels whose `opaque` byte (one a pixel,
  // `width` a row, from the client's top-left) is not 0; pixels beyond
  // the given size are holes. False when the window is not shaped or the
  // window system refused: the whole window then stays visible.
  bool ApplyShape(const std::uint8_t* opaque, int width, int height);
  // Whether the last ApplyShape took effect.
  bool shape_applied() const { return shape_applied_; }

  // Shows the kept pixels again (after the window system lost them).
  void Present();
  void ReadPixels(std::vector<std::uint32_t>* pixels, int* width, int* height);

  // ---- OpenGL presentation, for the 3D device --------------------------------
  // Makes the window's OpenGL 3.3 core context current on the calling thread,
  // creating it and the window's frame on first use; false when the window
  // system has no such OpenGL. While attached, every presenter call must come
  // from that one thread (the device's).
  bool AttachGl();
  // Back to software presentation; the pixels shown are kept.
  void DetachGl();
  // Presents for the device: copies rectangle `from` of its framebuffer
  // object `source` (rows top-down) onto rectangle `to` of the window's
  // frame, scaling where the sizes differ, and shows the frame. Called with
  // the scissor test off; leaves the read and draw framebuffer bindings
  // changed, for the caller to bind its own again.
  void PresentGlFramebuffer(unsigned source, const RECT& from, const RECT& to);

 private:
  explicit WindowPresenter(SDL_Window* window, int width, int height);
  void PresentLocked();
  // Counts a new frame shown for the replay captures (frame_capture.h).
  void CountPresentedFrameLocked();
  void ReadPixelsLocked(std::vector<std::uint32_t>* pixels, int* width, int* height);
  bool GlAttachedLocked() const { return gl_context_ != nullptr; }
  // The pixels read back from the frame once the device has drawn into it.
  void SyncPixelsFromGlLocked();
  void AllocateGlFrameLocked();
  void ReleaseGlLocked();
  // Shows the frame, keeping the GL bindings of whoever else draws.
  void ShowGlFrameLocked();
  // Copies the frame into the window's framebuffer and swaps: the bindings
  // and the scissor test are the caller's to keep.
  void SwapGlFrameLocked();

  SDL_Window* window_;
  std::mutex mutex_;
  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
  SDL_GLContext gl_context_ = nullptr;
  unsigned frame_texture_ = 0;
  unsigned frame_framebuffer_ = 0;
  bool frame_newer_than_pixels_ = false;
  bool shape_applied_ = false;
};

// A window the window system can shape, or null where it cannot.
SDL_Window* CreateShapedSdlWindow(const std::string& title_utf8, const RECT& client, int width,
                                  int height, Uint32 flags);

// The presenter of a window; null for an unknown window or one that is not
// on a display.
std::shared_ptr<WindowPresenter> FindWindowPresenter(HWND window);

}  // namespace wqplat
