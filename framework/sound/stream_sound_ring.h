// Ring arithmetic of a stream sound's one-second buffer, and the region
// that one refill locks in it.
#pragma once

#include <cstdint>

#include "sound/sound_record.h"

// Bytes from `from` forward to `to` in a ring of `ring` bytes.
inline std::uint32_t RingDistance(std::uint32_t from, std::uint32_t to, std::uint32_t ring) {
  return to >= from ? to - from : to + ring - from;
}

// Whether a cursor moving forward from `from` to `to` reached `mark`.
inline bool CursorPassed(std::uint32_t from, std::uint32_t to, std::uint32_t mark) {
  if (from == to) return false;
  if (from < to) return from < mark && mark <= to;
  return mark > from || mark <= to;
}

// The bytes a stream sound keeps written ahead of the cursor at most:
// three quarters of a second, rounded up to whole blocks.
inline std::uint32_t FillGuardBytes(const WAVEFORMATEX& format) {
  const std::uint64_t guard = (std::uint64_t{format.nAvgBytesPerSec} * 3 << 6) >> 8;
  const std::uint32_t block = format.nBlockAlign;
  return static_cast<std::uint32_t>((guard + block - 1) / block * block);
}

// The two parts IDirectSoundBuffer::Lock returns, with what is written.
struct LockedRegion {
  std::uint32_t start;
  std::uint32_t ring;
  BYTE* part[2];
  std::uint32_t bytes[2];
  std::uint32_t left[2];

  // Where the next byte goes, as a ring offset.
  std::uint32_t RingPosition() const {
    if (left[0] > 0 || bytes[1] == 0) return (start + bytes[0] - left[0]) % ring;
    return bytes[1] - left[1];
  }
  BYTE* Next(int index) { return part[index] + bytes[index] - left[index]; }
};
