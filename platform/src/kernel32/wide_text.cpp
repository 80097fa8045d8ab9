#include "kernel32/wide_text.h"

#include <bit>

#include "kernel32/iconv_conversion.h"

namespace wqplat {
namespace {

constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

}  // namespace

std::u16string NarrowToUtf16(std::string_view text, const char* charset, bool& substituted) {
  static constexpr char16_t kQuestionMark = u'?';
  const std::string bytes = ConvertEncoding(
      kUtf16, charset, text, 1, std::string_view(reinterpret_cast<const char*>(&kQuestionMark), 2),
      substituted);
  std::u16string wide(bytes.size() / 2, u'\0');
  bytes.copy(reinterpret_cast<char*>(wide.data()), wide.size() * 2);
  return wide;
}

std::string Utf16ToNarrow(std::u16string_view text, const char* charset, char substitute,
                          bool& substituted) {
  return ConvertEncoding(
      charset, kUtf16,
      std::string_view(reinterpret_cast<const char*>(text.data()), text.size() * 2), 2,
      std::string_view(&substitute, 1), substituted);
}

}  // namespace wqplat
