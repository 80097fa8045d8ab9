// The saturating add and subtract on whole pixels. The lowest bit of every
// channel above the first is masked out of both operands, so that it
// catches the carry (or borrow) of the channel below; that guard bit then
// spreads into a mask that saturates the channel. The guard bits cost the
// upper channels their lowest bit, which the add may OR back in.
#pragma once

#include <cstdint>

struct PackedLayout {
  std::uint32_t operand;  // the bits that take part
  std::uint32_t guard;    // the lowest bit of each channel above the first
  int shift;              // from a guard bit down to the channel below it
  std::uint32_t lowBits;  // the guarded bits of the pixel itself
};
inline constexpr PackedLayout kPacked32{0x00FEFEFF, 0x01010100, 8, 0x00010100};
inline constexpr PackedLayout kPacked565{0xF7DEF7DF, 0x08210820, 5, 0x0820};

template <PackedLayout L, bool kLowBits>
inline std::uint32_t SaturatingAdd(std::uint32_t d, std::uint32_t t) {
  const std::uint32_t sum = (d & L.operand) + (t & L.operand);
  const std::uint32_t carry = sum & L.guard;
  const std::uint32_t low = kLowBits ? (d | t) & L.lowBits : 0;
  return (carry - (carry >> L.shift)) | low | sum;
}

template <PackedLayout L>
inline std::uint32_t SaturatingSubtract(std::uint32_t d, std::uint32_t t) {
  const std::uint32_t difference = (d | L.guard) - (t & L.operand);
  const std::uint32_t borrow = difference & L.guard;
  return difference & (borrow - (borrow >> L.shift));
}
