// GetKeyboardState and GetKeyState over the keys the window system
// reported; left and right modifier keys from the physical keys.
#include <SDL.h>

#include "platform/user32.h"
#include "user32/input_script.h"
#include "user32/keyboard_state.h"

namespace {

struct SidedKey {
  BYTE virtual_key;
  SDL_Scancode scancode;
};
constexpr SidedKey kSidedKeys[] = {
    {VK_LSHIFT, SDL_SCANCODE_LSHIFT}, {VK_RSHIFT, SDL_SCANCODE_RSHIFT},
    {VK_LCONTROL, SDL_SCANCODE_LCTRL}, {VK_RCONTROL, SDL_SCANCODE_RCTRL},
    {VK_LMENU, SDL_SCANCODE_LALT},    {VK_RMENU, SDL_SCANCODE_RALT},
};

bool IsKeyHeld(int virtual_key) {
  for (const SidedKey& key : kSidedKeys) {
    if (key.virtual_key == virtual_key) return wqplat::IsScancodeDown(key.scancode);
  }
  return wqplat::IsVirtualKeyDown(static_cast<BYTE>(virtual_key));
}

}  // namespace

BOOL GetKeyboardState(BYTE key_states[256]) {
  if (!key_states) return FALSE;
  wqplat::ApplyDueInputScript();
  for (int key = 0; key < 256; ++key) key_states[key] = IsKeyHeld(key) ? 0x80 : 0;
  return TRUE;
}

SHORT GetKeyState(int virtual_key) {
  if (virtual_key < 0 || virtual_key > 255) return 0;
  wqplat::ApplyDueInputScript();
  return IsKeyHeld(virtual_key) ? static_cast<SHORT>(0x8000) : 0;
}
