#include "core/files/archive_tables.h"

#include <cstring>

#include "core/base/log_file.h"

namespace {

// True when [offset, offset + size) lies within limit bytes, without
// overflow.
bool FitsWithin(DWORD offset, DWORD size, DWORD limit) { return offset <= limit && size <= limit - offset; }

template <typename Record>
const Record* Damaged() {
  LogDamagedArchive();
  return nullptr;
}

}  // namespace

int LogDamagedArchive() { return LogWrite("ＷＱＡファイルのヘッダかテーブルが壊れています\n"); }

int CheckArchiveHeader(const WqaHeader* header, DWORD archiveSize) {
  const DWORD headerSize = WqaHeaderSize(header->version);
  if (archiveSize < headerSize) return -1;
  if (!FitsWithin(header->tableBlockOffset, header->tableBlockSize, archiveSize)) return -1;
  if (header->tableBlockOffset < headerSize) return -1;
  if (header->dataAreaOffset < headerSize || header->dataAreaOffset > archiveSize) return -1;
  if (!FitsWithin(header->fileTableOffset, 0, header->tableBlockSize)) return -1;
  // The root's record, first of the directory table, must be there.
  if (!FitsWithin(header->directoryTableOffset, sizeof(WqaDirectoryRecord), header->tableBlockSize)) return -1;
  return 0;
}

const WqaDirectoryRecord* GetArchiveDirectory(const ArchiveState* state, DWORD offset) {
  const WqaHeader& header = state->header;
  const DWORD tableSize = header.tableBlockSize - header.directoryTableOffset;
  if (!FitsWithin(offset, sizeof(WqaDirectoryRecord), tableSize)) return Damaged<WqaDirectoryRecord>();
  return reinterpret_cast<const WqaDirectoryRecord*>(state->tableBlock + header.directoryTableOffset + offset);
}

const WqaFileRecord* GetArchiveDirectoryEntry(const ArchiveState* state, const WqaDirectoryRecord* directory,
                                              DWORD index) {
  if (index >= directory->fileCount) return nullptr;
  const WqaHeader& header = state->header;
  const DWORD recordSize = WqaFileRecordSize(header.version);
  const DWORD tableSize = header.tableBlockSize - header.fileTableOffset;
  const auto offset = static_cast<unsigned long long>(directory->firstFileOffset) +
                      static_cast<unsigned long long>(index) * recordSize;
  if (offset + recordSize > tableSize) return Damaged<WqaFileRecord>();
  return reinterpret_cast<const WqaFileRecord*>(state->tableBlock + header.fileTableOffset + offset);
}

const WqaNameEntry* GetArchiveName(const ArchiveState* state, const WqaFileRecord* record,
                                   const BYTE** upperName, const char** writtenName) {
  const DWORD blockSize = state->header.tableBlockSize;
  const DWORD offset = record->nameOffset;
  if (!FitsWithin(offset, sizeof(WqaNameEntry), blockSize)) return Damaged<WqaNameEntry>();
  const auto* entry = reinterpret_cast<const WqaNameEntry*>(state->tableBlock + offset);
  const auto written = static_cast<unsigned long long>(offset) + sizeof(WqaNameEntry) + entry->wordCount * 4ull;
  if (entry->wordCount == 0 || written >= blockSize) return Damaged<WqaNameEntry>();
  const BYTE* writtenStart = state->tableBlock + written;
  if (std::memchr(entry + 1, 0, entry->wordCount * 4u) == nullptr ||
      std::memchr(writtenStart, 0, blockSize - written) == nullptr) {
    return Damaged<WqaNameEntry>();
  }
  if (upperName != nullptr) *upperName = reinterpret_cast<const BYTE*>(entry + 1);
  if (writtenName != nullptr) *writtenName = reinterpret_cast<const char*>(writtenStart);
  return entry;
}

int ArchiveNameMatches(const ArchiveState* state, const WqaFileRecord* record, const WqaSearchKey* key) {
  const BYTE* upperName = nullptr;
  const WqaNameEntry* entry = GetArchiveName(state, record, &upperName, nullptr);
  if (entry == nullptr || entry->wordCount != key->wordCount || entry->byteSum != key->byteSum) return 0;
  return std::memcmp(upperName, key->name, key->wordCount * 4u) == 0 ? 1 : 0;
}

int CheckArchiveFileExtent(const ArchiveState* state, const WqaFileRecord* record) {
  const DWORD packedSize = GetArchiveRecordPackedSize(state, record);
  const DWORD bytes = packedSize == WQA_STORED ? record->size : packedSize;
  const DWORD dataAreaSize = state->archiveSize - state->header.dataAreaOffset;
  // The longest match (8,195 bytes) takes four code bytes: a size beyond
  // that ratio is damage, refused before anything is allocated for it.
  const bool packedSizeFits = packedSize == WQA_STORED ||
                              (packedSize >= WQA_PACKED_HEADER_SIZE &&
                               record->size <= (packedSize - WQA_PACKED_HEADER_SIZE) * 2049ull);
  if (!packedSizeFits || !FitsWithin(record->dataOffset, bytes, dataAreaSize)) {
    return LogWrite("ＷＱＡファイル内のデータの位置が壊れています\n");
  }
  return 0;
}
