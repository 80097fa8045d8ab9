#include "kernel32/wide_text.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <memory>

namespace wqplat {
namespace {

constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

struct IconvCloser {
  void operator()(void* descriptor) const { iconv_close(static_cast<iconv_t>(descriptor)); }
};

// Converts `input` whole. Each input unit (1 or 2 bytes) that does not
// convert is replaced by `substitute`, already in the target encoding. A
// descriptor is opened per call, so any number of threads may convert.
std::string Convert(const char* to, const char* from, std::string_view input, std::size_t unit,
                    std::string_view substitute, bool& substituted) {
  substituted = false;
  std::string output;
  iconv_t opened = iconv_open(to, from);
  if (opened == reinterpret_cast<iconv_t>(-1)) return output;
  std::unique_ptr<void, IconvCloser> descriptor(opened);

  output.resize(input.size() * 2 + 16);
  char* in = const_cast<char*>(input.data());
  std::size_t in_left = input.size();
  std::size_t written = 0;
  while (in_left > 0) {
    char* out = output.data() + written;
    std::size_t out_left = output.size() - written;
    const std::size_t result = iconv(opened, &in, &in_left, &out, &out_left);
    written = output.size() - out_left;
    if (result != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG || out_left < substitute.size()) {
      output.resize(output.size() * 2);
      continue;
    }
    // An invalid or unmappable unit, or one cut off at the end.
    output.replace(written, substitute.size(), substitute);
    written += substitute.size();
    const std::size_t skipped = in_left < unit ? in_left : unit;
    in += skipped;
    in_left -= skipped;
    substituted = true;
  }
  output.resize(written);
  return output;
}

}  // namespace

std::u16string NarrowToUtf16(std::string_view text, const char* charset, bool& substituted) {
  static constexpr char16_t kQuestionMark = u'?';
  const std::string bytes =
      Convert(kUtf16, charset, text, 1,
              std::string_view(reinterpret_cast<const char*>(&kQuestionMark), 2), substituted);
  std::u16string wide(bytes.size() / 2, u'\0');
  bytes.copy(reinterpret_cast<char*>(wide.data()), wide.size() * 2);
  return wide;
}

std::string Utf16ToNarrow(std::u16string_view text, const char* charset, char substitute,
                          bool& substituted) {
  return Convert(charset, kUtf16,
                 std::string_view(reinterpret_cast<const char*>(text.data()), text.size() * 2), 2,
                 std::string_view(&substitute, 1), substituted);
}

}  // namespace wqplat
