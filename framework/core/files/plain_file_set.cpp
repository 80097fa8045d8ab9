// The plain set of the file-access table: disk files only, with the
// system's current directory and find operations.
#include <cstring>

#include "core/files/file_access_table.h"
#include "core/files/plain_file.h"
#include "platform/kernel32.h"
#include "core/base/string_utils.h"

namespace {

PlainFile* AsPlainFile(FileHandle file) { return reinterpret_cast<PlainFile*>(file); }

void FindDataToFileInfo(const WIN32_FIND_DATAA& data, FileInfo* info) {
  if (info == nullptr) return;
  StringCopyN(info->name, data.cFileName, MAX_PATH - 1);
  info->directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? 1 : 0;
  info->sizeLow = data.nFileSizeLow;
  info->sizeHigh = data.nFileSizeHigh;
  FileTimeToDate(&data.ftCreationTime, info->creationDate);
  FileTimeToDate(&data.ftLastWriteTime, info->lastWriteDate);
}

constexpr FileAccessTable kPlainSet = {
    [](const char* path, int cache, int reserved, int asynchronous) {
      return reinterpret_cast<FileHandle>(PlainFileOpen(path, cache, reserved, asynchronous));
    },
    [](FileHandle file) { return PlainFileClose(AsPlainFile(file)); },
    [](FileHandle file) { return PlainFileTell(AsPlainFile(file)); },
    [](FileHandle file, LONG offset, int origin) { return PlainFileSeek(AsPlainFile(file), offset, origin); },
    [](void* destination, std::size_t itemSize, std::size_t count, FileHandle file) {
      return static_cast<std::int64_t>(PlainFileRead(destination, itemSize, count, AsPlainFile(file)));
    },
    [](FileHandle file) { return PlainFileEof(AsPlainFile(file)); },
    [](FileHandle file) { return PlainFileIdleCheck(AsPlainFile(file)); },
    PlainSetCurrentDir,
    PlainGetCurrentDir,
    PlainFindFirst,
    PlainFindNext,
    PlainFindClose,
};

}  // namespace

int PlainSetCurrentDir(const char* path) { return SetCurrentDirectoryA(path); }

int PlainGetCurrentDir(char* buffer) { return static_cast<int>(GetCurrentDirectoryA(MAX_PATH, buffer)); }

std::uintptr_t PlainFindFirst(const char* pattern, FileInfo* info) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(pattern, &data);
  if (find == INVALID_HANDLE_VALUE) return INVALID_FIND_HANDLE;
  FindDataToFileInfo(data, info);
  return reinterpret_cast<std::uintptr_t>(find);
}

int PlainFindNext(std::uintptr_t find, FileInfo* info) {
  WIN32_FIND_DATAA data;
  if (!FindNextFileA(reinterpret_cast<HANDLE>(find), &data)) return -1;
  FindDataToFileInfo(data, info);
  return 0;
}

int PlainFindClose(std::uintptr_t find) { return FindClose(reinterpret_cast<HANDLE>(find)) ? 0 : -1; }

const FileAccessTable* GetPlainFileSet() { return &kPlainSet; }
