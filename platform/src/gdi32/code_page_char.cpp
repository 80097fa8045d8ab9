#include "gdi32/code_page_char.h"

#include <iconv.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/gdi32.h"

namespace wqplat {
namespace {

constexpr int kSystemCodePage = 932;

// One iconv descriptor per code page, with the characters already decoded
// remembered: text draws ask for the same few hundred codes again and again.
class CodePageDecoder {
 public:
  explicit CodePageDecoder(int code_page)
      : cd_(iconv_open("UTF-32LE", ("CP" + std::to_string(code_page)).c_str())) {}

  char32_t Decode(unsigned int code) {
    // A character is one or two bytes; anything wider is no character, and
    // is not remembered, so odd codes cannot grow the memo without bound.
    if (code > 0xFFFF) return 0;
    std::lock_guard lock(mutex_);
    auto found = memo_.find(code);
    if (found != memo_.end()) return found->second;
    const char32_t decoded = Convert(code);
    memo_.emplace(code, decoded);
    return decoded;
  }

 private:
  char32_t Convert(unsigned int code) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return code < 0x80 ? code : 0;
    char in_bytes[2];
    size_t in_left = 0;
    if (code > 0xFF) in_bytes[in_left++] = static_cast<char>((code >> 8) & 0xFF);
    in_bytes[in_left++] = static_cast<char>(code & 0xFF);
    unsigned char out_bytes[8] = {};
    char* in = in_bytes;
    char* out = reinterpret_cast<char*>(out_bytes);
    size_t out_left = sizeof(out_bytes);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    // Exactly one character must come out of the whole input.
    if (iconv(cd_, &in, &in_left, &out, &out_left) == static_cast<size_t>(-1) ||
        out_left != sizeof(out_bytes) - 4) {
      return 0;
    }
    return static_cast<char32_t>(out_bytes[0] | out_bytes[1] << 8 | out_bytes[2] << 16 |
                                 static_cast<std::uint32_t>(out_bytes[3]) << 24);
  }

  iconv_t cd_;
  std::mutex mutex_;
  std::unordered_map<unsigned int, char32_t> memo_;
};

}  // namespace

int CodePageOfCharSet(int char_set) {
  switch (char_set) {
    case ANSI_CHARSET: return 1252;
    case HANGEUL_CHARSET: return 949;
    case GB2312_CHARSET: return 936;
    case CHINESEBIG5_CHARSET: return 950;
    default: return kSystemCodePage;
  }
}

int RealisedCharSet(int char_set) {
  return char_set == DEFAULT_CHARSET ? SHIFTJIS_CHARSET : char_set;
}

char32_t DecodeCodePageChar(int code_page, unsigned int code) {
  static std::mutex mutex;
  static auto* decoders = new std::unordered_map<int, std::unique_ptr<CodePageDecoder>>;
  CodePageDecoder* decoder;
  {
    std::lock_guard lock(mutex);
    auto& slot = (*decoders)[code_page];
    if (!slot) slot = std::make_unique<CodePageDecoder>(code_page);
    decoder = slot.get();
  }
  return decoder->Decode(code);
}

}  // namespace wqplat
