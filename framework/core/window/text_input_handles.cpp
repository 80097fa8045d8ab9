// Text-input handles: slots of edit buffers, made, found and deleted, and
// text input's start-up.
#include <cstring>
#include <utility>

#include "WqLib.h"
#include "core/base/charset_state.h"
#include "core/base/string_utils.h"
#include "core/window/text_input.h"
#include "core/window/text_input_state.h"
#include "core/base/tracked_allocator.h"

namespace {

constexpr int kHandleKind = 0x38000000;
constexpr int kHandleKindMask = 0x78000000;
constexpr std::uint32_t kCheckMask = 0x7FF;
constexpr int kIndexMask = 0xFFFF;
constexpr int kBlinkIntervalMs = 500;

TextInputState g_textInput;

int HandleOf(const TextInputRecord& record, int index) {
  return kHandleKind | static_cast<int>(record.check << 16) | index;
}

bool AnyHandleInUse() {
  for (const TextInputRecord& record : g_textInput.handles) {
    if (record.inUse) return true;
  }
  return false;
}

// White, yellow, white, cyan, white, red, a light yellow, three blacks,
// yellow, black, white, black and grey.
void SetInputDisplayColors() {
  static constexpr int kColors[kTextInputColorCount][3] = {
      {255, 255, 255}, {255, 255, 0}, {255, 255, 255}, {0, 255, 255}, {255, 255, 255},
      {255, 0, 0},     {255, 255, 20}, {0, 0, 0},      {0, 0, 0},     {0, 0, 0},
      {255, 255, 0},   {0, 0, 0},      {255, 255, 255}, {0, 0, 0},    {128, 128, 128}};
  for (int i = 0; i < kTextInputColorCount; ++i)
    g_textInput.displayColors[i] = MakeColor(kColors[i][0], kColors[i][1], kColors[i][2]);
}

}  // namespace

TextInputState& TextInput() { return g_textInput; }

TextInputRecord* FindTextInputRecord(int handle) {
  if (handle < 0 || (handle & kHandleKindMask) != kHandleKind) return nullptr;
  const int index = handle & kIndexMask;
  if (index >= kTextInputSlots) return nullptr;
  TextInputRecord& record = g_textInput.handles[index];
  if (!record.inUse || record.check != ((static_cast<std::uint32_t>(handle) >> 16) & kCheckMask)) {
    return nullptr;
  }
  return &record;
}

int TextCharSize(const char* text, int at) {
  return text[at] != '\0' && IsLeadByte(&text[at], GetCharSetClass()) && text[at + 1] != '\0' ? 2 : 1;
}

int PreviousCharStart(const char* text, int at) {
  int start = 0;
  for (int next = 0; next < at; next += TextCharSize(text, next)) start = next;
  return start;
}

void DeleteInputSelection(TextInputRecord* record) {
  if (record->selectionStart < 0) return;
  int start = record->selectionStart;
  int end = record->selectionEnd;
  if (start > end) std::swap(start, end);
  std::memmove(record->buffer + start, record->buffer + end, static_cast<size_t>(record->length - end));
  record->length -= end - start;
  record->buffer[record->length] = '\0';
  record->cursor = start;
  record->selectionStart = -1;
  record->selectionEnd = -1;
  if (record->displayStart > record->length) record->displayStart = record->length;
}

void ResetInputCursorBlink() {
  g_textInput.blinkTime = GetTimeMs();
  g_textInput.cursorVisible = 1;
}

int MakeTextInputHandle(int maxLength, int escapeCancels, int singleByteOnly, int digitsOnly) {
  if (maxLength < 1) return -1;
  int index = 0;
  while (index < kTextInputSlots && g_textInput.handles[index].inUse) ++index;
  if (index == kTextInputSlots) return -1;
  auto* buffer = static_cast<char*>(TrackedAllocZero(static_cast<size_t>(maxLength) + 1, "", 0));
  if (buffer == nullptr) return -1;
  TextInputRecord& record = g_textInput.handles[index];
  record = TextInputRecord{};
  record.inUse = 1;
  record.check = g_textInput.nextCheck++ & kCheckMask;
  record.maxLength = maxLength;
  record.selectionStart = -1;
  record.selectionEnd = -1;
  record.buffer = buffer;
  record.escapeCancels = escapeCancels != 0;
  record.singleByteOnly = singleByteOnly != 0;
  record.digitsOnly = digitsOnly != 0;
  return HandleOf(record, index);
}

int SetActiveTextInputHandle(int handle) {
  if (handle != -1 && FindTextInputRecord(handle) == nullptr) return -1;
  g_textInput.activeHandle = handle;
  return 0;
}

int DeleteTextInputHandle(int handle) {
  TextInputRecord* record = FindTextInputRecord(handle);
  if (record == nullptr) return -1;
  TrackedFree(record->buffer);
  *record = TextInputRecord{};
  if (g_textInput.activeHandle == handle) g_textInput.activeHandle = -1;
  if (!AnyHandleInUse()) SetImeEnabled(0);
  return 0;
}

int DeleteAllTextInputHandles() {
  for (int index = 0; index < kTextInputSlots; ++index) {
    TextInputRecord& record = g_textInput.handles[index];
    if (!record.inUse) continue;
    DeleteTextInputHandle(HandleOf(record, index));
  }
  ReleaseImeCandidates();
  return 0;
}

int InitTextInput() {
  LogWrite("文字コードバッファの初期化を行います... ");
  ReleaseImeCandidates();
  const std::uint32_t nextCheck = g_textInput.nextCheck;
  g_textInput = TextInputState{};
  g_textInput.nextCheck = nextCheck;
  SetInputDisplayColors();
  g_textInput.activeHandle = -1;
  g_textInput.blinkInterval = kBlinkIntervalMs;
  g_textInput.cursorVisible = 1;
  LogWrite("完了しました\n");
  return 0;
}
