#include "user32/window_system_events.h"

#include <vector>

#include "imm32/ime_events.h"
#include "kernel32/environment_switch.h"
#include "kernel32/path_windows_form.h"
#include "kernel32/system_clock.h"
#include "kernel32/text_encoding.h"
#include "shell32/drop_files.h"
#include "user32/cursor_state.h"
#include "user32/keyboard_state.h"
#include "user32/thread_queue.h"
#include "user32/virtual_key_map.h"
#include "user32/window_messages.h"
#include "user32/window_presenter.h"
#include "user32/window_state.h"
#include "user32/window_system.h"
#include "user32/window_table.h"

namespace wqplat {
namespace {

constexpr BYTE kLeftButton = VK_LBUTTON;
constexpr BYTE kRightButton = VK_RBUTTON;
constexpr BYTE kMiddleButton = VK_MBUTTON;
constexpr BYTE kFirstSideButton = VK_XBUTTON1;

LPARAM PackPoint(LONG x, LONG y) { return MAKELONG(static_cast<SHORT>(x), static_cast<SHORT>(y)); }

WPARAM HeldMouseButtons() {
  WPARAM buttons = 0;
  if (IsVirtualKeyDown(kLeftButton)) buttons |= MK_LBUTTON;
  if (IsVirtualKeyDown(kRightButton)) buttons |= MK_RBUTTON;
  if (IsVirtualKeyDown(kMiddleButton)) buttons |= MK_MBUTTON;
  if (IsVirtualKeyDown(kFirstSideButton)) buttons |= MK_XBUTTON1;
  return MouseKeyFlags(buttons);
}

// Files dropped on each window since the window system began the drop.
std::vector<std::string>& PendingDrop(HWND window) {
  thread_local std::vector<std::pair<HWND, std::vector<std::string>>> drops;
  for (auto& [target, names] : drops) {
    if (target == window) return names;
  }
  return drops.emplace_back(window, std::vector<std::string>{}).second;
}

void WindowEvent(HWND window, const SDL_WindowEvent& event) {
  auto record = FindWindowRecord(window);
  if (!record) return;
  switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      ActivateWindow(window);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      if (ActiveWindow() == window) ActivateWindow(nullptr);
      break;
    case SDL_WINDOWEVENT_CLOSE:
      PostToWindow(window, WM_CLOSE, 0, 0);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      if (record->presenter) record->presenter->Present();
      // The display uncovers windows when it likes; on the virtual clock the
      // window shows its last frame again without asking the program to
      // paint, so that a replay presents the same frames every time.
      if (!VirtualClockEnabled()) InvalidateClientArea(window, true);
      break;
    case SDL_WINDOWEVENT_MOVED:
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
      RECT placed;
      {
        std::lock_guard lock(UserLock());
        RECT client = ClientRectOnScreen(*record);
        RECT frame{client.left - record->window_rect.left, client.top - record->window_rect.top,
                   record->window_rect.right - client.right,
                   record->window_rect.bottom - client.bottom};
        if (event.event == SDL_WINDOWEVENT_MOVED) {
          client = RECT{event.data1, event.data2, event.data1 + (client.right - client.left),
                        event.data2 + (client.bottom - client.top)};
        } else {
          client.right = client.left + event.data1;
          client.bottom = client.top + event.data2;
        }
        placed = RECT{client.left - frame.left, client.top - frame.top, client.right + frame.right,
                      client.bottom + frame.bottom};
      }
      PlaceWindow(window, placed, PlacementSource::kWindowSystem);
      break;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_RESTORED: {
      bool minimized = event.event == SDL_WINDOWEVENT_MINIMIZED;
      {
        std::lock_guard lock(UserLock());
        if (record->minimized == minimized) break;
        record->minimized = minimized;
      }
      RECT client{};
      GetClientRect(window, &client);
      CallWindowProcedure(window, WM_SIZE, minimized ? SIZE_MINIMIZED : SIZE_RESTORED,
                          minimized ? 0 : PackPoint(client.right, client.bottom));
      break;
    }
    default:
      break;
  }
}

void KeyEvent(HWND window, const SDL_KeyboardEvent& event) {
  const KeyMapping* key = FindKeyBySdlScancode(event.keysym.scancode);
  if (!key) return;
  bool down = event.type == SDL_KEYDOWN;
  bool was_down = IsVirtualKeyDown(key->virtual_key);
  SetVirtualKeyDown(key->virtual_key, down);
  SetScancodeDown(event.keysym.scancode, down);
  bool alt = IsVirtualKeyDown(VK_MENU) || key->virtual_key == VK_MENU;
  bool system = (alt && !IsVirtualKeyDown(VK_CONTROL)) || key->virtual_key == VK_F10;
  UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  DWORD bits = 1u | (DWORD{key->scan_code} << 16) | (key->extended ? 1u << 24 : 0u) |
               (alt && down ? 1u << 29 : 0u) | (was_down || !down ? 1u << 30 : 0u) |
               (down ? 0u : 1u << 31);
  // Keys that type a control character do so with the modifiers held now,
  // whenever TranslateMessage gets to them.
  PostToWindow(window, message, key->virtual_key, static_cast<LPARAM>(bits),
               down ? ControlCharacterOfKey(key->virtual_key) : std::string{});
}

void TextEvent(HWND window, const SDL_TextInputEvent& event) {
  std::string text = Utf8ToCp932(event.text);
  if (CurrentThreadQueue()->AttachTypedText(window, text)) return;
  if (DeliverImeResult(window, text)) return;
  // Text without a key-down (an input method's result) arrives as
  // characters of its own, byte by byte as Windows gives double-byte text
  // to a code-page window.
  for (char byte : text) PostToWindow(window, WM_CHAR, static_cast<BYTE>(byte), 1);
}

POINT PointerInClient(HWND window, int x, int y) {
  RECT client = FindClientRectOnScreen(window).value_or(RECT{});
  POINT screen = MoveCursorTo(POINT{client.left + x, client.top + y});
  return POINT{screen.x - client.left, screen.y - client.top};
}

// `which` names the side button of an X button message (its wParam's high word).
void MouseMessage(HWND window, UINT message, POINT client_point, WORD which = 0) {
  CallWindowProcedure(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                      MAKELONG(HTCLIENT, message));
  PostToWindow(window, message, MAKELONG(static_cast<WORD>(HeldMouseButtons()), which),
               PackPoint(client_point.x, client_point.y));
}

void ButtonEvent(HWND window, const SDL_MouseButtonEvent& event) {
  bool down = event.type == SDL_MOUSEBUTTONDOWN;
  BYTE key;
  UINT message;
  switch (event.button) {
    case SDL_BUTTON_LEFT: key = kLeftButton; message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
    case SDL_BUTTON_RIGHT: key = kRightButton; message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
    case SDL_BUTTON_MIDDLE: key = kMiddleButton; message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
    case SDL_BUTTON_X1: key = kFirstSideButton; message = down ? WM_XBUTTONDOWN : WM_XBUTTONUP; break;
    default: return;
  }
  SetVirtualKeyDown(key, down);
  MouseMessage(window, message, PointerInClient(window, event.x, event.y),
               key == kFirstSideButton ? XBUTTON1 : 0);
}

void WheelEvent(HWND window, const SDL_MouseWheelEvent& event) {
  int steps = event.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.y : event.y;
  if (steps == 0) return;
  AddWheelSteps(steps);
  POINT screen{};
  GetCursorPos(&screen);
  WPARAM wparam = static_cast<WPARAM>(
      MAKELONG(static_cast<WORD>(HeldMouseButtons()), static_cast<SHORT>(steps * WHEEL_DELTA)));
  PostToWindow(window, WM_MOUSEWHEEL, wparam, PackPoint(screen.x, screen.y));
}

void DropEvent(HWND window, const SDL_DropEvent& event, const std::string& dropped_file) {
  std::vector<std::string>& names = PendingDrop(window);
  if (event.type == SDL_DROPFILE) {
    names.push_back(LinuxPathToWindows(dropped_file));
    return;
  }
  if (event.type != SDL_DROPCOMPLETE) return;
  std::vector<std::string> dropped = std::move(names);
  names.clear();
  auto record = FindWindowRecord(window);
  if (dropped.empty() || !record || !record->accepts_files) return;
  PostToWindow(window, WM_DROPFILES, reinterpret_cast<WPARAM>(CreateDropHandle(std::move(dropped))), 0);
}

void Translate(HWND window, const SDL_Event& event, const std::string& dropped_file) {
  switch (event.type) {
    case SDL_WINDOWEVENT: WindowEvent(window, event.window); break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: KeyEvent(window, event.key); break;
    case SDL_TEXTINPUT: TextEvent(window, event.text); break;
    case SDL_TEXTEDITING:
      DeliverImeComposition(window, Utf8ToCp932(event.edit.text), event.edit.start);
      break;
    case SDL_MOUSEMOTION:
      MouseMessage(window, WM_MOUSEMOVE, PointerInClient(window, event.motion.x, event.motion.y));
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: ButtonEvent(window, event.button); break;
    case SDL_MOUSEWHEEL: WheelEvent(window, event.wheel); break;
    case SDL_DROPBEGIN:
    case SDL_DROPFILE:
    case SDL_DROPCOMPLETE: DropEvent(window, event.drop, dropped_file); break;
    default: break;
  }
}

std::uint32_t EventWindowId(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT: return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP: return event.key.windowID;
    case SDL_TEXTINPUT: return event.text.windowID;
    case SDL_TEXTEDITING: return event.edit.windowID;
    case SDL_MOUSEMOTION: return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return event.button.windowID;
    case SDL_MOUSEWHEEL: return event.wheel.windowID;
    case SDL_DROPBEGIN:
    case SDL_DROPFILE:
    case SDL_DROPCOMPLETE: return event.drop.windowID;
    default: return 0;
  }
}

