#include "imm32/input_context.h"

#include <map>
#include <mutex>
#include <tuple>
#include <utility>

#include "kernel32/path_characters.h"
#include "platform/imm.h"
#include "platform/user32.h"

namespace wqplat {
namespace {

std::mutex contexts_lock;
std::map<HWND, std::shared_ptr<InputContext>> contexts;

// The first character of the text, as WM_IME_COMPOSITION's wParam carries
// it: a double-byte character's two bytes, lead byte high.
WPARAM FirstCharacter(const std::string& text) {
  if (text.empty()) return 0;
  auto lead = static_cast<unsigned char>(text[0]);
  bool double_byte = IsCp932LeadByte(lead) && text.size() > 1;
  return double_byte ? (WPARAM{lead} << 8) | static_cast<unsigned char>(text[1]) : lead;
}

// Updates the context under the lock, then tells the window.
template <class Change>
void ChangeAndTell(InputContext& context, Change change) {
  bool was_composing;
  bool composing;
  WPARAM character;
  LPARAM flags;
  {
    std::lock_guard lock(contexts_lock);
    was_composing = context.composing;
    std::tie(character, flags) = change(context);
    composing = context.composing;
  }
  if (!was_composing && flags == 0) return;
  if (!was_composing) SendMessageA(context.window, WM_IME_STARTCOMPOSITION, 0, 0);
  SendMessageA(context.window, WM_IME_COMPOSITION, character, flags);
  if (!composing) SendMessageA(context.window, WM_IME_ENDCOMPOSITION, 0, 0);
}

}  // namespace

std::shared_ptr<InputContext> ContextOfWindow(HWND window) {
  if (!IsWindow(window)) return nullptr;
  std::lock_guard lock(contexts_lock);
  auto& context = contexts[window];
  if (!context) {
    context = std::make_shared<InputContext>();
    context->window = window;
  }
  return context;
}

std::shared_ptr<InputContext> ContextOfHandle(HIMC handle) {
  std::lock_guard lock(contexts_lock);
  for (const auto& [window, context] : contexts) {
    if (HandleOfContext(*context) == handle) return context;
  }
  return nullptr;
}

HIMC HandleOfContext(const InputContext& context) {
  return reinterpret_cast<HIMC>(const_cast<InputContext*>(&context));
}

InputContext ReadContext(const InputContext& context) {
  std::lock_guard lock(contexts_lock);
  return context;
}

void SetOpenStatus(InputContext& context, bool open) {
  {
    std::lock_guard lock(contexts_lock);
    if (context.open == open) return;
    context.open = open;
  }
  SendMessageA(context.window, WM_IME_NOTIFY, IMN_SETOPENSTATUS, 0);
}

void ChangeComposition(InputContext& context, std::string text, int cursor) {
  ChangeAndTell(context, [&](InputContext& changed) -> std::pair<WPARAM, LPARAM> {
    changed.composing = !text.empty();
    changed.composition = std::move(text);
    changed.cursor = changed.composing ? cursor : 0;
    return {0, changed.composing ? GCS_COMPSTR | GCS_COMPATTR | GCS_COMPCLAUSE | GCS_CURSORPOS : 0};
  });
}

void FinishComposition(InputContext& context, std::string result) {
  ChangeAndTell(context, [&](InputContext& changed) -> std::pair<WPARAM, LPARAM> {
    changed.composing = false;
    changed.composition.clear();
    changed.cursor = 0;
    changed.result = std::move(result);
    return {FirstCharacter(changed.result), GCS_RESULTSTR};
  });
}

}  // namespace wqplat
