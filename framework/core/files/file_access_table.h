// The file-access table: the twelve file operations every framework read
// goes through, so that the archive-aware set (the default) and the plain
// disk set can be swapped as a whole. A file handle is an opaque word: a
// PlainFile pointer for the plain set, 0xF0000000 | slot for the archive-
// aware set; 0 means the open failed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/files/file_info.h"
#include "platform/wintypes.h"

using FileHandle = std::uintptr_t;
using FindHandle = std::uintptr_t;
#define INVALID_FIND_HANDLE (~FindHandle{0})

struct FileAccessTable {
  FileHandle (*open)(const char* path, int cache, int reserved, int asynchronous);
  int (*close)(FileHandle file);
  LONG (*tell)(FileHandle file);
  int (*seek)(FileHandle file, LONG offset, int origin);
  // Whole items read; -1 for a handle that is not open.
  std::int64_t (*read)(void* destination, std::size_t itemSize, std::size_t count, FileHandle file);
  int (*eof)(FileHandle file);
  int (*idleCheck)(FileHandle file);
  int (*setCurrentDir)(const char* path);
  int (*getCurrentDir)(char* buffer);
  // INVALID_FIND_HANDLE when nothing matches.
  FindHandle (*findFirst)(const char* pattern, FileInfo* info);
  int (*findNext)(FindHandle find, FileInfo* info);
  int (*findClose)(FindHandle find);
};

// The framework's only file entry points for reading: each passes its
// arguments to the table's slot and returns the slot's result.
FileHandle FileAccessOpen(const char* path, int cache, int reserved, int asynchronous);
int FileAccessClose(FileHandle file);
LONG FileAccessTell(FileHandle file);
int FileAccessSeek(FileHandle file, LONG offset, int origin);
std::int64_t FileAccessRead(void* destination, std::size_t itemSize, std::size_t count, FileHandle file);
int FileAccessEof(FileHandle file);
int FileAccessIdleCheck(FileHandle file);

// The table, for the directory and find slots that callers use directly.
const FileAccessTable* GetFileAccessTable();

// The only writer of the table: copies a table's slots, or with null
// installs the archive-aware set (the plain set with the plain-files-only
// switch on). Returns 0.
int SetupFileAccessTable(const FileAccessTable* table);
void SetPlainFilesOnly(int on);

// The two sets.
const FileAccessTable* GetArchiveAwareFileSet();
const FileAccessTable* GetPlainFileSet();
