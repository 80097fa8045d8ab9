// Sizes that depend on the archive version, the char-set class of names and
// the search key under which names are stored and looked up.
#include "core/files/wqa_format.h"

#include <cstring>

#include "core/base/string_utils.h"

DWORD WqaHeaderSize(DWORD version) {
  return version >= 4 ? WQA_HEADER_SIZE_V4 : WQA_HEADER_SIZE_V0;
}

DWORD WqaFileRecordSize(DWORD version) {
  return version >= 2 ? WQA_FILE_RECORD_SIZE_V2 : WQA_FILE_RECORD_SIZE_V0;
}

DWORD WqaCharSetClassFromCodePage(DWORD codePage) {
  switch (codePage) {
    case 932: return 1;
    case 949: return 2;
    case 950: return 3;
    case 936: return 4;
    default: return 0;
  }
}

int MakeWqaSearchKey(const char* name, DWORD charSetClass, WqaSearchKey* key) {
  std::memset(key, 0, sizeof(*key));
  int length = 0;
  DWORD sum = 0;
  // Room is kept for the padding's zero byte.
  constexpr int kLimit = WQA_SEARCH_NAME_CAPACITY - 1;
  while (name[length] != '\0' && name[length] != '\\' && name[length] != '/') {
    const int charBytes =
        IsLeadByte(name + length, static_cast<int>(charSetClass)) && name[length + 1] != '\0' ? 2 : 1;
    if (length + charBytes > kLimit) return -1;
    for (int i = 0; i < charBytes; ++i) {
      BYTE byte = static_cast<BYTE>(name[length + i]);
      if (charBytes == 1 && byte >= 'a' && byte <= 'z') byte = static_cast<BYTE>(byte - 'a' + 'A');
      key->name[length + i] = byte;
      sum += byte;
    }
    length += charBytes;
  }
  key->wordCount = static_cast<WORD>(length / 4 + 1);
  key->byteSum = static_cast<WORD>(sum);
  return length;
}
