// The reader of one open WQA archive: opening from a file (streamed or
// loaded whole) or from memory, the directory tree, lookups of file records
// by path and directory searches. Every offset the archive holds is checked
// against what it indexes before use: a damaged archive fails with -1.
#pragma once

#include "core/files/file_info.h"
#include "platform/wintypes.h"
#include "core/files/wqa_format.h"

struct PlainFile;

struct ArchiveState {
  WqaHeader header;  // code page 0 before version 4
  DWORD charSetClass;
  BYTE* image;       // the whole archive, when in memory
  PlainFile* file;   // streamed archives and pending whole loads
  BYTE* tableBlock;  // into the image for archives in memory
  DWORD currentDirectory;  // offset of its record in the directory table
  BYTE key[WQA_KEY_SIZE];
  DWORD inMemory;
  DWORD imageBorrowed;
  DWORD imageSize;
  DWORD archiveSize;  // bytes of the archive file or image
  DWORD loadPending;
};

struct ArchiveSearch {
  ArchiveState* archive;
  char pattern[MAX_PATH];
  DWORD directory;  // offset of the directory record searched
  DWORD nextIndex;  // 0 ".", 1 "..", then the file records
};

// Reads count bytes at a file position (-1: the current one), waits until
// the file is idle and removes the key. Returns 0, or -1 on a short read.
int ReadArchiveBytes(LONG position, void* destination, DWORD count, const BYTE* key, PlainFile* file);

int OpenArchiveFileStreamed(ArchiveState* state, const char* path, const char* keyString);
int OpenArchiveFile(ArchiveState* state, const char* path, const char* keyString, int asynchronous);
// The image is keyed in place while open and restored at release.
int OpenArchiveFromMemory(ArchiveState* state, void* image, DWORD size, const char* keyString);
// 1 when no load is pending (finishing one that has completed), 0 while one is.
int PollArchiveLoad(ArchiveState* state);
// The in-memory image after any pending load; null for a streamed archive.
BYTE* WaitArchiveLoad(ArchiveState* state);
int ReleaseArchiveState(ArchiveState* state);
int CloseArchive(ArchiveState* state);
void ClearArchiveState(ArchiveState* state);

// Returns 0, or -1 when the name does not fit a search key.
int MakeArchiveSearchName(const ArchiveState* state, const char* name, int* consumed, WqaSearchKey* key);
int EnterArchiveSubdirectory(ArchiveState* state, const WqaSearchKey* key);
int ChangeArchiveDirectory(ArchiveState* state, const char* path, int restoreOnFailure, WqaSearchKey* lastKey);
const WqaFileRecord* FindArchiveFileRecord(const char* path, ArchiveState* state);
// Offset of the file's data within the archive image and its unpacked size.
int GetArchiveFileImage(ArchiveState* state, const char* path, DWORD* offset, DWORD* size);
// WQA_STORED for stored data (always before version 2).
DWORD GetArchiveRecordPackedSize(const ArchiveState* state, const WqaFileRecord* record);
// Reads a file's whole data, unpacked, into destination (record->size
// bytes). Logs and returns -1 when the data lies outside the archive or
// fails to unpack.
int LoadArchiveFileData(ArchiveState* state, const WqaFileRecord* record, void* destination);

// Returns the search (an allocation of the tracked allocator, freed by
// ArchiveFindClose) or null when nothing matches.
ArchiveSearch* ArchiveFindFirst(ArchiveState* state, const char* pattern, FileInfo* info);
int ArchiveFindNext(ArchiveSearch* search, FileInfo* info);
int ArchiveFindClose(ArchiveSearch* search);

// Splits at the last backslash, slash or colon (double-byte aware). The
// directory part keeps its separator; either output may be null.
void SplitFileName(const ArchiveState* state, const char* path, char* name, char* directory);
// 0 on a match, -1 otherwise.
int MatchFileNamePattern(const char* name, const char* pattern, const ArchiveState* state);

// Unpacks a file's packed bytes into destination (record->size bytes);
// logs and returns -1 when they are damaged or unpack to another size.
int UnpackArchiveRecord(const WqaFileRecord* record, const void* packed, DWORD packedSize, void* destination);

// The full path under which archive paths are compared: resolved against
// the current directory as ResolveFullPath does, every ASCII letter (and a
// drive letter) upper-cased, only a backslash skipped after a drive.
// Returns 0, or -1 when it does not fit MAX_PATH bytes.
int MakeFullPathFromCurrentDir(const char* path, char* output);
