// Keys pressed by their DirectInput code, delivered as the window system's
// key events.
#include <SDL.h>

#include "dinput/dik_scancodes.h"
#include "platform/control_input.h"
#include "user32/window_system_events.h"

void WqControlInjectPhysicalKey(HWND window, int key_code, bool down) {
  int scancode = wqplat::ScancodeOfDik(key_code);
  if (scancode < 0) return;
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = static_cast<SDL_Scancode>(scancode);
  wqplat::DeliverWindowSystemEvent(window, event);
}
