// The input-method editor: its messages, its composition and candidate
// list, enabling it, and closing and reopening it after activation.
#include <cstring>

#include "core/startup/library_startup.h"
#include "core/window/message_pump.h"
#include "core/startup/runtime_libraries.h"
#include "core/window/text_input.h"
#include "core/window/text_input_state.h"
#include "core/base/tracked_allocator.h"
#include "core/window/window_system_state.h"

namespace {

constexpr std::int64_t kOpenStatusSettleUs = 2000;

// The main window's input context through Imm32, released on leaving.
class ImeContext {
 public:
  ImeContext() : window_(GetMainWindow()) {
    const auto get = RuntimeEntry<HIMC (*)(HWND)>(kRuntimeImm32, "ImmGetContext");
    if (get != nullptr && window_ != nullptr) context_ = get(window_);
  }
  ~ImeContext() {
    const auto release = RuntimeEntry<BOOL (*)(HWND, HIMC)>(kRuntimeImm32, "ImmReleaseContext");
    if (release != nullptr && context_ != nullptr) release(window_, context_);
  }
  ImeContext(const ImeContext&) = delete;
  ImeContext& operator=(const ImeContext&) = delete;

  HIMC handle() const { return context_; }

  // Bytes read into the buffer (0 on any failure).
  int ReadString(DWORD index, void* buffer, int size) const {
    const LONG length = QueryComposition(index, buffer, static_cast<DWORD>(size));
    return length < 0 || length > size ? 0 : static_cast<int>(length);
  }
  int CursorBytes() const {
    const LONG bytes = QueryComposition(GCS_CURSORPOS, nullptr, 0);
    return bytes < 0 ? 0 : static_cast<int>(bytes);
  }
  void SetComposition(const char* text) const {
    const auto set = RuntimeEntry<BOOL (*)(HIMC, DWORD, LPCVOID, DWORD, LPCVOID, DWORD)>(
        kRuntimeImm32, "ImmSetCompositionStringA");
    if (set != nullptr && context_ != nullptr) {
      set(context_, SCS_SETSTR, text, static_cast<DWORD>(std::strlen(text)), nullptr, 0);
    }
  }
  void CancelComposition() const {
    const auto notify = RuntimeEntry<BOOL (*)(HIMC, DWORD, DWORD, DWORD)>(kRuntimeImm32, "ImmNotifyIME");
    if (notify != nullptr && context_ != nullptr) notify(context_, NI_COMPOSITIONSTR, CPS_CANCEL, 0);
  }
  void SetOpen(bool open) const {
    const auto set = RuntimeEntry<BOOL (*)(HIMC, BOOL)>(kRuntimeImm32, "ImmSetOpenStatus");
    if (set != nullptr && context_ != nullptr) set(context_, open);
  }
  int IsOpen() const {
    const auto get = RuntimeEntry<BOOL (*)(HIMC)>(kRuntimeImm32, "ImmGetOpenStatus");
    return get != nullptr && context_ != nullptr && get(context_) != FALSE;
  }
  DWORD ReadCandidates(CANDIDATELIST* list, DWORD size) const {
    const auto read = RuntimeEntry<DWORD (*)(HIMC, DWORD, LPCANDIDATELIST, DWORD)>(kRuntimeImm32, "ImmGetCandidateListA");
    return read != nullptr && context_ != nullptr ? read(context_, 0, list, size) : 0;
  }

 private:
  // What the input method answers, or -1 without one.
  LONG QueryComposition(DWORD index, void* buffer, DWORD size) const {
    const auto read = RuntimeEntry<LONG (*)(HIMC, DWORD, LPVOID, DWORD)>(kRuntimeImm32, "ImmGetCompositionStringA");
    return read != nullptr && context_ != nullptr ? read(context_, index, buffer, size) : -1;
  }

  HWND window_;
  HIMC context_ = nullptr;
};

ImeState& Ime() { return TextInput().ime; }

void ReadComposition(const ImeContext& context) {
  ImeState& ime = Ime();
  const int length = context.ReadString(GCS_COMPSTR, ime.composition, kCompositionSize - 1);
  ime.composition[length] = '\0';
}

// Characters before the byte position in the composition.
int CharactersBefore(const char* text, int bytes) {
  int characters = 0;
  for (int at = 0; at < bytes && text[at] != '\0'; at += TextCharSize(text, at)) ++characters;
  return characters;
}

void HandleComposition(LPARAM flags) {
  ImeState& ime = Ime();
  const ImeContext context;
  if (flags & GCS_COMPSTR) ReadComposition(context);
  if (flags & GCS_RESULTSTR) {
    char result[kCompositionSize];
    const int length = context.ReadString(GCS_RESULTSTR, result, kCompositionSize);
    PushInputText(result, length);
    ReadComposition(context);
  }
  if (flags & GCS_CURSORPOS) ime.cursorPosition = CharactersBefore(ime.composition, context.CursorBytes());
  if (flags & GCS_COMPATTR) {
    ime.attributeCount = context.ReadString(GCS_COMPATTR, ime.attributes, kAttributeSize) / 4;
  }
  if (flags & GCS_COMPCLAUSE) ime.clauseSize = context.ReadString(GCS_COMPCLAUSE, ime.clause, kClauseSize);
}

void ReadCandidateList() {
  ImeState& ime = Ime();
  const ImeContext context;
  const DWORD size = context.ReadCandidates(nullptr, 0);
  if (size == 0) {
    LogWriteFormat("漢字変換候補のデータサイズが０でした  DefHWND:%x IMC:%x",
                   static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(GetMainWindow())),
                   static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(context.handle())));
    return;
  }
  void* list = TrackedRealloc(ime.candidates, size, "", 0);
  if (list == nullptr) {
    FatalErrorFormat("漢字変換候補を保存するメモリの確保に失敗しました( 確保しようとしたサイズ %d バイト )",
                     static_cast<int>(size));
  }
  ime.candidates = static_cast<CANDIDATELIST*>(list);
  ime.candidatesSize = static_cast<int>(size);
  if (context.ReadCandidates(ime.candidates, size) == 0) {
    ReleaseImeCandidates();
    LogWriteFormat("漢字変換候補の取得に失敗しました  BufSize:%d", static_cast<int>(size));
  }
}

