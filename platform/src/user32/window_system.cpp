#include "user32/window_system.h"

#include <SDL.h>

#include <atomic>
#include <mutex>
#include <thread>

namespace wqplat {
namespace {

std::once_flag start_once;
bool started = false;
// A default id names no thread.
std::atomic<std::thread::id> event_thread{};

}  // namespace

bool EnsureWindowSystem() {
  std::call_once(start_once, [] {
    // The program decides about the screen saver (SystemParametersInfoA),
    // and signals stay the program's own.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  });
  return started;
}

void ClaimEventThread() {
  std::thread::id unclaimed{};
  event_thread.compare_exchange_strong(unclaimed, std::this_thread::get_id());
}

bool IsEventThread() { return event_thread.load() == std::this_thread::get_id(); }

}  // namespace wqplat
