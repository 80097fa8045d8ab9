#include "user32/display_mode_list.h"

#include <SDL.h>

#include <algorithm>
#include <mutex>
#include <optional>

#include "user32/window_system.h"

namespace wqplat {
namespace {

std::mutex mode_lock;
std::optional<DesktopMode> changed_mode;

std::vector<DesktopMode> FixedModes() {
  static constexpr int kSizes[][2] = {{640, 480},   {800, 600},   {1024, 768},
                                      {1280, 720},  {1280, 1024}, {1920, 1080}};
  std::vector<DesktopMode> modes;
  for (int bits : {16, 32}) {
    for (const auto& size : kSizes) modes.push_back(DesktopMode{size[0], size[1], bits, 60});
  }
  return modes;
}

}  // namespace

std::vector<DesktopMode> ListDisplayModes() {
  if (!EnsureWindowSystem()) return FixedModes();
  std::vector<DesktopMode> modes;
  int count = SDL_GetNumDisplayModes(0);
  for (int index = 0; index < count; ++index) {
    SDL_DisplayMode display{};
    if (SDL_GetDisplayMode(0, index, &display) != 0) continue;
    DesktopMode mode{display.w, display.h, static_cast<int>(SDL_BYTESPERPIXEL(display.format)) * 8,
                     display.refresh_rate > 0 ? display.refresh_rate : 60};
    if (std::none_of(modes.begin(), modes.end(), [&](const auto& m) { return m == mode; })) {
      modes.push_back(mode);
    }
  }
  return modes.empty() ? std::vector<DesktopMode>{GetDesktopMode()} : modes;
}

DesktopMode CurrentDisplayMode() {
  std::lock_guard lock(mode_lock);
  return changed_mode ? *changed_mode : GetDesktopMode();
}

void SetCurrentDisplayMode(const DesktopMode* mode) {
  std::lock_guard lock(mode_lock);
  if (mode) {
    changed_mode = *mode;
  } else {
    changed_mode.reset();
  }
}

}  // namespace wqplat
