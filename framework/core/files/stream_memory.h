// A stream over a block of memory that it does not own.
#pragma once

#include "core/files/stream_functions.h"

struct MemoryStream {
  const BYTE* data;  // not owned; must outlive the stream
  LONG size;
  LONG position;
  DWORD end;
};

// A MemoryStream handle, or 0 when the allocation fails.
StreamHandle OpenMemoryStream(const void* data, LONG size);
int CloseMemoryStream(StreamHandle stream);
LONG MemoryStreamTell(StreamHandle stream);
// Clamps the target to 0..size; clears the end flag; 0.
int MemoryStreamSeek(StreamHandle stream, LONG offset, int origin);
// Whole items read; a short final item counts as one item.
std::int64_t MemoryStreamRead(void* destination, std::size_t itemSize, std::size_t count, StreamHandle stream);
int MemoryStreamEof(StreamHandle stream);
int MemoryStreamIdleCheck(StreamHandle stream);
