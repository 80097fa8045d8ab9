// Directory searches inside an archive, with the archive's own name
// pattern matcher.
#include <cstring>

#include "core/files/archive_reader.h"
#include "core/files/archive_tables.h"
#include "core/base/string_utils.h"
#include "core/base/tracked_allocator.h"

namespace {

enum : DWORD { kDotEntry = 0, kDotDotEntry = 1, kFirstRecordEntry = 2 };

bool IsLead(const ArchiveState* state, const char* byte) {
  return byte[1] != '\0' && IsLeadByte(byte, static_cast<int>(state->charSetClass));
}

void FillDotEntry(FileInfo* info, const char* name) {
  std::memset(info, 0, sizeof(*info));
  StringCopy(info->name, name);
  info->directory = 1;
}

void FillRecordEntry(FileInfo* info, const WqaFileRecord* record, const char* writtenName) {
  std::memset(info, 0, sizeof(*info));
  StringCopyN(info->name, writtenName, MAX_PATH - 1);
  info->directory = (record->attributes & WQA_ATTRIBUTE_DIRECTORY) != 0 ? 1 : 0;
  info->sizeLow = record->size;
  // Copied out of the packed record, which may be unaligned.
  const FILETIME creationTime = record->creationTime;
  const FILETIME writeTime = record->writeTime;
  FileTimeToDate(&creationTime, info->creationDate);
  FileTimeToDate(&writeTime, info->lastWriteDate);
}

}  // namespace

void SplitFileName(const ArchiveState* state, const char* path, char* name, char* directory) {
  const char* nameStart = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (IsLead(state, p)) {
      ++p;
    } else if (*p == '\\' || *p == '/' || *p == ':') {
      nameStart = p + 1;
    }
  }
  if (directory != nullptr) {
    std::memmove(directory, path, static_cast<size_t>(nameStart - path));
    directory[nameStart - path] = '\0';
  }
  if (name != nullptr) std::memmove(name, nameStart, std::strlen(nameStart) + 1);
}

int MatchFileNamePattern(const char* name, const char* pattern, const ArchiveState* state) {
  for (;;) {
    if (*pattern == '*') {
      while (*pattern == '*') ++pattern;
      if (*pattern == '\0') return 0;
      // No backtracking: the run ends at the first occurrence of the
      // pattern's next byte.
      while (*name != '\0' && *name != *pattern) name += IsLead(state, name) ? 2 : 1;
      if (*name == '\0') return -1;
      continue;
    }
    if (*pattern == '\0') return *name == '\0' ? 0 : -1;
    if (*name == '\0') return -1;
    if (IsLead(state, pattern)) {
      if (name[0] != pattern[0] || name[1] != pattern[1]) return -1;
      name += 2;
      pattern += 2;
      continue;
    }
    if (*pattern != '?' && *pattern != *name) return -1;
    ++name;
    ++pattern;
  }
}

ArchiveSearch* ArchiveFindFirst(ArchiveState* state, const char* pattern, FileInfo* info) {
  WaitArchiveLoad(state);
  if (std::strlen(pattern) >= MAX_PATH) return nullptr;
  char directoryPart[MAX_PATH];
  char namePart[MAX_PATH];
  SplitFileName(state, pattern, namePart, directoryPart);
  StringToUpperMB(directoryPart);
  StringToUpperMB(namePart);
  DWORD searched = state->currentDirectory;
  if (directoryPart[0] != '\0') {
    const DWORD saved = state->currentDirectory;
    if (ChangeArchiveDirectory(state, directoryPart, 1, nullptr) != 0) return nullptr;
    searched = state->currentDirectory;
    state->currentDirectory = saved;
  }
  auto* search = static_cast<ArchiveSearch*>(TrackedAllocZero(sizeof(ArchiveSearch), "", 0));
  if (search == nullptr) return nullptr;
  search->archive = state;
  StringCopy(search->pattern, namePart);
  search->directory = searched;
  if (ArchiveFindNext(search, info) != 0) {
    TrackedFree(search);
    return nullptr;
  }
  return search;
}

int ArchiveFindNext(ArchiveSearch* search, FileInfo* info) {
  const ArchiveState* state = search->archive;
  const WqaDirectoryRecord* directory = GetArchiveDirectory(state, search->directory);
  if (directory == nullptr) return -1;
  for (;;) {
    const DWORD entry = search->nextIndex++;
    if (entry == kDotEntry || (entry == kDotDotEntry && directory->parentOffset != WQA_NO_PARENT)) {
      const char* dotName = entry == kDotEntry ? "." : "..";
      if (MatchFileNamePattern(dotName, search->pattern, state) != 0) continue;
      if (info != nullptr) FillDotEntry(info, dotName);
      return 0;
    }
    if (entry < kFirstRecordEntry) continue;
    const WqaFileRecord* record = GetArchiveDirectoryEntry(state, directory, entry - kFirstRecordEntry);
    if (record == nullptr) return -1;
    const BYTE* upperName = nullptr;
    const char* writtenName = nullptr;
    if (GetArchiveName(state, record, &upperName, &writtenName) == nullptr) return -1;
    if (MatchFileNamePattern(reinterpret_cast<const char*>(upperName), search->pattern, state) != 0) continue;
    if (info != nullptr) FillRecordEntry(info, record, writtenName);
    return 0;
  }
}

int ArchiveFindClose(ArchiveSearch* search) {
  TrackedFree(search);
  return 0;
}
