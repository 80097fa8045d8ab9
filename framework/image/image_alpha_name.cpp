// The name of an image's alpha companion: "_a" before the extension.
#include <cstring>

#include "WqLib.h"
#include "core/base/charset_state.h"
#include "core/base/string_utils.h"

namespace {

constexpr std::size_t kAlphaNameBytes = 260;

}  // namespace

// A name whose companion would not fit the 260-byte buffer is refused
// rather than written past it.
int MakeAlphaFileName(char* destination, const char* fileName) {
  std::size_t length = std::strlen(fileName);
  if (length + 3 > kAlphaNameBytes) {
    destination[0] = '\0';
    return -1;
  }
  const char* dot = std::strrchr(fileName, '.');
  if (!dot) {
    std::memcpy(destination, fileName, length);
    std::memcpy(destination + length, "_a", 3);
    return 0;
  }
  std::size_t at = 0;
  std::size_t dotAt = static_cast<std::size_t>(dot - fileName);
  while (at < dotAt) {
    std::size_t step = IsLeadByte(fileName + at, GetCharSetClass()) && fileName[at + 1] != '\0' ? 2 : 1;
    std::memcpy(destination + at, fileName + at, step);
    at += step;
  }
  std::memcpy(destination + at, "_a", 2);
  std::strcpy(destination + at + 2, fileName + at);
  return 0;
}
