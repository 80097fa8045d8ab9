#include "user32/window_system.h"

#include <SDL.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace wqplat {
namespace {

constexpr int kX11Attempts = 5;
constexpr auto kX11RetryPause = std::chrono::milliseconds(200);

std::once_flag start_once;
bool started = false;
// A default id names no thread.
std::atomic<std::thread::id> event_thread{};

// With an X display named, SDL would quietly move on to its off-screen
// driver when the display refused it for a moment (a loaded server), and
// the program would run without its windows ever reaching the display. The
// named display is asked again a few times first; a driver chosen in the
// environment is left alone.
bool StartOnNamedX11Display() {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0' || std::getenv("SDL_VIDEODRIVER") != nullptr) return false;
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  bool started_on_x11 = false;
  for (int attempt = 0; attempt < kX11Attempts && !started_on_x11; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(kX11RetryPause);
    started_on_x11 = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  }
  SDL_SetHint(SDL_HINT_VIDEODRIVER, nullptr);
  return started_on_x11;
}

}  // namespace

bool EnsureWindowSystem() {
  std::call_once(start_once, [] {
    // The program decides about the screen saver (SystemParametersInfoA),
    // and signals stay the program's own.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    started = StartOnNamedX11Display() || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  });
  return started;
}

void ClaimEventThread() {
  std::thread::id unclaimed{};
  event_thread.compare_exchange_strong(unclaimed, std::this_thread::get_id());
}

bool IsEventThread() { return event_thread.load() == std::this_thread::get_id(); }

}  // namespace wqplat
