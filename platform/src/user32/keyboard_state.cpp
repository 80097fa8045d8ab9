#include "user32/keyboard_state.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>
#include <vector>

#include "platform/kernel32.h"

namespace wqplat {
namespace {

std::array<std::atomic<bool>, 256> keys_down{};
// SDL_NUM_SCANCODES
std::array<std::atomic<bool>, 512> scancodes_down{};
std::atomic<int> wheel_steps{0};

std::mutex watcher_lock;
std::vector<HANDLE> key_watchers;

}  // namespace

bool IsScancodeDown(int sdl_scancode) {
  return sdl_scancode >= 0 && static_cast<std::size_t>(sdl_scancode) < scancodes_down.size() &&
         scancodes_down[sdl_scancode].load();
}

void SetScancodeDown(int sdl_scancode, bool down) {
  if (sdl_scancode < 0 || static_cast<std::size_t>(sdl_scancode) >= scancodes_down.size()) return;
  if (scancodes_down[sdl_scancode].exchange(down) == down) return;
  std::lock_guard lock(watcher_lock);
  for (HANDLE event : key_watchers) SetEvent(event);
}

void WatchKeyChanges(HANDLE event, bool watch) {
  std::lock_guard lock(watcher_lock);
  std::erase(key_watchers, event);
  if (watch) key_watchers.push_back(event);
}

int WheelStepTotal() { return wheel_steps.load(); }

void AddWheelSteps(int steps) { wheel_steps += steps; }

bool IsVirtualKeyDown(BYTE virtual_key) { return keys_down[virtual_key].load(); }

void SetVirtualKeyDown(BYTE virtual_key, bool down) { keys_down[virtual_key].store(down); }

std::string ControlCharacterOfKey(BYTE virtual_key) {
  switch (virtual_key) {
    case VK_RETURN: return "\r";
    case VK_BACK: return "\b";
    case VK_TAB: return "\t";
    case VK_ESCAPE: return "\x1B";
    default: break;
  }
  if (virtual_key >= 'A' && virtual_key <= 'Z' && IsVirtualKeyDown(VK_CONTROL) &&
      !IsVirtualKeyDown(VK_MENU)) {
    return std::string(1, static_cast<char>(virtual_key - 'A' + 1));
  }
  return {};
}

WPARAM MouseKeyFlags(WPARAM buttons) {
  if (IsVirtualKeyDown(VK_SHIFT)) buttons |= MK_SHIFT;
  if (IsVirtualKeyDown(VK_CONTROL)) buttons |= MK_CONTROL;
  return buttons;
}

}  // namespace wqplat
