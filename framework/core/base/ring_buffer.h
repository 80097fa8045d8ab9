// Growable byte ring (network send/receive queues, sound queue). A zeroed
// record is an empty ring without storage.
#pragma once

#include <cstdint>

struct RingBuffer {
  unsigned char* data;  // tracked allocation
  std::uint32_t readOffset;
  std::uint32_t writeOffset;
  std::int32_t held;
  std::int32_t capacity;
};

// Folds offsets equal to the capacity back to 0.
void WrapRingBufferOffsets(RingBuffer* ring);
// Makes room for n more bytes; -1 when growing fails (the ring is then
// emptied and without storage).
int RingBufferReserve(RingBuffer* ring, int n);
// Appends n bytes, growing as needed; -1 when growing fails.
int RingBufferWrite(RingBuffer* ring, const void* source, int n);
// -1 and no change when fewer than n bytes are held; a peek leaves the
// ring as it was.
int RingBufferRead(RingBuffer* ring, void* destination, int n, int peek);
// Frees the storage and zeroes the record; returns 0.
int RingBufferFree(RingBuffer* ring);
