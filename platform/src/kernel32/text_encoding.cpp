#include "kernel32/text_encoding.h"

#include <algorithm>

#include "kernel32/iconv_conversion.h"

namespace wqplat {
namespace {

std::string Convert(const char* to, const char* from, std::string_view text) {
  // Pure ASCII reads the same in both encodings.
  if (std::all_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x80; })) {
    return std::string(text);
  }
  bool substituted;
  return ConvertEncoding(to, from, text, 1, "?", substituted);
}

}  // namespace

std::string Cp932ToUtf8(std::string_view text) { return Convert("UTF-8", "CP932", text); }

std::string Utf8ToCp932(std::string_view text) { return Convert("CP932", "UTF-8", text); }

}  // namespace wqplat
