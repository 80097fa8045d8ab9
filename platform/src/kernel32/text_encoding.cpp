#include "kernel32/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>

namespace wqplat {
namespace {

// One converter per direction, guarded: iconv descriptors carry state.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}

  std::string Convert(std::string_view text) {
    std::string out;
    if (text.empty()) return out;
    // Pure ASCII needs no conversion in either direction.
    bool ascii = true;
    for (unsigned char c : text) ascii &= c < 0x80;
    if (ascii || cd_ == reinterpret_cast<iconv_t>(-1)) return std::string(text);

    std::lock_guard lock(mutex_);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.resize(text.size() * 4 + 4);
    char* in = const_cast<char*>(text.data());
    size_t in_left = text.size();
    char* dst = out.data();
    size_t out_left = out.size();
    while (in_left > 0) {
      if (iconv(cd_, &in, &in_left, &dst, &out_left) != static_cast<size_t>(-1)) break;
      if (errno == E2BIG) break;  // cannot happen with the 4x reserve
      // Invalid or incomplete sequence: substitute and step one byte.
      *dst++ = '?';
      --out_left;
      ++in;
      --in_left;
    }
    out.resize(out.size() - out_left);
    return out;
  }

 private:
  iconv_t cd_;
  std::mutex mutex_;
};

}  // namespace

std::string Cp932ToUtf8(std::string_view text) {
  static Converter* converter = new Converter("UTF-8", "CP932");
  return converter->Convert(text);
}

std::string Utf8ToCp932(std::string_view text) {
  static Converter* converter = new Converter("CP932", "UTF-8");
  return converter->Convert(text);
}

}  // namespace wqplat