bool IsFocusChange(const SDL_Event& event) {
  return event.type == SDL_WINDOWEVENT && (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
                                           event.window.event == SDL_WINDOWEVENT_FOCUS_LOST);
}

EnvironmentSwitch& FocusSetting() {
  static EnvironmentSwitch setting("WQ_WINDOW_SYSTEM_FOCUS");
  return setting;
}

bool FollowsWindowSystemFocus() { return FocusSetting().IsOn(); }

}  // namespace

void FollowWindowSystemFocus(bool follow) { FocusSetting().Set(follow); }

void DeliverWindowSystemEvent(HWND window, const SDL_Event& event, std::string dropped_file) {
  RunOnWindowThread(window, [window, event, dropped_file = std::move(dropped_file)] {
    Translate(window, event, dropped_file);
  });
}

void ReadWindowSystemEvents() {
  if (!IsEventThread()) return;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (IsFocusChange(event) && !FollowsWindowSystemFocus()) continue;
    std::string dropped_file;
    if (event.type == SDL_DROPFILE || event.type == SDL_DROPTEXT) {
      // Both carry a string the reader frees; only file names are kept.
      if (event.type == SDL_DROPFILE && event.drop.file) dropped_file = event.drop.file;
      SDL_free(event.drop.file);
      event.drop.file = nullptr;
    }
    std::uint32_t id = EventWindowId(event);
    auto record = id != 0 ? FindWindowBySdlId(id) : nullptr;
    if (record) DeliverWindowSystemEvent(record->handle, event, std::move(dropped_file));
  }
}

}  // namespace wqplat
