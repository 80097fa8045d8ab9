// Streams as readers receive them: a table of six operations and a handle,
// so one image, sound or movie reader works on a file, a file inside an
// archive, or a block of memory alike.
#pragma once

#include "core/files/file_access_table.h"

using StreamHandle = std::uintptr_t;

struct StreamFunctionTable {
  LONG (*tell)(StreamHandle stream);
  int (*seek)(StreamHandle stream, LONG offset, int origin);
  std::int64_t (*read)(void* destination, std::size_t itemSize, std::size_t count, StreamHandle stream);
  int (*eof)(StreamHandle stream);
  int (*idleCheck)(StreamHandle stream);
  int (*close)(StreamHandle stream);
};

// What a reader receives, built on the caller's stack; the caller keeps
// the handle and closes the stream after the reader returns.
struct StreamSource {
  StreamFunctionTable functions;
  StreamHandle handle;
};

// Over the file-access thunks; handles from FileAccessOpen.
const StreamFunctionTable* GetFileStreamFunctions();
// Over memory streams; handles from OpenMemoryStream.
const StreamFunctionTable* GetMemoryStreamFunctions();
