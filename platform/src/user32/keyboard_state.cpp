#include "user32/keyboard_state.h"

#include <array>
#include <atomic>

namespace wqplat {
namespace {

std::array<std::atomic<bool>, 256> keys_down{};

}  // namespace

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
