#include "gdi32/face_name.h"

#include <cstring>

#include "kernel32/path_characters.h"

namespace wqplat {

void StoreFaceName(LPCSTR name, CHAR (&field)[LF_FACESIZE]) {
  std::memset(field, 0, sizeof(field));
  if (!name) return;
  const std::string_view text(name);
  size_t length = 0;
  while (length < text.size()) {
    const size_t char_length = Cp932CharLength(text, length);
    if (length + char_length > LF_FACESIZE - 1) break;
    length += char_length;
  }
  std::memcpy(field, name, length);
}

std::string_view FaceNameOf(const LOGFONTA& font) {
  return std::string_view(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
}

}  // namespace wqplat
