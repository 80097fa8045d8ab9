#include "kernel32/iconv_conversion.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace wqplat {
namespace {

struct IconvCloser {
  void operator()(void* descriptor) const { iconv_close(static_cast<iconv_t>(descriptor)); }
};

}  // namespace

std::string ConvertEncoding(const char* to, const char* from, std::string_view input,
                            std::size_t unit, std::string_view substitute, bool& substituted) {
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

}  // namespace wqplat
