// The slot rules that the sound, music and software-sound handle tables
// share: a handle is kind | (check << 16) | slot, with an 11-bit check
// value, and the next-slot hint drops back when the top slot is freed.
#pragma once

#include <cstdint>

constexpr int kHandleKindMask = 0x78000000;
constexpr int kHandleIndexMask = 0xFFFF;
constexpr std::uint32_t kHandleCheckLimit = 0x800;

inline std::uint32_t HandleCheck(int handle) {
  return (static_cast<std::uint32_t>(handle) >> 16) & (kHandleCheckLimit - 1);
}

inline int MakeSlotHandle(int kind, std::uint32_t check, int slot) {
  return kind | static_cast<int>(check << 16) | slot;
}

// The record of a live handle of that kind, or null.
template <typename Record>
Record* FindSlotRecord(Record* const* slots, int slotCount, int kind, int handle) {
  if (handle < 0 || (handle & kHandleKindMask) != kind) return nullptr;
  const int slot = handle & kHandleIndexMask;
  if (slot >= slotCount || slots[slot] == nullptr) return nullptr;
  return slots[slot]->check == HandleCheck(handle) ? slots[slot] : nullptr;
}

// After `slot` was emptied: when it was the one just below the hint, the
// hint drops to one above the highest occupied slot.
template <typename Record>
void LowerSlotHint(Record* const* slots, int slot, int* hint) {
  if (slot != *hint - 1) return;
  int top = slot;
  while (top > 0 && slots[top - 1] == nullptr) --top;
  *hint = top;
}
