#include "core/files/vfs_archive_table.h"

#include <cstring>

#include "core/base/charset_state.h"
#include "core/base/string_utils.h"
#include "core/base/tracked_allocator.h"

namespace {

constexpr char kArchiveExtension[] = "WQA";

ArchiveTableEntry* g_archives[VFS_MAX_ARCHIVES];
int g_archiveCount = 0;

// The archive found last, so consecutive files of one archive do not probe
// every leading directory again.
struct LastArchive {
  char path[VFS_ARCHIVE_PATH_SIZE];
  std::size_t prefixLength;  // the full path up to the archive's name
  int index;
};
LastArchive g_last;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

int TakeReference(int index) {
  g_archives[index]->referenceCount += 1;
  return index;
}

// Walks the full path's leading directories and opens the first that has
// an archive; its prefix length is stored.
int ProbeArchives(const char* fullPath, char* archivePath, std::size_t* prefixLength) {
  std::size_t start = (fullPath[0] == '\\' && fullPath[1] == '\\') ? 2 : 0;
  char prefix[MAX_PATH];
  for (std::size_t i = start;; ++i) {
    const char c = fullPath[i];
    if (c != '\0' && IsLeadByte(fullPath + i, GetCharSetClass()) && fullPath[i + 1] != '\0') {
      ++i;
      continue;
    }
    if (c == '\0') return -1;  // the file name itself ends the walk
    if (!IsSeparator(c)) continue;
    if (i == start) return -1;  // an empty component
    if (i + sizeof(kArchiveExtension) + 1 >= VFS_ARCHIVE_PATH_SIZE) return -1;
    std::memcpy(prefix, fullPath, i);
    prefix[i] = '\0';
    for (std::size_t j = 0; j < i; ++j) {
      if (prefix[j] == '/') prefix[j] = '\\';
    }
    std::strcpy(archivePath, prefix);
    std::strcat(archivePath, ".");
    std::strcat(archivePath, kArchiveExtension);
    const int index = OpenArchiveByPath(-1, archivePath, 0, 0);
    if (index >= 0) {
      *prefixLength = i;
      return index;
    }
    start = i + 1;
  }
}

}  // namespace

int SplitArchivePath(const char* path, int* index, char* archivePath, char* innerPath) {
  char fullPath[MAX_PATH];
  if (MakeFullPathFromCurrentDir(path, fullPath) != 0) return -1;
  const std::size_t remembered = g_last.prefixLength;
  int found;
  std::size_t prefixLength;
  if (remembered > 0 && std::strncmp(fullPath, g_last.path, remembered) == 0 && IsSeparator(fullPath[remembered])) {
    found = OpenArchiveByPath(g_last.index, g_last.path, 0, 0);
    if (found < 0) return -1;
    prefixLength = remembered;
  } else {
    char probed[VFS_ARCHIVE_PATH_SIZE];
    found = ProbeArchives(fullPath, probed, &prefixLength);
    if (found < 0) return -1;
    std::strcpy(g_last.path, probed);
    g_last.prefixLength = prefixLength;
    g_last.index = found;
  }
  *index = found;
  if (archivePath != nullptr) StringCopy(archivePath, g_archives[found]->path);
  if (innerPath != nullptr) StringCopy(innerPath, fullPath + prefixLength + 1);
  return 0;
}

int OpenArchiveByPath(int hint, const char* archivePath, int wholeLoad, int asynchronous) {
  if (hint >= 0 && hint < VFS_MAX_ARCHIVES && g_archives[hint] != nullptr &&
      StringCompare(g_archives[hint]->path, archivePath) == 0) {
    return TakeReference(hint);
  }
  if (std::strlen(archivePath) >= VFS_ARCHIVE_PATH_SIZE) return -1;
  int emptySlot = -1;
  for (int i = 0; i < VFS_MAX_ARCHIVES; ++i) {
    if (g_archives[i] == nullptr) {
      emptySlot = i;
    } else if (StringCompare(g_archives[i]->path, archivePath) == 0) {
      return TakeReference(i);
    }
  }
  if (g_archiveCount == VFS_MAX_ARCHIVES) {
    ReleaseUnusedArchives();
    if (g_archiveCount == VFS_MAX_ARCHIVES) return -1;
  }
  if (emptySlot < 0) {
    while (g_archives[++emptySlot] != nullptr) {
    }
  }
  auto* entry = static_cast<ArchiveTableEntry*>(TrackedAllocZero(sizeof(ArchiveTableEntry), "", 0));
  if (entry == nullptr) return -1;
  const char* keyString = GetArchiveKeyString();
  const int opened = wholeLoad ? OpenArchiveFile(&entry->state, archivePath, keyString, asynchronous)
                               : OpenArchiveFileStreamed(&entry->state, archivePath, keyString);
  if (opened != 0) {
    TrackedFree(entry);
    return -1;
  }
  entry->referenceCount = 1;
  StringCopy(entry->path, archivePath);
  g_archives[emptySlot] = entry;
  g_archiveCount += 1;
  return emptySlot;
}

void ReleaseArchiveReference(int index) {
  if (index < 0 || index >= VFS_MAX_ARCHIVES || g_archives[index] == nullptr) return;
  if (g_archives[index]->referenceCount > 0) g_archives[index]->referenceCount -= 1;
}

ArchiveState* GetTableArchive(int index) { return &g_archives[index]->state; }

void ReleaseUnusedArchives() {
  for (ArchiveTableEntry*& entry : g_archives) {
    if (entry == nullptr || entry->referenceCount >= 1) continue;
    ReleaseArchiveState(&entry->state);
    TrackedFree(entry);
    entry = nullptr;
    g_archiveCount -= 1;
  }
}

int CleanupArchives() {
  ReleaseUnusedArchives();
  return 0;
}

int GetOpenArchiveCount() { return g_archiveCount; }
