// Conversion between the layer's narrow code page (932, Shift-JIS) and the
// UTF-8 that Linux speaks at its boundaries (paths, titles, stderr, fonts).
#pragma once

#include <string>
#include <string_view>

namespace wqplat {

// Bytes that do not convert become '?', so a result is always produced.
std::string Cp932ToUtf8(std::string_view text);
std::string Utf8ToCp932(std::string_view text);

}  // namespace wqplat
