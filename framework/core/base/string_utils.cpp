#include "core/base/string_utils.h"

#include <cstdio>
#include <cstring>

#include "core/base/charset_state.h"

void StringCopy(char* dst, const char* src) { std::strcpy(dst, src); }

void StringCopyN(char* dst, const char* src, int n) {
  int copied = 0;
  while (copied < n && src[copied] != '\0') {
    dst[copied] = src[copied];
    ++copied;
  }
  dst[copied] = '\0';
}

int IsLeadByte(const BYTE* byte, int charSetClass) {
  const BYTE b = *byte;
  if (charSetClass >= 2 && charSetClass <= 4) return b >= 0x80 ? 1 : 0;
  return ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) ? 1 : 0;
}

namespace {

// Bytes taken by the character at text: 2 for a double-byte character,
// 1 otherwise, also for a lead byte cut off by the terminator.
int CharacterLength(const char* text, int charSetClass) {
  return (IsLeadByte(text, charSetClass) && text[1] != '\0') ? 2 : 1;
}

}  // namespace

const char* StringFindCharMB(const char* text, char ch) {
  const int charSetClass = GetCharSetClass();
  for (const char* p = text; *p != '\0'; p += CharacterLength(p, charSetClass)) {
    if (*p == ch) return p;
  }
  return nullptr;
}

int StringCompare(const char* a, const char* b) { return std::strcmp(a, b) == 0 ? 0 : 1; }

char* StringToUpperMB(char* text) {
  const int charSetClass = GetCharSetClass();
  char* p = text;
  while (*p != '\0') {
    const int length = CharacterLength(p, charSetClass);
    if (length == 1 && *p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    p += length;
  }
  return p;
}

int CountCharsMB(const char* text, int n) {
  const int charSetClass = GetCharSetClass();
  int count = 0;
  for (int i = 0; i < n && text[i] != '\0'; i += CharacterLength(text + i, charSetClass)) {
    ++count;
  }
  return count;
}

char* IntToString(int value, char* buffer, int radix) {
  if (radix < 2 || radix > 36) {
    buffer[0] = '\0';
    return buffer;
  }
  // The magnitude as unsigned, so that INT_MIN converts too.
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  char digits[32];
  int count = 0;
  do {
    const unsigned digit = magnitude % static_cast<unsigned>(radix);
    digits[count++] = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
    magnitude /= static_cast<unsigned>(radix);
  } while (magnitude != 0);
  char* out = buffer;
  if (value < 0) *out++ = '-';
  while (count > 0) *out++ = digits[--count];
  *out = '\0';
  return buffer;
}

void MemoryFill(void* dst, int byte, std::size_t n) {
  if (n != 0) std::memset(dst, byte, n);
}

void MemoryCopy(void* dst, const void* src, std::size_t n) {
  auto* out = static_cast<unsigned char*>(dst);
  const auto* in = static_cast<const unsigned char*>(src);
  for (std::size_t i = 0; i < n; ++i) out[i] = in[i];
}

void MemoryMove(void* dst, const void* src, std::size_t n) {
  if (n != 0) std::memmove(dst, src, n);
}

int MemoryCompare(const void* a, const void* b, std::size_t n) {
  return (n == 0 || std::memcmp(a, b, n) == 0) ? 0 : 1;
}

int MemoryCompareSigned(const void* a, const void* b, int n) {
  if (n < 0) return 1;
  return MemoryCompare(a, b, static_cast<std::size_t>(n));
}

int FormatStringV(char* buffer, std::size_t bufferSize, const char* format, va_list args) {
  if (bufferSize == 0) return 0;
  const int wanted = std::vsnprintf(buffer, bufferSize, format, args);
  if (wanted < 0) {
    buffer[0] = '\0';
    return 0;
  }
  if (static_cast<std::size_t>(wanted) < bufferSize) return wanted;
  // Cut: do not leave half of a double-byte character at the end.
  const int charSetClass = GetCharSetClass();
  int length = 0;
  const int limit = static_cast<int>(bufferSize - 1);
  while (length < limit) {
    const int next = length + (IsLeadByte(buffer + length, charSetClass) ? 2 : 1);
    if (next > limit) break;
    length = next;
  }
  buffer[length] = '\0';
  return length;
}

int FormatString(char* buffer, std::size_t bufferSize, const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatStringV(buffer, bufferSize, format, args);
  va_end(args);
  return 0;
}
