// Decoders write 16-bit little-endian PCM into byte buffers of any alignment.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/wintypes.h"

namespace wqplat {

inline void StorePcm16(BYTE* at, int value) {
  const auto sample = static_cast<std::uint16_t>(std::clamp(value, -32768, 32767));
  at[0] = static_cast<BYTE>(sample);
  at[1] = static_cast<BYTE>(sample >> 8);
}

inline std::int16_t LoadInt16(const BYTE* at) {
  return static_cast<std::int16_t>(at[0] | at[1] << 8);
}

}  // namespace wqplat
