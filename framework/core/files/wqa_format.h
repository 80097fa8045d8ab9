// The WQA archive format: record layouts, the key and the name search key.
// Shared by the framework's reader and the wqa tool's writer. Every byte of
// an archive, header included, is stored XOR-ed with a 12-byte key indexed
// by its file offset.
#pragma once

#include <bit>

#include "platform/wintypes.h"

static_assert(std::endian::native == std::endian::little,
              "archive records are read in place as little-endian");

#define WQA_MAGIC 0x7157u  // "Wq" read as a little-endian u16
#define WQA_HIGHEST_VERSION 4u
#define WQA_KEY_SIZE 12
#define WQA_NO_PARENT 0xFFFFFFFFu
#define WQA_STORED 0xFFFFFFFFu  // packed size of data stored unpacked
#define WQA_ATTRIBUTE_DIRECTORY 0x10u
#define WQA_PACKED_HEADER_SIZE 9u
// The longest name a search key holds (a path component of MAX_PATH bytes
// and its zero padding).
#define WQA_SEARCH_NAME_CAPACITY 264

#pragma pack(push, 1)

struct WqaHeader {
  WORD magic;
  WORD version;
  DWORD tableBlockSize;
  DWORD dataAreaOffset;
  DWORD tableBlockOffset;
  DWORD fileTableOffset;       // within the table block
  DWORD directoryTableOffset;  // within the table block
  DWORD codePage;              // version 4 only
};
#define WQA_HEADER_SIZE_V0 24u
#define WQA_HEADER_SIZE_V4 28u
static_assert(sizeof(WqaHeader) == WQA_HEADER_SIZE_V4);

// Followed by the upper-cased name zero-padded to wordCount * 4 bytes, then
// the name as written, zero-terminated.
struct WqaNameEntry {
  WORD wordCount;
  WORD byteSum;  // of the upper-cased name, wrapping at 16 bits
};

struct WqaFileRecord {
  DWORD nameOffset;  // within the name table
  DWORD attributes;
  FILETIME creationTime;
  FILETIME accessTime;
  FILETIME writeTime;
  DWORD dataOffset;  // file: within the data area; directory: its directory record
  DWORD size;        // unpacked size
  DWORD packedSize;  // version 2 and later; WQA_STORED when not packed
};
#define WQA_FILE_RECORD_SIZE_V0 40u
#define WQA_FILE_RECORD_SIZE_V2 44u
static_assert(sizeof(WqaFileRecord) == WQA_FILE_RECORD_SIZE_V2);

struct WqaDirectoryRecord {
  DWORD ownRecordOffset;  // not read
  DWORD parentOffset;     // WQA_NO_PARENT for the root
  DWORD fileCount;
  DWORD firstFileOffset;  // within the file table
};
static_assert(sizeof(WqaDirectoryRecord) == 16);

// Packed data: this header, then packedSize - 9 bytes of codes.
struct WqaPackedHeader {
  DWORD unpackedSize;
  DWORD packedSize;  // header included
  BYTE escape;
};
static_assert(sizeof(WqaPackedHeader) == WQA_PACKED_HEADER_SIZE);

#pragma pack(pop)

DWORD WqaHeaderSize(DWORD version);
DWORD WqaFileRecordSize(DWORD version);
// Char-set class of names for IsLeadByte: 932 -> 1, 949 -> 2, 950 -> 3,
// 936 -> 4, anything else 0.
DWORD WqaCharSetClassFromCodePage(DWORD codePage);

// The key string kept for every archive opened afterwards; null or an empty
// string means no string. Returns 0.
int SetArchiveKey(const char* keyString);
// The key string set by SetArchiveKey, or null when none is set.
const char* GetArchiveKeyString();
// Prepares the 12-byte key from a key string (null or empty: no string).
void MakeArchiveKey(const char* keyString, BYTE* key);
// The fixed key of equal bytes tried when the magic is wrong under the
// prepared key.
void MakeFallbackArchiveKey(BYTE* key);
// XORs count bytes that lie at file offset position; applying twice restores.
void ApplyArchiveKey(DWORD count, void* buffer, DWORD position, const BYTE* key);

// The search key of one name: the name upper-cased (ASCII letters; double-
// byte characters of the char-set class copied whole) and zero-padded to
// whole words, at least one zero byte. Scans to the end of the name or the
// first separator. Returns the bytes of the name consumed; -1 when the name
// does not fit WQA_SEARCH_NAME_CAPACITY.
struct WqaSearchKey {
  WORD wordCount;
  WORD byteSum;
  BYTE name[WQA_SEARCH_NAME_CAPACITY];
};
int MakeWqaSearchKey(const char* name, DWORD charSetClass, WqaSearchKey* key);

// Unpacks a packed block of at most packedAvailable bytes into destination,
// which holds destinationCapacity bytes. With a null destination only the
// unpacked size is read from the header. Every code is checked against the
// input and the output: -1 on damaged data, never a write past either.
int UnpackArchiveData(const void* packed, DWORD packedAvailable, void* destination,
                      DWORD destinationCapacity, DWORD* unpackedSize);
