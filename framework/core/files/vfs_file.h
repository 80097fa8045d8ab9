// The archive-aware file set: a path whose leading directory has an
// archive of the same name ("DATA.WQA" for data\...) is read from inside
// that archive, never from the disk; other paths are plain disk files.
// Open files have handles 0xF0000000 | slot in a table of 512.
#pragma once

#include "core/files/file_access_table.h"

#define VFS_MAX_OPEN_FILES 512
#define VFS_HANDLE_TAG 0xF0000000u

FileHandle VfsOpen(const char* path, int cache, int reserved, int asynchronous);
// 0; -1 for a handle whose slot is empty or out of range (as below).
int VfsClose(FileHandle file);
LONG VfsTell(FileHandle file);
int VfsSeek(FileHandle file, LONG offset, int origin);
// Whole items read; an item size of 0 reads nothing.
std::int64_t VfsRead(void* destination, std::size_t itemSize, std::size_t count, FileHandle file);
// -1 at the end, else 0.
int VfsEof(FileHandle file);
// 1 idle, 0 while an asynchronous read is pending.
int VfsIdleCheck(FileHandle file);

// The process's current directory; the get fills a 256-character buffer
// and refuses, with a log line and an empty buffer, a directory that does
// not fit it.
int VfsSetCurrentDir(const char* path);
int VfsGetCurrentDir(char* buffer);
#define VFS_CURRENT_DIR_BUFFER 256

FindHandle VfsFindFirst(const char* pattern, FileInfo* info);
int VfsFindNext(FindHandle find, FileInfo* info);
int VfsFindClose(FindHandle find);

// The kind of an open file (0 disk, 1 inside an archive), -1 when the
// handle is not open.
int GetVfsFileKind(FileHandle file);
