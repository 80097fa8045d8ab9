// Face names as LOGFONTA holds them: code page 932 bytes, at most
// LF_FACESIZE - 1 of them.
#pragma once

#include <string_view>

#include "platform/gdi32.h"

namespace wqplat {

// Copies name (null: empty) into a LOGFONTA face field, cut at a character
// boundary when it is too long.
void StoreFaceName(LPCSTR name, CHAR (&field)[LF_FACESIZE]);

std::string_view FaceNameOf(const LOGFONTA& font);

}  // namespace wqplat