LRESULT HandleOpenStatus(UINT message, WPARAM wParam, LPARAM lParam) {
  ImeState& ime = Ime();
  if (ime.settingOpenStatus) return 0;
  ime.settingOpenStatus = 1;
  const LRESULT result = DefWindowProcA(GetMainWindow(), message, wParam, lParam);
  const std::int64_t start = GetTimeUs(0);
  while (GetTimeUs(0) - start < kOpenStatusSettleUs && ProcessWindowMessages() == 0) {
  }
  ime.openStatus = ImeContext().IsOpen();
  ime.settingOpenStatus = 0;
  return result;
}

LRESULT HandleNotify(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (wParam) {
    case IMN_OPENCANDIDATE:
    case IMN_CHANGECANDIDATE:
    case IMN_SETCANDIDATEPOS:
      ReadCandidateList();
      return 0;
    case IMN_CLOSECANDIDATE:
      ReleaseImeCandidates();
      return 0;
    case IMN_SETOPENSTATUS:
      return HandleOpenStatus(message, wParam, lParam);
    default:
      return DefWindowProcA(GetMainWindow(), message, wParam, lParam);
  }
}

}  // namespace

LRESULT HandleImeMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  ImeState& ime = Ime();
  ime.used = 1;
  ResetInputCursorBlink();
  switch (message) {
    case WM_IME_STARTCOMPOSITION:
      ime.composing = 1;
      ime.cursorPosition = 0;
      return 0;
    case WM_IME_ENDCOMPOSITION:
      ime.composition[0] = '\0';
      ime.composing = 0;
      return 0;
    case WM_IME_COMPOSITION:
      HandleComposition(lParam);
      return 0;
    case WM_IME_NOTIFY:
      return HandleNotify(message, wParam, lParam);
    default:
      return DefWindowProcA(GetMainWindow(), message, wParam, lParam);
  }
}

void ReleaseImeCandidates() {
  ImeState& ime = Ime();
  if (ime.candidates != nullptr) TrackedFree(ime.candidates);
  ime.candidates = nullptr;
  ime.candidatesSize = 0;
}

int SetImeEnabled(int enabled) {
  const auto enableIme = RuntimeEntry<BOOL (*)(HWND, BOOL)>(kRuntimeUser32, "WINNLSEnableIME");
  if (enableIme != nullptr) enableIme(GetMainWindow(), enabled ? TRUE : FALSE);
  if (!enabled) {
    ReleaseImeCandidates();
    Ime().composition[0] = '\0';
    Ime().composing = 0;
  }
  return 0;
}

int IsImeInUse() { return Ime().used; }

void MarkImeReenable() { Ime().resetStep = 1; }

void RunImeResetSteps() {
  ImeState& ime = Ime();
  if (ime.resetStep == 0) return;
  const ImeContext context;
  char saved[kCompositionSize];
  const int length = context.ReadString(GCS_COMPSTR, saved, kCompositionSize - 1);
  saved[length] = '\0';
  context.CancelComposition();
  context.SetOpen(false);
  context.SetOpen(true);
  if (length > 0) context.SetComposition(saved);
  ime.resetStep = 0;
}

void LimitImeComposition(const TextInputRecord& record) {
  ImeState& ime = Ime();
  int limit = record.maxLength - record.length;
  if (ime.maxCompositionLength > 0 && ime.maxCompositionLength < limit) limit = ime.maxCompositionLength;
  const int length = static_cast<int>(std::strlen(ime.composition));
  if (length <= limit) return;
  int cut = 0;
  while (cut + TextCharSize(ime.composition, cut) <= limit) cut += TextCharSize(ime.composition, cut);
  char kept[kCompositionSize];
  std::memcpy(kept, ime.composition, static_cast<size_t>(cut));
  kept[cut] = '\0';
  const ImeContext context;
  context.CancelComposition();
  context.SetComposition(kept);
}
