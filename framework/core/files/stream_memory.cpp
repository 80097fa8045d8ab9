#include "core/files/stream_memory.h"

#include <algorithm>
#include <cstring>

#include "core/base/tracked_allocator.h"

namespace {

MemoryStream* AsMemoryStream(StreamHandle stream) { return reinterpret_cast<MemoryStream*>(stream); }

}  // namespace

StreamHandle OpenMemoryStream(const void* data, LONG size) {
  auto* stream = static_cast<MemoryStream*>(TrackedAllocZero(sizeof(MemoryStream), "", 0));
  if (stream == nullptr) return 0;
  stream->data = static_cast<const BYTE*>(data);
  stream->size = std::max<LONG>(size, 0);
  return reinterpret_cast<StreamHandle>(stream);
}

int CloseMemoryStream(StreamHandle stream) {
  TrackedFree(AsMemoryStream(stream));
  return 0;
}

LONG MemoryStreamTell(StreamHandle stream) { return AsMemoryStream(stream)->position; }

int MemoryStreamSeek(StreamHandle stream, LONG offset, int origin) {
  MemoryStream* memory = AsMemoryStream(stream);
  const long long base = origin == 1 ? memory->position : origin == 2 ? memory->size : 0;
  memory->position = static_cast<LONG>(std::clamp<long long>(base + offset, 0, memory->size));
  memory->end = 0;
  return 0;
}

std::int64_t MemoryStreamRead(void* destination, std::size_t itemSize, std::size_t count, StreamHandle stream) {
  MemoryStream* memory = AsMemoryStream(stream);
  if (memory->position == memory->size) {
    memory->end = 1;
    return 0;
  }
  memory->end = 0;
  // Zero items write nothing.
  if (itemSize == 0 || count == 0) return 0;
  const auto remaining = static_cast<std::size_t>(memory->size - memory->position);
  const BYTE* source = memory->data + memory->position;
  if (count > remaining / itemSize) count = remaining / itemSize;
  if (count == 0) {
    // Fewer bytes than one item remain: they are delivered as one item.
    std::memcpy(destination, source, remaining);
    memory->position = memory->size;
    return 1;
  }
  std::memcpy(destination, source, itemSize * count);
  memory->position += static_cast<LONG>(itemSize * count);
  return static_cast<std::int64_t>(count);
}

int MemoryStreamEof(StreamHandle stream) { return AsMemoryStream(stream)->end ? 1 : 0; }

int MemoryStreamIdleCheck(StreamHandle /*stream*/) { return 1; }
