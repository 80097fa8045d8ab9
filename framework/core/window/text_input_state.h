// Text input's state: the character ring, the handle records, the
// input-method state and the cursor blink.
#pragma once

#include <cstdint>

#include "platform/imm.h"
#include "platform/windows.h"

inline constexpr int kInputRingSlots = 1025;
inline constexpr int kTextInputSlots = 256;
inline constexpr int kCompositionSize = 1024;
inline constexpr int kClauseSize = 1024;
inline constexpr int kAttributeSize = 4096;
inline constexpr int kTextInputColorCount = 15;

struct TextInputRecord {
  std::uint32_t inUse;
  std::uint32_t check;
  std::uint32_t ended;
  std::uint32_t cancelled;
  int length;
  int maxLength;
  int selectionStart;  // -1: none
  int selectionEnd;
  int displayStart;
  int cursor;  // byte index
  char* buffer;
  std::uint32_t escapeCancels;
  std::uint32_t singleByteOnly;
  std::uint32_t digitsOnly;
};

struct ImeState {
  int composing;
  char composition[kCompositionSize];
  int cursorPosition;  // characters
  BYTE clause[kClauseSize];
  int clauseSize;
  BYTE attributes[kAttributeSize];
  int attributeCount;
  CANDIDATELIST* candidates;
  int candidatesSize;
  int openStatus;
  int used;
  int resetStep;  // 0 idle, 1 to 4
  int maxCompositionLength;  // 0: none
  int settingOpenStatus;
};

struct TextInputState {
  unsigned char ring[kInputRingSlots];
  int ringRead;
  int ringWrite;
  // The first byte of a double-byte character typed as two messages, held
  // until the second arrives (0: none; no lead byte is 0).
  unsigned char typedLeadByte;
  TextInputRecord handles[kTextInputSlots];
  std::uint32_t nextCheck;
  int activeHandle = -1;
  ImeState ime;
  int blinkTime;
  int blinkInterval;
  int cursorVisible;
  // The input display's colours (screen colours), set at start-up.
  std::uint32_t displayColors[kTextInputColorCount];
};

TextInputState& TextInput();
// The record of a handle in use, or null.
TextInputRecord* FindTextInputRecord(int handle);

// Byte size of the character at `at` (2 for a double-byte one).
int TextCharSize(const char* text, int at);
// Where the character before `at` starts.
int PreviousCharStart(const char* text, int at);

// Removes the selected bytes; the cursor goes to where they were.
void DeleteInputSelection(TextInputRecord* record);
// Frees the candidate list.
void ReleaseImeCandidates();
// Runs the input method's pending reset steps.
void RunImeResetSteps();
// Cuts a composition that would not fit the active input.
void LimitImeComposition(const TextInputRecord& record);
