// Input contexts: one per window, holding what its input method composes,
// and the composition changes with the messages that tell the window.
#pragma once

#include <memory>
#include <string>

#include "platform/wintypes.h"

namespace wqplat {

struct InputContext {
  HWND window;
  bool open = true;
  bool composing = false;
  std::string composition;  // code page 932
  int cursor = 0;           // characters
  std::string result;
};

// The window's context, made on first use; null for an invalid window.
std::shared_ptr<InputContext> ContextOfWindow(HWND window);
// The context a handle names; null for an unknown handle.
std::shared_ptr<InputContext> ContextOfHandle(HIMC handle);
HIMC HandleOfContext(const InputContext& context);

// A copy of the context's fields, taken under the contexts' lock.
InputContext ReadContext(const InputContext& context);
void SetOpenStatus(InputContext& context, bool open);

// Each sends WM_IME_STARTCOMPOSITION when no composition was running,
// WM_IME_COMPOSITION, and WM_IME_ENDCOMPOSITION when it ends. Messages go
// out on the calling thread, which is the window's.
// New text being composed; empty text cancels.
void ChangeComposition(InputContext& context, std::string text, int cursor);
// The composition ends with `result` as its result string.
void FinishComposition(InputContext& context, std::string result);

}  // namespace wqplat
