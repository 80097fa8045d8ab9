// The clipboard: CF_TEXT in code page 932, kept in global memory blocks and
// shared with other programs through the window system as UTF-8.
#include <SDL.h>

#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/control_window.h"
#include "platform/kernel32.h"
#include "platform/user32.h"
#include "kernel32/environment_switch.h"
#include "kernel32/text_encoding.h"
#include "user32/window_system.h"

namespace {

std::mutex clipboard_lock;
bool is_open = false;
std::thread::id opener;
// The block handed out by GetClipboardData or given by SetClipboardData.
HGLOBAL text_block = nullptr;
// The text as last placed or read, to tell whether the window system's
// clipboard changed since.
std::string text_utf8;

wqplat::EnvironmentSwitch& SharingSetting() {
  static wqplat::EnvironmentSwitch setting("WQ_WINDOW_SYSTEM_CLIPBOARD");
  return setting;
}

// Whether the text goes to the window system's clipboard or stays here.
bool SharesWithWindowSystem() { return SharingSetting().IsOn() && wqplat::EnsureWindowSystem(); }

bool OpenedByCaller() { return is_open && opener == std::this_thread::get_id(); }

// The calls that need the clipboard opened by the calling thread.
bool RequireOpened() {
  if (OpenedByCaller()) return true;
  SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
  return false;
}

void FreeTextBlock() {
  if (text_block) GlobalFree(text_block);
  text_block = nullptr;
}

HGLOBAL BlockOfText(const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!block) return nullptr;
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  return block;
}

// The window system's text, or the text kept here when it is not shared.
std::optional<std::string> SharedText() {
  if (!SharesWithWindowSystem()) {
    if (!text_block) return std::nullopt;
    return text_utf8;
  }
  if (!SDL_HasClipboardText()) return std::nullopt;
  char* text = SDL_GetClipboardText();
  std::string result = text ? text : "";
  SDL_free(text);
  return result;
}

}  // namespace

void WqControlShareClipboardWithWindowSystem(bool share) { SharingSetting().Set(share); }

BOOL OpenClipboard(HWND /*owner*/) {
  std::lock_guard lock(clipboard_lock);
  if (is_open && !OpenedByCaller()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  is_open = true;
  opener = std::this_thread::get_id();
  return TRUE;
}

BOOL CloseClipboard() {
  std::lock_guard lock(clipboard_lock);
  if (!RequireOpened()) return FALSE;
  is_open = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  std::lock_guard lock(clipboard_lock);
  if (!RequireOpened()) return FALSE;
  FreeTextBlock();
  text_utf8.clear();
  if (SharesWithWindowSystem()) SDL_SetClipboardText("");
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE memory) {
  std::lock_guard lock(clipboard_lock);
  if (!RequireOpened()) return nullptr;
  if (format != CF_TEXT || !memory) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const char* text = static_cast<const char*>(GlobalLock(memory));
  if (!text) return nullptr;
  std::string cp932(text, strnlen(text, GlobalSize(memory)));
  GlobalUnlock(memory);
  // The clipboard's own block handed back stays; any other replaces it.
  if (memory != text_block) FreeTextBlock();
  text_block = memory;
  text_utf8 = wqplat::Cp932ToUtf8(cp932);
  if (SharesWithWindowSystem()) SDL_SetClipboardText(text_utf8.c_str());
  return memory;
}

HANDLE GetClipboardData(UINT format) {
  std::lock_guard lock(clipboard_lock);
  if (!RequireOpened()) return nullptr;
  if (format != CF_TEXT) return nullptr;
  std::optional<std::string> shared = SharedText();
  if (!shared || shared->empty()) return nullptr;
  if (!text_block || *shared != text_utf8) {
    FreeTextBlock();
    text_block = BlockOfText(wqplat::Utf8ToCp932(*shared));
    text_utf8 = *shared;
  }
  return text_block;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  std::lock_guard lock(clipboard_lock);
  if (format != CF_TEXT) return FALSE;
  std::optional<std::string> shared = SharedText();
  return shared && !shared->empty();
}
