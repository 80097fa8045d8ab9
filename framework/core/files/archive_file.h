// One file open inside an archive: stored or packed (unpacked whole at
// open), read from a streamed archive or from one in memory, synchronously
// or asynchronously.
#pragma once

#include "core/files/archive_reader.h"

enum ArchiveFilePending : DWORD {
  ARCHIVE_FILE_IDLE = 0,
  ARCHIVE_FILE_READING_PACKED = 1,
  ARCHIVE_FILE_READING_PLAIN = 2,
};

struct ArchiveFileState {
  ArchiveState* archive;
  const WqaFileRecord* record;
  BYTE* unpacked;      // packed files; owned
  BYTE* packedBuffer;  // while a packed read is pending; owned
  DWORD end;
  DWORD position;
  DWORD asynchronous;
  DWORD pending;
  DWORD pendingPosition;  // file position of the pending read
  BYTE* pendingDestination;
  DWORD pendingCount;
  DWORD damaged;  // the packed data failed to unpack: nothing can be read
};

// 0, or -1 when the file is not in the archive or its data lies outside it.
int ArchiveFileOpen(ArchiveFileState* file, ArchiveState* archive, const char* path, int asynchronous);
int ArchiveFileClose(ArchiveFileState* file);
// Bytes read (at most count); 0 at the end, which it then flags.
DWORD ArchiveFileRead(ArchiveFileState* file, void* destination, DWORD count);
// Clamps the target to 0..size; 0.
int ArchiveFileSeek(ArchiveFileState* file, LONG offset, int origin);
LONG ArchiveFileTell(ArchiveFileState* file);
int ArchiveFileEof(ArchiveFileState* file);
// 1 when nothing is pending (finishing a read that has completed), else 0.
int ArchiveFileIdleCheck(ArchiveFileState* file);
