#include "core/files/archive_file.h"

#include <algorithm>
#include <cstring>

#include "core/files/archive_tables.h"
#include "core/files/plain_file.h"
#include "platform/kernel32.h"
#include "core/base/tracked_allocator.h"

namespace {

DWORD DataStart(const ArchiveFileState* file) {
  return file->archive->header.dataAreaOffset + file->record->dataOffset;
}

void WaitUntilIdle(ArchiveFileState* file) {
  while (ArchiveFileIdleCheck(file) == 0) Sleep(1);
}

void FinishPackedRead(ArchiveFileState* file) {
  const DWORD packedSize = GetArchiveRecordPackedSize(file->archive, file->record);
  ApplyArchiveKey(packedSize, file->packedBuffer, file->pendingPosition, file->archive->key);
  if (UnpackArchiveRecord(file->record, file->packedBuffer, packedSize, file->unpacked) != 0) file->damaged = 1;
  TrackedFree(file->packedBuffer);
  file->packedBuffer = nullptr;
}

// Starts the asynchronous read of a packed file from a streamed archive.
int StartPackedRead(ArchiveFileState* file) {
  const DWORD packedSize = GetArchiveRecordPackedSize(file->archive, file->record);
  file->packedBuffer = static_cast<BYTE*>(TrackedAlloc(packedSize, "", 0));
  PlainFile* archiveFile = file->archive->file;
  if (file->packedBuffer == nullptr || PlainFileSeek(archiveFile, static_cast<LONG>(DataStart(file)), 0) != 0 ||
      PlainFileRead(file->packedBuffer, packedSize, 1, archiveFile) != 1) {
    return -1;
  }
  file->pending = ARCHIVE_FILE_READING_PACKED;
  file->pendingPosition = DataStart(file);
  return 0;
}

}  // namespace

int ArchiveFileOpen(ArchiveFileState* file, ArchiveState* archive, const char* path, int asynchronous) {
  std::memset(file, 0, sizeof(*file));
  WaitArchiveLoad(archive);
  const WqaFileRecord* record = FindArchiveFileRecord(path, archive);
  if (record == nullptr || CheckArchiveFileExtent(archive, record) != 0) return -1;
  file->archive = archive;
  file->record = record;
  file->asynchronous = asynchronous != 0;
  if (GetArchiveRecordPackedSize(archive, record) == WQA_STORED) return 0;

  // Packed files are unpacked whole at open; reads are then memory copies.
  const DWORD size = record->size;
  file->unpacked = static_cast<BYTE*>(TrackedAlloc(std::max<DWORD>(size, 1), "", 0));
  const bool started = file->unpacked != nullptr && (file->asynchronous && !archive->inMemory
                                                         ? StartPackedRead(file) == 0
                                                         : LoadArchiveFileData(archive, record, file->unpacked) == 0);
  if (!started) {
    ArchiveFileClose(file);
    return -1;
  }
  return 0;
}

int ArchiveFileClose(ArchiveFileState* file) {
  if (file->pending != ARCHIVE_FILE_IDLE) WaitUntilIdle(file);
  TrackedFree(file->unpacked);
  TrackedFree(file->packedBuffer);
  std::memset(file, 0, sizeof(*file));
  return 0;
}

DWORD ArchiveFileRead(ArchiveFileState* file, void* destination, DWORD count) {
  WaitUntilIdle(file);
  if (file->end) return 0;
  const DWORD size = file->record->size;
  if (file->position >= size || file->damaged) {
    file->end = 1;
    return 0;
  }
  const DWORD n = std::min(count, size - file->position);
  const ArchiveState* archive = file->archive;
  const DWORD filePosition = DataStart(file) + file->position;
  if (file->unpacked != nullptr) {
    std::memcpy(destination, file->unpacked + file->position, n);
  } else if (archive->inMemory) {
    std::memcpy(destination, archive->image + filePosition, n);
  } else if (file->asynchronous) {
    if (PlainFileSeek(archive->file, static_cast<LONG>(filePosition), 0) != 0 ||
        PlainFileRead(destination, n, 1, archive->file) != 1) {
      return 0;
    }
    file->pending = ARCHIVE_FILE_READING_PLAIN;
    file->pendingPosition = filePosition;
    file->pendingDestination = static_cast<BYTE*>(destination);
    file->pendingCount = n;
  } else {
    const LONG position = PlainFileTell(archive->file) == static_cast<LONG>(filePosition)
                              ? -1
                              : static_cast<LONG>(filePosition);
    if (ReadArchiveBytes(position, destination, n, archive->key, archive->file) != 0) return 0;
  }
  file->position += n;
  file->end = 0;
  return n;
}

int ArchiveFileSeek(ArchiveFileState* file, LONG offset, int origin) {
  WaitUntilIdle(file);
  const long long size = file->record->size;
  const long long base = origin == 1 ? file->position : origin == 2 ? size : 0;
  file->position = static_cast<DWORD>(std::clamp<long long>(base + offset, 0, size));
  file->end = 0;
  return 0;
}

LONG ArchiveFileTell(ArchiveFileState* file) {
  WaitUntilIdle(file);
  return static_cast<LONG>(file->position);
}

int ArchiveFileEof(ArchiveFileState* file) {
  WaitUntilIdle(file);
  return file->end ? -1 : 0;
}

int ArchiveFileIdleCheck(ArchiveFileState* file) {
  if (file->pending == ARCHIVE_FILE_IDLE) return 1;
  if (PlainFileIdleCheck(file->archive->file) == 0) return 0;
  if (file->pending == ARCHIVE_FILE_READING_PACKED) {
    FinishPackedRead(file);
  } else {
    ApplyArchiveKey(file->pendingCount, file->pendingDestination, file->pendingPosition, file->archive->key);
  }
  file->pending = ARCHIVE_FILE_IDLE;
  return 1;
}
