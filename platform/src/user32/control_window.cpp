#include "platform/control_window.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <string_view>

#include "platform/user32.h"
#include "user32/class_mark.h"
#include "user32/virtual_key_map.h"
#include "user32/window_presenter.h"
#include "user32/window_system_events.h"
#include "user32/window_table.h"

namespace {

struct InjectedMouse {
  HWND window = nullptr;
  int x = -1;
  int y = -1;
  unsigned buttons = 0;
};
// What the controls injected so far: the keys held (for typing and key
// repeat) and the last mouse state.
std::mutex input_lock;
std::array<bool, 256> injected_keys{};
InjectedMouse last_mouse;

SDL_Event WindowEvent(SDL_WindowEventID id) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = static_cast<Uint8>(id);
  return event;
}

bool IsUtf8Continuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Delivered as SDL does: in pieces of up to 31 bytes, each ending on a
// character's edge.
void InjectTextEvent(HWND window, std::string_view text_utf8) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  constexpr std::size_t kPieceBytes = sizeof event.text.text - 1;
  while (!text_utf8.empty()) {
    std::size_t size = std::min(text_utf8.size(), kPieceBytes);
    while (size < text_utf8.size() && size > 1 && IsUtf8Continuation(text_utf8[size])) --size;
    std::memcpy(event.text.text, text_utf8.data(), size);
    event.text.text[size] = '\0';
    wqplat::DeliverWindowSystemEvent(window, event);
    text_utf8.remove_prefix(size);
  }
}

void InjectButton(HWND window, int x, int y, Uint8 button, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.button = button;
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.button.clicks = 1;
  event.button.x = x;
  event.button.y = y;
  wqplat::DeliverWindowSystemEvent(window, event);
}

}  // namespace

void WqControlInjectKey(HWND window, BYTE virtual_key, bool down) {
  const wqplat::KeyMapping* key = wqplat::FindKeyByVirtualKey(virtual_key);
  if (!key) return;
  bool repeat;
  char typed;
  {
    std::lock_guard lock(input_lock);
    repeat = down && injected_keys[virtual_key];
    injected_keys[virtual_key] = down;
    bool plain_typing = !injected_keys[VK_CONTROL] && !injected_keys[VK_MENU];
    typed = !plain_typing ? 0 : injected_keys[VK_SHIFT] ? key->shifted : key->plain;
  }
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = repeat;
  event.key.keysym.scancode = static_cast<SDL_Scancode>(key->sdl_scancode);
  wqplat::DeliverWindowSystemEvent(window, event);
  if (down && typed != 0) {
    const char text[2] = {typed, '\0'};
    InjectTextEvent(window, text);
  }
}

void WqControlInjectText(HWND window, const char* text_utf8) {
  if (text_utf8) InjectTextEvent(window, text_utf8);
}

void WqControlInjectMouse(HWND window, int x, int y, unsigned buttons, int wheel_steps) {
  InjectedMouse previous;
  {
    std::lock_guard lock(input_lock);
    previous = last_mouse;
    last_mouse = InjectedMouse{window, x, y, buttons};
  }
  if (previous.window != window || previous.x != x || previous.y != y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    event.motion.xrel = previous.window == window ? x - previous.x : 0;
    event.motion.yrel = previous.window == window ? y - previous.y : 0;
    wqplat::DeliverWindowSystemEvent(window, event);
  }
  const struct {
    unsigned flag;
    Uint8 button;
  } kButtons[] = {{MK_LBUTTON, SDL_BUTTON_LEFT}, {MK_RBUTTON, SDL_BUTTON_RIGHT},
                  {MK_MBUTTON, SDL_BUTTON_MIDDLE}, {MK_XBUTTON1, SDL_BUTTON_X1}};
  for (const auto& button : kButtons) {
    if ((previous.buttons ^ buttons) & button.flag) {
      InjectButton(window, x, y, button.button, (buttons & button.flag) != 0);
    }
  }
  if (wheel_steps != 0) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = wheel_steps;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    wqplat::DeliverWindowSystemEvent(window, event);
  }
}

void WqControlDropFiles(HWND window, const std::vector<std::string>& linux_paths) {
  SDL_Event event{};
  event.type = SDL_DROPBEGIN;
  wqplat::DeliverWindowSystemEvent(window, event);
  for (const std::string& path : linux_paths) {
    event.type = SDL_DROPFILE;
    wqplat::DeliverWindowSystemEvent(window, event, path);
  }
  event.type = SDL_DROPCOMPLETE;
  wqplat::DeliverWindowSystemEvent(window, event);
}

void WqControlCloseWindow(HWND window) {
  wqplat::DeliverWindowSystemEvent(window, WindowEvent(SDL_WINDOWEVENT_CLOSE));
}

void WqControlSetWindowFocus(HWND window, bool focused) {
  wqplat::DeliverWindowSystemEvent(
      window, WindowEvent(focused ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST));
}

void WqControlFollowWindowSystemFocus(bool follow) { wqplat::FollowWindowSystemFocus(follow); }

bool WqControlReadWindowPixels(HWND window, std::vector<std::uint32_t>* pixels, int* width,
                               int* height) {
  auto record = wqplat::FindWindowRecord(window);
  if (!record || !record->presenter || !pixels || !width || !height) return false;
  record->presenter->ReadPixels(pixels, width, height);
  return true;
}

void WqControlSetLockFolder(const char* folder) { wqplat::SetLockFolder(folder); }
