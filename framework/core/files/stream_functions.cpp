#include "core/files/stream_functions.h"

#include "core/files/stream_memory.h"

namespace {

constexpr StreamFunctionTable kFileStreamFunctions = {
    FileAccessTell, FileAccessSeek, FileAccessRead, FileAccessEof, FileAccessIdleCheck, FileAccessClose,
};

constexpr StreamFunctionTable kMemoryStreamFunctions = {
    MemoryStreamTell, MemoryStreamSeek,      MemoryStreamRead,
    MemoryStreamEof,  MemoryStreamIdleCheck, CloseMemoryStream,
};

}  // namespace

const StreamFunctionTable* GetFileStreamFunctions() { return &kFileStreamFunctions; }
const StreamFunctionTable* GetMemoryStreamFunctions() { return &kMemoryStreamFunctions; }
