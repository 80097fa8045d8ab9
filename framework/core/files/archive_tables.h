// Checked access to the tables of an open archive. Each accessor returns
// null, with a log line, when the offset it is given, or a count or name
// behind it, reaches outside the table block, so a damaged archive is
// refused, never read past.
#pragma once

#include "core/files/archive_reader.h"

// Logs that an archive's header or tables are damaged; returns -1.
int LogDamagedArchive();

// 0 when the header's block, tables and data area fit an archive of
// archiveSize bytes, else -1.
int CheckArchiveHeader(const WqaHeader* header, DWORD archiveSize);

const WqaDirectoryRecord* GetArchiveDirectory(const ArchiveState* state, DWORD offset);
// The index-th file record of a directory; null past its count (no log) or
// the table block.
const WqaFileRecord* GetArchiveDirectoryEntry(const ArchiveState* state, const WqaDirectoryRecord* directory,
                                              DWORD index);
// The name entry of a record with its upper-cased name and its name as
// written, each zero-terminated within the block.
const WqaNameEntry* GetArchiveName(const ArchiveState* state, const WqaFileRecord* record,
                                   const BYTE** upperName, const char** writtenName);
// 1 when a record's name entry matches the search key.
int ArchiveNameMatches(const ArchiveState* state, const WqaFileRecord* record, const WqaSearchKey* key);
// 0 when the file's bytes (packed or stored) lie within the archive's data;
// else a log line and -1.
int CheckArchiveFileExtent(const ArchiveState* state, const WqaFileRecord* record);
