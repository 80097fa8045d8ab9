// Plain disk files opened read-only, either direct or served by a reader
// thread of their own (asynchronous reads and a read-ahead cache), with the
// directory and find operations of the plain file set.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/files/file_info.h"
#include "platform/wintypes.h"

#define PLAIN_FILE_CACHE_SIZE 0x20000u

enum PlainFileCommand : DWORD {
  PLAIN_FILE_OPEN = 0,
  PLAIN_FILE_CLOSE = 1,
  PLAIN_FILE_READ = 2,
  PLAIN_FILE_SEEK = 3,
  PLAIN_FILE_END = 4,
};

// The block a reader thread works on. The caller writes the request fields
// only while the done event is signalled, the thread reads them only after
// the request event.
struct PlainFileThreadBlock {
  DWORD threadId;
  HANDLE thread;
  HANDLE file;  // the thread's own handle, null while closed
  HANDLE requestEvent;  // manual reset
  HANDLE doneEvent;     // manual reset
  DWORD command;
  DWORD threadEnded;
  DWORD openFailed;
  char path[MAX_PATH];
  BYTE* readDestination;
  DWORD readPosition;
  DWORD readCount;  // replaced by the count actually read
  DWORD seekPosition;
  BYTE* cache;  // PLAIN_FILE_CACHE_SIZE bytes, with the cache flag only
  DWORD cachePosition;
  DWORD cacheHeld;
};

struct PlainFile {
  HANDLE file;  // direct files only
  DWORD threaded;
  DWORD cache;
  DWORD asynchronous;
  DWORD end;
  DWORD position;
  DWORD size;
  PlainFileThreadBlock thread;
};

PlainFile* PlainFileOpen(const char* path, int cache, int reserved, int asynchronous);
int PlainFileClose(PlainFile* file);
LONG PlainFileTell(PlainFile* file);
int PlainFileSeek(PlainFile* file, LONG offset, int origin);
// Whole items read. A read at or past the end returns 0 and sets the end
// flag; a short last item is not delivered.
size_t PlainFileRead(void* destination, size_t itemSize, size_t count, PlainFile* file);
int PlainFileEof(PlainFile* file);
int PlainFileIdleCheck(PlainFile* file);

// The plain set's directory and find operations: the system's own results.
int PlainSetCurrentDir(const char* path);
int PlainGetCurrentDir(char* buffer);  // a MAX_PATH buffer
// The system's find handle as a word, or INVALID_FIND_HANDLE.
std::uintptr_t PlainFindFirst(const char* pattern, FileInfo* info);
int PlainFindNext(std::uintptr_t find, FileInfo* info);
int PlainFindClose(std::uintptr_t find);

// Full paths: the path resolved against the base directory (the file-access
// table's current directory when null), "." and ".." applied except in the
// last component. Returns 0, or -1 with a log line when the result does
// not fit MAX_PATH bytes.
int ResolveFullPath(const char* path, char* output, const char* base);
// A new empty file, open for writing, in the system's temporary folder;
// its full path is copied to the output (MAX_PATH bytes). Null on failure.
HANDLE CreateTempFileName(char* output);
