// Sockets read into and write from a ring in place: the contiguous free
// run at the write offset and the contiguous held run at the read offset.
#pragma once

#include <algorithm>

#include "core/base/ring_buffer.h"

// Free bytes from the write offset up to the end or the read offset.
inline int RingFreeRun(RingBuffer* ring) {
  WrapRingBufferOffsets(ring);
  return std::min(ring->capacity - ring->held, ring->capacity - static_cast<int>(ring->writeOffset));
}

// Held bytes from the read offset up to the end or the write offset.
inline int RingHeldRun(RingBuffer* ring) {
  WrapRingBufferOffsets(ring);
  return std::min(ring->held, ring->capacity - static_cast<int>(ring->readOffset));
}

// n bytes were written at the write offset (n <= RingFreeRun).
inline void CommitRingWrite(RingBuffer* ring, int n) {
  ring->writeOffset += static_cast<std::uint32_t>(n);
  ring->held += n;
  WrapRingBufferOffsets(ring);
}

// n bytes at the read offset were used (n <= RingHeldRun).
inline void ConsumeRingRead(RingBuffer* ring, int n) {
  ring->readOffset += static_cast<std::uint32_t>(n);
  ring->held -= n;
  WrapRingBufferOffsets(ring);
}
