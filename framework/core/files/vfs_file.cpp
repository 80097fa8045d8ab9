// Files of the archive-aware set: the open-file table and the operations
// on its handles.
#include "core/files/vfs_file.h"

#include <algorithm>
#include <iterator>

#include "core/files/archive_file.h"
#include "core/base/log_file.h"
#include "core/files/plain_file.h"
#include "core/base/tracked_allocator.h"
#include "core/files/vfs_archive_table.h"

namespace {

enum VfsFileKind : DWORD { kDiskFile = 0, kArchiveFile = 1 };

struct VfsOpenFile {
  DWORD kind;
  PlainFile* plain;
  int archiveIndex;
  ArchiveFileState archiveFile;
};

VfsOpenFile* g_files[VFS_MAX_OPEN_FILES];
int g_fileCount = 0;

VfsOpenFile* FileOf(FileHandle handle) {
  if ((handle & ~FileHandle{0x0FFFFFFF}) != VFS_HANDLE_TAG) return nullptr;
  const FileHandle slot = handle & 0x0FFFFFFF;
  return slot < VFS_MAX_OPEN_FILES ? g_files[slot] : nullptr;
}

}  // namespace

FileHandle VfsOpen(const char* path, int cache, int /*reserved*/, int asynchronous) {
  if (g_fileCount == VFS_MAX_OPEN_FILES) {
    LogWrite("同時に開けるファイルの数が限界を超えました\n");
    return 0;
  }
  const int slot = static_cast<int>(std::find(std::begin(g_files), std::end(g_files), nullptr) - std::begin(g_files));
  auto* file = static_cast<VfsOpenFile*>(TrackedAllocZero(sizeof(VfsOpenFile), "", 0));
  if (file == nullptr) {
    LogWrite("ファイルの情報を格納するメモリの確保に失敗しました\n");
    return 0;
  }
  char innerPath[MAX_PATH];
  if (SplitArchivePath(path, &file->archiveIndex, nullptr, innerPath) != 0) {
    file->kind = kDiskFile;
    file->plain = PlainFileOpen(path, cache, 1, asynchronous);
    if (file->plain == nullptr) {
      TrackedFree(file);
      return 0;
    }
  } else {
    // The file must be inside the archive: the disk is not tried.
    file->kind = kArchiveFile;
    if (ArchiveFileOpen(&file->archiveFile, GetTableArchive(file->archiveIndex), innerPath, asynchronous) != 0) {
      LogWrite("ＷＱＡファイルの中に指定のファイルは見つかりませんでした\n");
      ReleaseArchiveReference(file->archiveIndex);
      TrackedFree(file);
      return 0;
    }
  }
  g_files[slot] = file;
  g_fileCount += 1;
  return VFS_HANDLE_TAG | static_cast<FileHandle>(slot);
}

int VfsClose(FileHandle handle) {
  VfsOpenFile* file = FileOf(handle);
  if (file == nullptr) return -1;
  if (file->kind == kDiskFile) {
    PlainFileClose(file->plain);
  } else {
    ArchiveFileClose(&file->archiveFile);
    ReleaseArchiveReference(file->archiveIndex);
  }
  TrackedFree(file);
  g_files[handle & 0x0FFFFFFF] = nullptr;
  g_fileCount -= 1;
  return 0;
}

LONG VfsTell(FileHandle handle) {
  VfsOpenFile* file = FileOf(handle);
  if (file == nullptr) return -1;
  return file->kind == kDiskFile ? PlainFileTell(file->plain) : ArchiveFileTell(&file->archiveFile);
}

int VfsSeek(FileHandle handle, LONG offset, int origin) {
  VfsOpenFile* file = FileOf(handle);
  if (file == nullptr) return -1;
  return file->kind == kDiskFile ? PlainFileSeek(file->plain, offset, origin)
                                 : ArchiveFileSeek(&file->archiveFile, offset, origin);
}

std::int64_t VfsRead(void* destination, std::size_t itemSize, std::size_t count, FileHandle handle) {
  VfsOpenFile* file = FileOf(handle);
  if (file == nullptr) return -1;
  if (itemSize == 0) return 0;
  if (file->kind == kDiskFile) return static_cast<std::int64_t>(PlainFileRead(destination, itemSize, count, file->plain));
  // A partial last item is consumed but not counted.
  const auto bytes = static_cast<DWORD>(std::min<unsigned long long>(
      static_cast<unsigned long long>(itemSize) * std::min<std::size_t>(count, 0xFFFFFFFFu), 0xFFFFFFFFu));
  return ArchiveFileRead(&file->archiveFile, destination, bytes) / itemSize;
}

int VfsEof(FileHandle handle) {
  VfsOpenFile* file = FileOf(handle);
  if (file == nullptr) return -1;
  return file->kind == kDiskFile ? PlainFileEof(file->plain) : ArchiveFileEof(&file->archiveFile);
}

int VfsIdleCheck(FileHandle handle) {
  VfsOpenFile* file = FileOf(handle);
  if (file == nullptr) return -1;
  return file->kind == kDiskFile ? PlainFileIdleCheck(file->plain) : ArchiveFileIdleCheck(&file->archiveFile);
}

int GetVfsFileKind(FileHandle handle) {
  VfsOpenFile* file = FileOf(handle);
  return file == nullptr ? -1 : static_cast<int>(file->kind);
}
