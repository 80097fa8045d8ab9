// Opening and releasing archives: streamed from a file, loaded whole, or
// from an image in memory that is keyed in place while open.
#include <algorithm>
#include <cstring>

#include "core/files/archive_reader.h"
#include "core/files/archive_tables.h"
#include "platform/kernel32.h"
#include "core/files/plain_file.h"
#include "core/base/tracked_allocator.h"

namespace {

constexpr DWORD kMagicBytes = 8;  // magic, version, table block size

bool IsArchiveOpen(const ArchiveState* state) { return state->header.magic == WQA_MAGIC; }

void TakeHeaderFields(ArchiveState* state) {
  if (state->header.version < 4) state->header.codePage = 0;
  state->charSetClass = WqaCharSetClassFromCodePage(state->header.codePage);
  state->currentDirectory = 0;
}

// Reads the first bytes under the prepared key, then under the fall-back
// key; leaves the key that shows the magic in the state.
int ReadMagicFromFile(ArchiveState* state, const char* keyString, PlainFile* file) {
  MakeArchiveKey(keyString, state->key);
  if (ReadArchiveBytes(0, &state->header, kMagicBytes, state->key, file) == 0 && state->header.magic == WQA_MAGIC) {
    return 0;
  }
  MakeFallbackArchiveKey(state->key);
  if (ReadArchiveBytes(0, &state->header, kMagicBytes, state->key, file) == 0 && state->header.magic == WQA_MAGIC) {
    return 0;
  }
  return -1;
}

// Closes the file of a failed open and leaves the state closed.
int FailOpen(ArchiveState* state, PlainFile* file, int result) {
  PlainFileClose(file);
  ClearArchiveState(state);
  return result;
}

// The header and the table block of an archive file, its PlainFile left
// open in the state. The table block is an allocation of its own.
int OpenHeaderAndTables(ArchiveState* state, const char* path, const char* keyString) {
  if (IsArchiveOpen(state)) return -1;
  ClearArchiveState(state);
  PlainFile* file = PlainFileOpen(path, 0, 1, 1);
  if (file == nullptr) return -1;
  if (ReadMagicFromFile(state, keyString, file) != 0 || state->header.version > WQA_HIGHEST_VERSION) {
    return FailOpen(state, file, -1);
  }
  if (ReadArchiveBytes(kMagicBytes, reinterpret_cast<BYTE*>(&state->header) + kMagicBytes,
                       WqaHeaderSize(state->header.version) - kMagicBytes, state->key, file) != 0 ||
      CheckArchiveHeader(&state->header, file->size) != 0) {
    return FailOpen(state, file, LogDamagedArchive());
  }
  state->tableBlock = static_cast<BYTE*>(TrackedAlloc(state->header.tableBlockSize, "", 0));
  if (state->tableBlock == nullptr ||
      ReadArchiveBytes(static_cast<LONG>(state->header.tableBlockOffset), state->tableBlock,
                       state->header.tableBlockSize, state->key, file) != 0) {
    TrackedFree(state->tableBlock);
    return FailOpen(state, file, -1);
  }
  state->file = file;
  state->archiveSize = file->size;
  TakeHeaderFields(state);
  return 0;
}

void FinishArchiveLoad(ArchiveState* state) {
  PlainFileClose(state->file);
  state->file = nullptr;
  ApplyArchiveKey(state->imageSize, state->image, 0, state->key);
  state->loadPending = 0;
  state->inMemory = 1;
}

}  // namespace

int ReadArchiveBytes(LONG position, void* destination, DWORD count, const BYTE* key, PlainFile* file) {
  if (position == -1) {
    position = PlainFileTell(file);
  } else if (PlainFileSeek(file, position, 0) != 0) {
    return -1;
  }
  if (count == 0) return 0;
  const size_t items = PlainFileRead(destination, count, 1, file);
  while (PlainFileIdleCheck(file) == 0) Sleep(0);
  if (items != 1) return -1;
  ApplyArchiveKey(count, destination, static_cast<DWORD>(position), key);
  return 0;
}

int OpenArchiveFileStreamed(ArchiveState* state, const char* path, const char* keyString) {
  return OpenHeaderAndTables(state, path, keyString);
}

int OpenArchiveFile(ArchiveState* state, const char* path, const char* keyString, int asynchronous) {
  if (OpenHeaderAndTables(state, path, keyString) != 0) return -1;
  state->imageSize = state->archiveSize;
  state->image = static_cast<BYTE*>(TrackedAlloc(state->imageSize, "", 0));
  if (state->image == nullptr || PlainFileSeek(state->file, 0, 0) != 0 ||
      PlainFileRead(state->image, state->imageSize, 1, state->file) != 1) {
    ReleaseArchiveState(state);
    return -1;
  }
  state->loadPending = 1;
  if (!asynchronous) {
    while (PollArchiveLoad(state) == 0) Sleep(0);
  }
  return 0;
}

int OpenArchiveFromMemory(ArchiveState* state, void* image, DWORD size, const char* keyString) {
  if (IsArchiveOpen(state)) return -1;
  ClearArchiveState(state);
  BYTE* bytes = static_cast<BYTE*>(image);
  if (bytes == nullptr || size < WQA_HEADER_SIZE_V0) return LogDamagedArchive();
  BYTE start[kMagicBytes];
  WqaHeader header{};
  MakeArchiveKey(keyString, state->key);
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (attempt == 1) MakeFallbackArchiveKey(state->key);
    std::memcpy(start, bytes, kMagicBytes);
    ApplyArchiveKey(kMagicBytes, start, 0, state->key);
    std::memcpy(&header, start, kMagicBytes);
    if (header.magic == WQA_MAGIC) break;
  }
  if (header.magic != WQA_MAGIC || header.version > WQA_HIGHEST_VERSION) {
    ClearArchiveState(state);
    return -1;
  }
  ApplyArchiveKey(size, bytes, 0, state->key);
  // A version 4 header is longer than the check above allowed for.
  std::memcpy(&state->header, bytes, std::min(size, WqaHeaderSize(header.version)));
  if (CheckArchiveHeader(&state->header, size) != 0) {
    ApplyArchiveKey(size, bytes, 0, state->key);
    ClearArchiveState(state);
    return LogDamagedArchive();
  }
  state->image = bytes;
  state->tableBlock = bytes + state->header.tableBlockOffset;
  state->inMemory = 1;
  state->imageBorrowed = 1;
  state->imageSize = size;
  state->archiveSize = size;
  TakeHeaderFields(state);
  return 0;
}

int PollArchiveLoad(ArchiveState* state) {
  if (!state->loadPending) return 1;
  if (PlainFileIdleCheck(state->file) == 0) return 0;
  FinishArchiveLoad(state);
  return 1;
}

BYTE* WaitArchiveLoad(ArchiveState* state) {
  while (PollArchiveLoad(state) == 0) Sleep(0);
  return state->inMemory ? state->image : nullptr;
}

int ReleaseArchiveState(ArchiveState* state) {
  if (!IsArchiveOpen(state)) return 0;
  WaitArchiveLoad(state);
  if (state->file != nullptr) PlainFileClose(state->file);
  if (state->imageBorrowed) {
    ApplyArchiveKey(state->imageSize, state->image, 0, state->key);
  } else {
    TrackedFree(state->image);
    TrackedFree(state->tableBlock);
  }
  ClearArchiveState(state);
  return 0;
}

int CloseArchive(ArchiveState* state) { return ReleaseArchiveState(state); }

void ClearArchiveState(ArchiveState* state) { std::memset(state, 0, sizeof(*state)); }
