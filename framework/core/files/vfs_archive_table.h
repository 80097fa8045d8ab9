// The table of open archives, shared by reference count, and the search for
// an archive on a path: each leading directory "X" of the full path is
// tried as the archive "X.WQA". Archives stay open after their last file
// closes, until the table fills or CleanupArchives.
#pragma once

#include "core/files/archive_reader.h"

#define VFS_MAX_ARCHIVES 512
#define VFS_ARCHIVE_PATH_SIZE 256

struct ArchiveTableEntry {
  DWORD referenceCount;
  ArchiveState state;
  char path[VFS_ARCHIVE_PATH_SIZE];
};

// 0 when an archive lies on the path (one reference taken on it): its
// table index, its path and the path inside it (either may be null, each
// MAX_PATH bytes). -1 when none does.
int SplitArchivePath(const char* path, int* index, char* archivePath, char* innerPath);
// The table index of the archive at this path, opened when it is not yet,
// with one more reference; -1 when it cannot be opened or the table is
// full of archives in use.
int OpenArchiveByPath(int hint, const char* archivePath, int wholeLoad, int asynchronous);
// Gives back one reference (never below 0).
void ReleaseArchiveReference(int index);
ArchiveState* GetTableArchive(int index);
void ReleaseUnusedArchives();
int CleanupArchives();
// Archives open in the table.
int GetOpenArchiveCount();
