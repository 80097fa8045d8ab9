// Conversion between the narrow code pages the layer knows (932 and UTF-8)
// and UTF-16, for MultiByteToWideChar and WideCharToMultiByte.
#pragma once

#include <string>
#include <string_view>

namespace wqplat {

// `charset` is an iconv name ("CP932", "UTF-8"). Bytes that do not convert
// become `substitute`, one per byte (narrow input) or per unit (UTF-16
// input); `substituted` tells whether that happened.
std::u16string NarrowToUtf16(std::string_view text, const char* charset, bool& substituted);
std::string Utf16ToNarrow(std::u16string_view text, const char* charset, char substitute,
                          bool& substituted);

}  // namespace wqplat
