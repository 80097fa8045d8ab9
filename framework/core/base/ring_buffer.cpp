#include "core/base/ring_buffer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/base/log_file.h"
#include "core/base/tracked_allocator.h"

void WrapRingBufferOffsets(RingBuffer* ring) {
  const auto capacity = static_cast<std::uint32_t>(ring->capacity);
  if (ring->readOffset == capacity) ring->readOffset = 0;
  if (ring->writeOffset == capacity) ring->writeOffset = 0;
}

namespace {

// Copies n bytes between a linear buffer and the ring starting at offset,
// wrapping at the capacity.
void CopyOut(const RingBuffer* ring, std::uint32_t offset, unsigned char* destination, int n) {
  const int firstPiece = std::min(n, ring->capacity - static_cast<int>(offset));
  std::memcpy(destination, ring->data + offset, static_cast<std::size_t>(firstPiece));
  std::memcpy(destination + firstPiece, ring->data, static_cast<std::size_t>(n - firstPiece));
}

void CopyIn(RingBuffer* ring, std::uint32_t offset, const unsigned char* source, int n) {
  const int firstPiece = std::min(n, ring->capacity - static_cast<int>(offset));
  std::memcpy(ring->data + offset, source, static_cast<std::size_t>(firstPiece));
  std::memcpy(ring->data, source + firstPiece, static_cast<std::size_t>(n - firstPiece));
}

std::uint32_t Advance(const RingBuffer* ring, std::uint32_t offset, int n) {
  return static_cast<std::uint32_t>((static_cast<std::int64_t>(offset) + n) % ring->capacity);
}

}  // namespace

int RingBufferReserve(RingBuffer* ring, int n) {
  if (n < 0) return -1;
  WrapRingBufferOffsets(ring);
  if (static_cast<std::int64_t>(ring->capacity) >= static_cast<std::int64_t>(ring->held) + n) return 0;

  // Computed wide so that a huge request fails instead of wrapping.
  const std::int64_t newCapacity = static_cast<std::int64_t>(ring->held) * 3 / 2 + n + 1000;
  auto* storage = newCapacity <= INT32_MAX
                      ? static_cast<unsigned char*>(TrackedAlloc(static_cast<std::size_t>(newCapacity), "", 0))
                      : nullptr;
  if (storage == nullptr) {
    RingBufferFree(ring);
    LogWriteFormat("リングバッファの再確保に失敗しました(確保しようとしたサイズ %lld byte)",
                   static_cast<long long>(newCapacity));
    return -1;
  }
  if (ring->held > 0) CopyOut(ring, ring->readOffset, storage, ring->held);
  TrackedFree(ring->data);
  ring->data = storage;
  ring->capacity = static_cast<std::int32_t>(newCapacity);
  ring->readOffset = 0;
  ring->writeOffset = static_cast<std::uint32_t>(ring->held);
  return 0;
}

int RingBufferWrite(RingBuffer* ring, const void* source, int n) {
  if (RingBufferReserve(ring, n) != 0) return -1;
  if (n == 0) return 0;
  CopyIn(ring, ring->writeOffset, static_cast<const unsigned char*>(source), n);
  ring->writeOffset = Advance(ring, ring->writeOffset, n);
  ring->held += n;
  return 0;
}

int RingBufferRead(RingBuffer* ring, void* destination, int n, int peek) {
  WrapRingBufferOffsets(ring);
  if (n < 0 || n > ring->held) return -1;
  if (n == 0) return 0;
  CopyOut(ring, ring->readOffset, static_cast<unsigned char*>(destination), n);
  if (!peek) {
    ring->held -= n;
    ring->readOffset = Advance(ring, ring->readOffset, n);
  }
  return 0;
}

int RingBufferFree(RingBuffer* ring) {
  TrackedFree(ring->data);
  *ring = RingBuffer{};
  return 0;
}
