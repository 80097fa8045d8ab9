#include "core/files/file_access_table.h"

#include "core/files/vfs_file.h"

namespace {

constexpr FileAccessTable kArchiveAwareSet = {
    VfsOpen,          VfsClose,         VfsTell,       VfsSeek,     VfsRead,     VfsEof,
    VfsIdleCheck,     VfsSetCurrentDir, VfsGetCurrentDir, VfsFindFirst, VfsFindNext, VfsFindClose,
};

// Holds the archive-aware set from the start, so files can be read before
// start-up.
FileAccessTable g_table = kArchiveAwareSet;
bool g_plainFilesOnly = false;

}  // namespace

FileHandle FileAccessOpen(const char* path, int cache, int reserved, int asynchronous) {
  return g_table.open(path, cache, reserved, asynchronous);
}
int FileAccessClose(FileHandle file) { return g_table.close(file); }
LONG FileAccessTell(FileHandle file) { return g_table.tell(file); }
int FileAccessSeek(FileHandle file, LONG offset, int origin) { return g_table.seek(file, offset, origin); }
std::int64_t FileAccessRead(void* destination, std::size_t itemSize, std::size_t count, FileHandle file) {
  return g_table.read(destination, itemSize, count, file);
}
int FileAccessEof(FileHandle file) { return g_table.eof(file); }
int FileAccessIdleCheck(FileHandle file) { return g_table.idleCheck(file); }

const FileAccessTable* GetFileAccessTable() { return &g_table; }

int SetupFileAccessTable(const FileAccessTable* table) {
  if (table == nullptr) table = g_plainFilesOnly ? GetPlainFileSet() : GetArchiveAwareFileSet();
  g_table = *table;
  return 0;
}

void SetPlainFilesOnly(int on) { g_plainFilesOnly = on != 0; }

const FileAccessTable* GetArchiveAwareFileSet() { return &kArchiveAwareSet; }
