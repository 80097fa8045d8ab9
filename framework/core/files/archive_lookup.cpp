// Walking an archive's directory tree and finding file records by path.
#include <cstring>

#include "core/files/archive_reader.h"
#include "core/files/archive_tables.h"
#include "core/base/log_file.h"
#include "core/files/plain_file.h"
#include "core/base/string_utils.h"
#include "core/base/tracked_allocator.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasSeparator(const ArchiveState* state, const char* path) {
  for (; *path != '\0'; ++path) {
    if (IsLeadByte(path, static_cast<int>(state->charSetClass)) && path[1] != '\0') {
      ++path;
    } else if (IsSeparator(*path)) {
      return true;
    }
  }
  return false;
}

// The index-th record of the current directory, null past its end or when
// the tables are damaged.
const WqaFileRecord* CurrentDirectoryEntry(const ArchiveState* state, DWORD index) {
  const WqaDirectoryRecord* directory = GetArchiveDirectory(state, state->currentDirectory);
  return directory == nullptr ? nullptr : GetArchiveDirectoryEntry(state, directory, index);
}

// The first record of the current directory whose directory attribute is
// as asked and whose name matches.
const WqaFileRecord* FindInCurrentDirectory(const ArchiveState* state, const WqaSearchKey* key, bool directory) {
  const WqaFileRecord* record;
  for (DWORD index = 0; (record = CurrentDirectoryEntry(state, index)) != nullptr; ++index) {
    const bool isDirectory = (record->attributes & WQA_ATTRIBUTE_DIRECTORY) != 0;
    if (isDirectory == directory && ArchiveNameMatches(state, record, key)) return record;
  }
  return nullptr;
}

// Enters each component of a path in turn (a leading separator starts at
// the root). On failure *failed points at the component that could not be
// entered and lastKey holds its search key.
int WalkArchivePath(ArchiveState* state, const char* path, int restoreOnFailure, WqaSearchKey* lastKey,
                    const char** failed) {
  const DWORD saved = state->currentDirectory;
  const char* component = path;
  if (IsSeparator(*component)) {
    state->currentDirectory = 0;
    ++component;
  }
  while (*component != '\0') {
    int consumed = 0;
    if (MakeArchiveSearchName(state, component, &consumed, lastKey) != 0 ||
        EnterArchiveSubdirectory(state, lastKey) != 0) {
      if (restoreOnFailure) state->currentDirectory = saved;
      if (failed != nullptr) *failed = component;
      return -1;
    }
    component += consumed;
    if (IsSeparator(*component)) ++component;
  }
  return 0;
}

}  // namespace

int MakeArchiveSearchName(const ArchiveState* state, const char* name, int* consumed, WqaSearchKey* key) {
  const int length = MakeWqaSearchKey(name, state->charSetClass, key);
  if (length < 0) return -1;
  if (consumed != nullptr) *consumed = length;
  return 0;
}

int EnterArchiveSubdirectory(ArchiveState* state, const WqaSearchKey* key) {
  const WqaFileRecord* record = FindInCurrentDirectory(state, key, true);
  if (record == nullptr || GetArchiveDirectory(state, record->dataOffset) == nullptr) return -1;
  state->currentDirectory = record->dataOffset;
  return 0;
}

int ChangeArchiveDirectory(ArchiveState* state, const char* path, int restoreOnFailure, WqaSearchKey* lastKey) {
  WaitArchiveLoad(state);
  if (std::strcmp(path, ".") == 0) return 0;
  if (std::strcmp(path, "..") == 0) {
    const WqaDirectoryRecord* current = GetArchiveDirectory(state, state->currentDirectory);
    if (current == nullptr || current->parentOffset == WQA_NO_PARENT ||
        GetArchiveDirectory(state, current->parentOffset) == nullptr) {
      return -1;
    }
    state->currentDirectory = current->parentOffset;
    return 0;
  }
  WqaSearchKey key{};
  const int result = WalkArchivePath(state, path, restoreOnFailure, &key, nullptr);
  if (lastKey != nullptr) *lastKey = key;
  return result;
}

const WqaFileRecord* FindArchiveFileRecord(const char* path, ArchiveState* state) {
  WaitArchiveLoad(state);
  const DWORD saved = state->currentDirectory;
  WqaSearchKey key;
  const WqaFileRecord* record = nullptr;
  if (!HasSeparator(state, path)) {
    if (MakeArchiveSearchName(state, path, nullptr, &key) == 0) record = FindInCurrentDirectory(state, &key, false);
  } else {
    const char* failed = nullptr;
    // The walk stops at the first component that is not a directory; it
    // names the file only when it is the path's last component.
    if (WalkArchivePath(state, path, 0, &key, &failed) != 0 && !HasSeparator(state, failed)) {
      record = FindInCurrentDirectory(state, &key, false);
    }
  }
  state->currentDirectory = saved;
  return record;
}

DWORD GetArchiveRecordPackedSize(const ArchiveState* state, const WqaFileRecord* record) {
  return state->header.version < 2 ? WQA_STORED : record->packedSize;
}

int GetArchiveFileImage(ArchiveState* state, const char* path, DWORD* offset, DWORD* size) {
  const WqaFileRecord* record = FindArchiveFileRecord(path, state);
  if (record == nullptr) return -1;
  if (CheckArchiveFileExtent(state, record) != 0) return -1;
  if (offset != nullptr) *offset = state->header.dataAreaOffset + record->dataOffset;
  if (size != nullptr) *size = record->size;
  return 0;
}

int UnpackArchiveRecord(const WqaFileRecord* record, const void* packed, DWORD packedSize, void* destination) {
  DWORD unpackedSize = 0;
  if (UnpackArchiveData(packed, packedSize, destination, record->size, &unpackedSize) != 0 ||
      unpackedSize != record->size) {
    return LogWrite("ＷＱＡファイル内の圧縮データが壊れています\n");
  }
  return 0;
}

int LoadArchiveFileData(ArchiveState* state, const WqaFileRecord* record, void* destination) {
  WaitArchiveLoad(state);
  if (CheckArchiveFileExtent(state, record) != 0) return -1;
  const DWORD start = state->header.dataAreaOffset + record->dataOffset;
  const DWORD packedSize = GetArchiveRecordPackedSize(state, record);
  if (state->inMemory) {
    if (packedSize != WQA_STORED) return UnpackArchiveRecord(record, state->image + start, packedSize, destination);
    if (record->size > 0) std::memcpy(destination, state->image + start, record->size);
    return 0;
  }
  // Streamed: packed bytes are read into a buffer of their own.
  BYTE* packed = nullptr;
  if (packedSize != WQA_STORED) {
    packed = static_cast<BYTE*>(TrackedAlloc(packedSize, "", 0));
    if (packed == nullptr) return LogWrite("ＷＱＡファイルの圧縮データ用メモリの確保に失敗しました\n");
  }
  int result = ReadArchiveBytes(static_cast<LONG>(start), packed != nullptr ? packed : destination,
                                packed != nullptr ? packedSize : record->size, state->key, state->file);
  if (result != 0) {
    result = LogWrite("ＷＱＡファイルの読み込みに失敗しました\n");
  } else if (packed != nullptr) {
    result = UnpackArchiveRecord(record, packed, packedSize, destination);
  }
  TrackedFree(packed);
  return result;
}
