// The Imm32 functions over the windows' input contexts.
#include <cstring>
#include <string>
#include <utility>

#include "imm32/input_context.h"
#include "kernel32/path_characters.h"
#include "platform/imm.h"

namespace {

// Copies the bytes when the buffer holds them all; the size either way,
// or IMM_ERROR_GENERAL when the buffer is too small.
LONG CopyOut(const void* bytes, std::size_t size, LPVOID buffer, DWORD length) {
  if (length == 0) return static_cast<LONG>(size);
  if (!buffer || length < size) return IMM_ERROR_GENERAL;
  std::memcpy(buffer, bytes, size);
  return static_cast<LONG>(size);
}

}  // namespace

HIMC ImmGetContext(HWND window) {
  auto context = wqplat::ContextOfWindow(window);
  return context ? wqplat::HandleOfContext(*context) : nullptr;
}

BOOL ImmReleaseContext(HWND window, HIMC context) {
  auto found = wqplat::ContextOfHandle(context);
  return found && found->window == window;
}

LONG ImmGetCompositionStringA(HIMC handle, DWORD index, LPVOID buffer, DWORD length) {
  auto context = wqplat::ContextOfHandle(handle);
  if (!context) return IMM_ERROR_GENERAL;
  wqplat::InputContext state = wqplat::ReadContext(*context);
  switch (index) {
    case GCS_COMPSTR:
      return CopyOut(state.composition.data(), state.composition.size(), buffer, length);
    case GCS_RESULTSTR:
      return CopyOut(state.result.data(), state.result.size(), buffer, length);
    case GCS_CURSORPOS: {
      // The narrow interface counts the cursor in bytes.
      std::size_t bytes = 0;
      for (int character = 0; character < state.cursor && bytes < state.composition.size(); ++character) {
        bytes += wqplat::Cp932CharLength(state.composition, bytes);
      }
      return static_cast<LONG>(bytes);
    }
    case GCS_COMPATTR: {
      // The whole composition is one clause being typed.
      std::string attributes(state.composition.size(), static_cast<char>(ATTR_INPUT));
      return CopyOut(attributes.data(), attributes.size(), buffer, length);
    }
    case GCS_COMPCLAUSE: {
      if (state.composition.empty()) return 0;
      const DWORD clauses[2] = {0, static_cast<DWORD>(state.composition.size())};
      return CopyOut(clauses, sizeof clauses, buffer, length);
    }
    default:
      return IMM_ERROR_GENERAL;
  }
}

BOOL ImmSetCompositionStringA(HIMC handle, DWORD index, LPCVOID composition,
                              DWORD composition_length, LPCVOID, DWORD) {
  auto context = wqplat::ContextOfHandle(handle);
  if (!context || index != SCS_SETSTR || (!composition && composition_length != 0)) return FALSE;
  std::string text(static_cast<const char*>(composition), composition_length);
  int characters = 0;
  for (std::size_t at = 0; at < text.size(); ++characters) {
    at += wqplat::Cp932CharLength(text, at);
  }
  wqplat::ChangeComposition(*context, std::move(text), characters);
  return TRUE;
}

BOOL ImmNotifyIME(HIMC handle, DWORD action, DWORD index, DWORD) {
  auto context = wqplat::ContextOfHandle(handle);
  if (!context || action != NI_COMPOSITIONSTR) return FALSE;
  switch (index) {
    case CPS_CANCEL:
      wqplat::ChangeComposition(*context, {}, 0);
      return TRUE;
    case CPS_COMPLETE: {
      wqplat::InputContext state = wqplat::ReadContext(*context);
      if (!state.composing) return FALSE;
      wqplat::FinishComposition(*context, std::move(state.composition));
      return TRUE;
    }
    default:
      return FALSE;
  }
}

BOOL ImmGetOpenStatus(HIMC handle) {
  auto context = wqplat::ContextOfHandle(handle);
  return context && wqplat::ReadContext(*context).open;
}

BOOL ImmSetOpenStatus(HIMC handle, BOOL open) {
  auto context = wqplat::ContextOfHandle(handle);
  if (!context) return FALSE;
  wqplat::SetOpenStatus(*context, open != FALSE);
  return TRUE;
}

DWORD ImmGetCandidateListA(HIMC, DWORD, LPCANDIDATELIST, DWORD) { return 0; }

BOOL ImmGetConversionStatus(HIMC handle, LPDWORD conversion, LPDWORD sentence) {
  auto context = wqplat::ContextOfHandle(handle);
  if (!context) return FALSE;
  bool open = wqplat::ReadContext(*context).open;
  if (conversion) *conversion = open ? IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE : 0;
  if (sentence) *sentence = IME_SMODE_PHRASEPREDICT;
  return TRUE;
}
