// Directory operations of the archive-aware set: the current directory,
// and searches over the disk or inside an archive on the pattern's path.
#include <cstring>

#include "core/base/log_file.h"
#include "core/files/plain_file.h"
#include "platform/kernel32.h"
#include "core/base/tracked_allocator.h"
#include "core/files/vfs_archive_table.h"
#include "core/files/vfs_file.h"

namespace {

enum VfsFindKind : DWORD { kDiskSearch = 0, kArchiveSearch = 1 };

struct VfsFind {
  DWORD kind;
  int archiveIndex;
  std::uintptr_t diskSearch;
  ArchiveSearch* archiveSearch;
};

// Null for the handle of a failed search.
VfsFind* AsFind(FindHandle find) {
  return find == INVALID_FIND_HANDLE ? nullptr : reinterpret_cast<VfsFind*>(find);
}

}  // namespace

int VfsSetCurrentDir(const char* path) {
  SetCurrentDirectoryA(path);
  return 0;
}

int VfsGetCurrentDir(char* buffer) {
  char directory[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
  if (length == 0 || length >= VFS_CURRENT_DIR_BUFFER) {
    buffer[0] = '\0';
    return LogWrite("カレントディレクトリのパスが長すぎます\n");
  }
  std::memcpy(buffer, directory, length + 1);
  return 0;
}

FindHandle VfsFindFirst(const char* pattern, FileInfo* info) {
  auto* find = static_cast<VfsFind*>(TrackedAllocZero(sizeof(VfsFind), "", 0));
  if (find == nullptr) return INVALID_FIND_HANDLE;
  char innerPattern[MAX_PATH];
  if (SplitArchivePath(pattern, &find->archiveIndex, nullptr, innerPattern) == 0) {
    find->kind = kArchiveSearch;
    find->archiveSearch = ArchiveFindFirst(GetTableArchive(find->archiveIndex), innerPattern, info);
    if (find->archiveSearch != nullptr) return reinterpret_cast<FindHandle>(find);
    ReleaseArchiveReference(find->archiveIndex);
  } else {
    find->kind = kDiskSearch;
    find->diskSearch = PlainFindFirst(pattern, info);
    if (find->diskSearch != INVALID_FIND_HANDLE) return reinterpret_cast<FindHandle>(find);
  }
  TrackedFree(find);
  return INVALID_FIND_HANDLE;
}

int VfsFindNext(FindHandle handle, FileInfo* info) {
  VfsFind* find = AsFind(handle);
  if (find == nullptr) return -1;
  return find->kind == kArchiveSearch ? ArchiveFindNext(find->archiveSearch, info)
                                      : PlainFindNext(find->diskSearch, info);
}

int VfsFindClose(FindHandle handle) {
  VfsFind* find = AsFind(handle);
  if (find == nullptr) return -1;
  if (find->kind == kArchiveSearch) {
    ArchiveFindClose(find->archiveSearch);
    ReleaseArchiveReference(find->archiveIndex);
  } else {
    PlainFindClose(find->diskSearch);
  }
  TrackedFree(find);
  return 0;
}
