#include "imm32/ime_events.h"

#include <mutex>

#include "imm32/input_context.h"
#include "platform/user32.h"
#include "user32/window_table.h"

namespace wqplat {
namespace {

// The context of a window whose input method takes the window system's
// text: enabled for the window and open.
std::shared_ptr<InputContext> ComposingContext(HWND window) {
  auto record = FindWindowRecord(window);
  if (!record) return nullptr;
  {
    std::lock_guard lock(UserLock());
    if (!record->ime_enabled) return nullptr;
  }
  auto context = ContextOfWindow(window);
  return context && ReadContext(*context).open ? context : nullptr;
}

}  // namespace

bool DeliverImeResult(HWND window, const std::string& text) {
  auto context = ComposingContext(window);
  if (!context) return false;
  FinishComposition(*context, text);
  return true;
}

void TypeImeResult(HWND window) {
  auto context = ContextOfWindow(window);
  if (!context) return;
  for (char byte : ReadContext(*context).result) {
    PostMessageA(window, WM_CHAR, static_cast<BYTE>(byte), 1);
  }
}

void DeliverImeComposition(HWND window, const std::string& text, int cursor) {
  if (auto context = ComposingContext(window)) ChangeComposition(*context, text, cursor);
}

}  // namespace wqplat
