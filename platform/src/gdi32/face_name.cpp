#include "gdi32/face_name.h"

#include <cstring>

namespace wqplat {
namespace {

bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace

void StoreFaceName(LPCSTR name, CHAR (&field)[LF_FACESIZE]) {
  std::memset(field, 0, sizeof(field));
  if (!name) return;
  size_t length = 0;
  while (name[length] != '\0') {
    const size_t char_length = IsCp932LeadByte(static_cast<unsigned char>(name[length])) &&
                                       name[length + 1] != '\0'
                                   ? 2
                                   : 1;
    if (length + char_length > LF_FACESIZE - 1) break;
    length += char_length;
  }
  std::memcpy(field, name, length);
}

std::string_view FaceNameOf(const LOGFONTA& font) {
  return std::string_view(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
}

}  // namespace wqplat
