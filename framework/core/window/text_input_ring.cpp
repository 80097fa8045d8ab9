// The input-character ring: 1,025 slots, one always free.
#include "core/base/charset_state.h"
#include "core/base/string_utils.h"
#include "core/window/text_input.h"
#include "core/window/text_input_state.h"

namespace {

struct EditKey {
  BYTE virtualKey;
  unsigned char controlCode;
};

constexpr EditKey kEditKeyCharTable[] = {
    {VK_DELETE, 0x10}, {VK_LEFT, 0x1D}, {VK_RIGHT, 0x1C}, {VK_UP, 0x1E},   {VK_DOWN, 0x1F},
    {VK_HOME, 0x1A},   {VK_END, 0x19},  {VK_PRIOR, 0x17}, {VK_NEXT, 0x15},
};

int NextSlot(int index) { return (index + 1) % kInputRingSlots; }

int FreeSlots() {
  const TextInputState& state = TextInput();
  return (state.ringRead - state.ringWrite - 1 + kInputRingSlots) % kInputRingSlots;
}

}  // namespace

int PushInputChar(unsigned char byte) {
  TextInputState& state = TextInput();
  if (NextSlot(state.ringWrite) == state.ringRead) return -1;
  state.ring[state.ringWrite] = byte;
  state.ringWrite = NextSlot(state.ringWrite);
  return 0;
}

int PushInputText(const char* text, int length) {
  for (int at = 0; at < length;) {
    const int size = at + 1 < length && IsLeadByte(&text[at], GetCharSetClass()) ? 2 : 1;
    if (size > FreeSlots()) return -1;
    for (int byte = 0; byte < size; ++byte) PushInputChar(static_cast<unsigned char>(text[at + byte]));
    at += size;
  }
  return 0;
}

void PushTypedByte(unsigned char byte) {
  TextInputState& state = TextInput();
  if (state.typedLeadByte != 0) {
    const char character[2] = {static_cast<char>(state.typedLeadByte), static_cast<char>(byte)};
    state.typedLeadByte = 0;
    PushInputText(character, 2);
  } else if (IsLeadByte(&byte, GetCharSetClass())) {
    state.typedLeadByte = byte;
  } else {
    PushInputChar(byte);
  }
}

int TakeInputChar(unsigned char out[2], int take) {
  TextInputState& state = TextInput();
  const int start = state.ringRead;
  if (start == state.ringWrite) return 0;
  int read = start;
  out[0] = state.ring[read];
  read = NextSlot(read);
  int count = 1;
  if (!IsEditControlChar(out[0]) && IsLeadByte(&out[0], GetCharSetClass())) {
    // The second byte has not arrived yet: wait for it.
    if (read == state.ringWrite) return 0;
    out[1] = state.ring[read];
    read = NextSlot(read);
    count = 2;
  }
  if (take) state.ringRead = read;
  return count;
}

int IsEditControlChar(unsigned char byte) {
  for (const EditKey& key : kEditKeyCharTable) {
    if (key.controlCode == byte) return 1;
  }
  return 0;
}

int FindEditKeyChar(WPARAM virtualKey) {
  for (const EditKey& key : kEditKeyCharTable) {
    if (key.virtualKey == virtualKey) return key.controlCode;
  }
  return 0;
}
