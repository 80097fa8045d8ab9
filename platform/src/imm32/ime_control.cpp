// The controls' input-method composition, delivered as the window system
// delivers its text-editing events.
#include <SDL.h>

#include <cstring>

#include "platform/control_input.h"
#include "user32/window_system_events.h"

void WqControlInjectComposition(HWND window, const char* text_utf8, int cursor) {
  SDL_Event event{};
  event.type = SDL_TEXTEDITING;
  std::strncpy(event.edit.text, text_utf8 ? text_utf8 : "", sizeof event.edit.text - 1);
  event.edit.start = cursor;
  wqplat::DeliverWindowSystemEvent(window, event);
}
