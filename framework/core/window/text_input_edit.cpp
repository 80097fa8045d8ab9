// ProcessTextInput: the queued characters and edit codes applied to the
// active handle's edit buffer.
#include <cstring>

#include "core/window/input_devices.h"
#include "platform/dinput.h"
#include "core/window/text_input.h"
#include "core/window/text_input_state.h"
#include "core/base/tracked_allocator.h"

namespace {

constexpr unsigned char kCopy = 0x03;
constexpr unsigned char kBackSpace = 0x08;
constexpr unsigned char kTab = 0x09;
constexpr unsigned char kEnter = 0x0D;
constexpr unsigned char kDelete = 0x10;
constexpr unsigned char kPaste = 0x16;
constexpr unsigned char kCut = 0x18;
constexpr unsigned char kEscape = 0x1B;
constexpr unsigned char kRight = 0x1C;
constexpr unsigned char kLeft = 0x1D;
constexpr unsigned char kUp = 0x1E;
constexpr unsigned char kDown = 0x1F;
constexpr unsigned char kHome = 0x1A;
constexpr unsigned char kEnd = 0x19;
constexpr unsigned char kPageUp = 0x17;
constexpr unsigned char kPageDown = 0x15;

bool HasSelection(const TextInputRecord& record) {
  return record.selectionStart >= 0 && record.selectionStart != record.selectionEnd;
}

void RemoveBytes(TextInputRecord& record, int start, int end) {
  std::memmove(record.buffer + start, record.buffer + end, static_cast<size_t>(record.length - end + 1));
  record.length -= end - start;
  if (record.cursor > end) {
    record.cursor -= end - start;
  } else if (record.cursor > start) {
    record.cursor = start;
  }
  if (record.displayStart > record.length) record.displayStart = record.length;
}

void CopySelection(const TextInputRecord& record) {
  if (!HasSelection(record)) return;
  const int start = record.selectionStart < record.selectionEnd ? record.selectionStart : record.selectionEnd;
  const int size = record.selectionStart < record.selectionEnd ? record.selectionEnd - start
                                                                : record.selectionStart - start;
  auto* text = static_cast<char*>(TrackedAlloc(static_cast<size_t>(size) + 1, "", 0));
  if (text == nullptr) return;
  std::memcpy(text, record.buffer + start, static_cast<size_t>(size));
  text[size] = '\0';
  WriteClipboardText(text);
  TrackedFree(text);
}

void PasteClipboard() {
  const int size = ReadClipboardText(nullptr);
  if (size <= 0) return;
  auto* text = static_cast<char*>(TrackedAlloc(static_cast<size_t>(size), "", 0));
  if (text == nullptr) return;
  if (ReadClipboardText(text) == 0) PushInputText(text, static_cast<int>(std::strlen(text)));
  TrackedFree(text);
}

// Moves the cursor; with Shift held the selection runs from where it was.
void MoveCursor(TextInputRecord& record, int to) {
  if (IsKeyDown(D_DIK_LSHIFT) || IsKeyDown(D_DIK_RSHIFT)) {
    if (record.selectionStart < 0) record.selectionStart = record.cursor;
    record.selectionEnd = to;
  } else {
    record.selectionStart = -1;
    record.selectionEnd = -1;
  }
  record.cursor = to;
}

bool Refused(const TextInputRecord& record, const unsigned char* character, int size) {
  if (record.digitsOnly && (size != 1 || character[0] < '0' || character[0] > '9')) return true;
  if (record.singleByteOnly && size == 2) return true;
  // A character wider than the whole input could never be made room for.
  return size > record.maxLength;
}

void InsertCharacter(TextInputRecord& record, const unsigned char* character, int size) {
  if (Refused(record, character, size)) return;
  DeleteInputSelection(&record);
  // Room is made by dropping the text's last characters.
  while (record.length + size > record.maxLength) {
    RemoveBytes(record, PreviousCharStart(record.buffer, record.length), record.length);
  }
  std::memmove(record.buffer + record.cursor + size, record.buffer + record.cursor,
               static_cast<size_t>(record.length - record.cursor + 1));
  std::memcpy(record.buffer + record.cursor, character, static_cast<size_t>(size));
  record.length += size;
  record.cursor += size;
}

void ApplyCharacter(TextInputRecord& record, const unsigned char* character, int size) {
  if (size == 2) {
    InsertCharacter(record, character, size);
    return;
  }
  switch (character[0]) {
    case kCopy: CopySelection(record); break;
    case kCut:
      CopySelection(record);
      DeleteInputSelection(&record);
      break;
    case kPaste: PasteClipboard(); break;
    case kBackSpace:
      if (HasSelection(record)) {
        DeleteInputSelection(&record);
      } else if (record.cursor > 0) {
        RemoveBytes(record, PreviousCharStart(record.buffer, record.cursor), record.cursor);
      }
      break;
    case kDelete:
      if (HasSelection(record)) {
        DeleteInputSelection(&record);
      } else if (record.cursor < record.length) {
        RemoveBytes(record, record.cursor, record.cursor + TextCharSize(record.buffer, record.cursor));
      }
      break;
    case kEnter:
    case kTab:
    case kUp:
    case kDown:
      record.ended = 1;
      break;
    case kEscape:
      if (record.escapeCancels) {
        record.ended = 1;
        record.cancelled = 1;
      }
      break;
    case kLeft:
      MoveCursor(record, PreviousCharStart(record.buffer, record.cursor));
      break;
    case kRight:
      if (record.cursor < record.length) {
        MoveCursor(record, record.cursor + TextCharSize(record.buffer, record.cursor));
      } else {
        MoveCursor(record, record.cursor);
      }
      break;
    case kHome: MoveCursor(record, 0); break;
    case kEnd: MoveCursor(record, record.length); break;
    // A one-line input has no pages; the codes are edit keys, never text.
    case kPageUp:
    case kPageDown: break;
    default: InsertCharacter(record, character, size); break;
  }
}

}  // namespace

int ProcessTextInput() {
  TextInputState& state = TextInput();
  RunImeResetSteps();
  if (state.activeHandle == -1) return 0;
  TextInputRecord* record = FindTextInputRecord(state.activeHandle);
  if (record == nullptr) return -1;
  if (record->ended) return 0;
  if (state.ime.composing) LimitImeComposition(*record);
  unsigned char character[2];
  int size;
  while (!record->ended && (size = TakeInputChar(character, 1)) != 0) {
    ResetInputCursorBlink();
    ApplyCharacter(*record, character, size);
  }
  return 0;
}
