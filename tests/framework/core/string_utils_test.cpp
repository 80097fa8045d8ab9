#include "core/base/string_utils.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/base/charset_state.h"

namespace {

// Shift-JIS bytes: a double-byte character whose trail byte is the
// backslash, one whose trail byte is a lower-case letter, and a half-width
// katakana (a single byte at or above 0x80).
constexpr const char* kTrailBackslash = "\x95\x5C";  // 表
constexpr const char* kTrailLetterA = "\x82\x61";    // Ａ (full width)
constexpr const char* kHalfWidthKana = "\xB1";

class StringUtilsTest : public testing::Test {
 protected:
  void SetUp() override { SetCharSetClass(1); }
};

TEST_F(StringUtilsTest, IsLeadByteFollowsTheClassRanges) {
  struct Case {
    int byte;
    int charSetClass;
    int expected;
  };
  const Case cases[] = {
      {0x80, 1, 0}, {0x81, 1, 1}, {0x9F, 1, 1}, {0xA0, 1, 0}, {0xB1, 1, 0}, {0xDF, 1, 0},
      {0xE0, 1, 1}, {0xFC, 1, 1}, {0xFD, 1, 0}, {0x5C, 1, 0}, {0x81, 0, 1}, {0xB1, 0, 0},
      {0x80, 2, 1}, {0xB1, 3, 1}, {0xFF, 4, 1}, {0x7F, 4, 0}, {0xFD, 5, 0},
  };
  for (const Case& c : cases) {
    const BYTE byte = static_cast<BYTE>(c.byte);
    EXPECT_EQ(IsLeadByte(&byte, c.charSetClass), c.expected) << std::hex << c.byte << " class " << c.charSetClass;
  }
}

TEST_F(StringUtilsTest, StringCopyNAlwaysTerminates) {
  struct Case {
    const char* source;
    int n;
    const char* expected;
  };
  const Case cases[] = {
      {"abcdefghij", 3, "abc"}, {"ab", 5, "ab"}, {"abc", 0, ""}, {"abc", -4, ""}, {"", 3, ""},
  };
  for (const Case& c : cases) {
    char dst[16];
    std::memset(dst, 'x', sizeof(dst));
    StringCopyN(dst, c.source, c.n);
    EXPECT_STREQ(dst, c.expected) << c.source << " n=" << c.n;
    EXPECT_EQ(dst[std::strlen(c.expected) + 1], 'x') << "wrote past the terminator";
  }
  char whole[8];
  StringCopy(whole, "copy");
  EXPECT_STREQ(whole, "copy");
}

TEST_F(StringUtilsTest, StringFindCharMBNeverMatchesATrailByte) {
  const std::string onlyTrail = std::string("a") + kTrailBackslash + "b";
  EXPECT_EQ(StringFindCharMB(onlyTrail.c_str(), '\\'), nullptr);

  const std::string withReal = std::string(kTrailBackslash) + "dir\\file";
  const char* found = StringFindCharMB(withReal.c_str(), '\\');
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found - withReal.c_str(), 5);

  EXPECT_EQ(StringFindCharMB("", 'a'), nullptr);
  const char* abc = "abc";
  EXPECT_EQ(StringFindCharMB(abc, 'c'), abc + 2);
  // A lead byte cut off by the terminator does not carry the scan past it.
  const char cutOff[] = {'a', '\x95', '\0', '\\', '\0'};
  EXPECT_EQ(StringFindCharMB(cutOff, '\\'), nullptr);
  // In a class that takes every high byte as a lead byte, the half-width
  // kana swallows the next byte.
  const std::string kanaThenA = std::string(kHalfWidthKana) + "a";
  EXPECT_NE(StringFindCharMB(kanaThenA.c_str(), 'a'), nullptr);
  SetCharSetClass(2);
  EXPECT_EQ(StringFindCharMB(kanaThenA.c_str(), 'a'), nullptr);
}

TEST_F(StringUtilsTest, StringToUpperMBLeavesDoubleByteCharactersAlone) {
  std::string text = std::string("ab") + kTrailLetterA + "z!" + kTrailBackslash + "q";
  const std::string expected = std::string("AB") + kTrailLetterA + "Z!" + kTrailBackslash + "Q";
  char* end = StringToUpperMB(text.data());
  EXPECT_EQ(text, expected);
  EXPECT_EQ(end, text.data() + text.size());
}

TEST_F(StringUtilsTest, CountCharsMBCountsDoubleByteCharactersOnce) {
  const std::string text = std::string("a") + kTrailBackslash + kHalfWidthKana + "b";  // 4 chars, 5 bytes
  struct Case {
    int n;
    int expected;
  };
  const Case cases[] = {{0, 0}, {-1, 0}, {1, 1}, {2, 2}, {3, 2}, {4, 3}, {5, 4}, {100, 4}};
  for (const Case& c : cases) EXPECT_EQ(CountCharsMB(text.c_str(), c.n), c.expected) << "n=" << c.n;
}

TEST_F(StringUtilsTest, StringCompareReportsEqualityOnly) {
  EXPECT_EQ(StringCompare("abc", "abc"), 0);
  EXPECT_EQ(StringCompare("", ""), 0);
  EXPECT_EQ(StringCompare("abc", "abd"), 1);
  EXPECT_EQ(StringCompare("abd", "abc"), 1);
  EXPECT_EQ(StringCompare("ab", "abc"), 1);
}

TEST_F(StringUtilsTest, IntToStringInEveryRadix) {
  struct Case {
    int value;
    int radix;
    const char* expected;
  };
  const Case cases[] = {
      {-255, 16, "-ff"}, {0, 10, "0"}, {0, 2, "0"}, {10, 2, "1010"}, {35, 36, "z"}, {123456, 10, "123456"},
      {2147483647, 16, "7fffffff"}, {-2147483647 - 1, 10, "-2147483648"}, {-2147483647 - 1, 2,
      "-10000000000000000000000000000000"}, {5, 1, ""}, {5, 37, ""},
  };
  for (const Case& c : cases) {
    char buffer[40];
    EXPECT_STREQ(IntToString(c.value, buffer, c.radix), c.expected) << c.value << " radix " << c.radix;
  }
}

TEST_F(StringUtilsTest, MemoryMoveHandlesOverlapInBothDirections) {
  char forward[] = "0123456789";
  MemoryMove(forward + 2, forward, 6);
  EXPECT_STREQ(forward, "0101234589");
  char backward[] = "0123456789";
  MemoryMove(backward, backward + 2, 6);
  EXPECT_STREQ(backward, "2345676789");
}

TEST_F(StringUtilsTest, MemoryFillCopyAndCompare) {
  unsigned char a[8];
  unsigned char b[8];
  MemoryFill(a, 0xAB, sizeof(a));
  MemoryCopy(b, a, sizeof(b));
  EXPECT_EQ(MemoryCompare(a, b, sizeof(a)), 0);
  b[7] = 0;
  EXPECT_EQ(MemoryCompare(a, b, sizeof(a)), 1);
  EXPECT_EQ(MemoryCompare(a, b, 7), 0);
  EXPECT_EQ(MemoryCompare(a, b, 0), 0);
  MemoryFill(a, 0, 0);
  EXPECT_EQ(a[0], 0xAB);

  EXPECT_EQ(MemoryCompareSigned(a, b, 0), 0);
  EXPECT_EQ(MemoryCompareSigned(a, b, -1), 1);
  EXPECT_EQ(MemoryCompareSigned(a, b, 7), 0);
  EXPECT_EQ(MemoryCompareSigned(a, b, 8), 1);
}

TEST_F(StringUtilsTest, FormatStringTruncatesWithinTheBuffer) {
  char buffer[12];
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_EQ(FormatString(buffer, 8, "%s-%d", "abcdef", 1234), 0);
  EXPECT_STREQ(buffer, "abcdef-");
  EXPECT_EQ(buffer[8], 'x');

  EXPECT_EQ(FormatString(buffer, sizeof(buffer), "%d:%s", 42, "ok"), 0);
  EXPECT_STREQ(buffer, "42:ok");

  // The cut never leaves half of a double-byte character.
  const std::string kanji = std::string("ab") + kTrailBackslash + kTrailBackslash;
  FormatString(buffer, 6, "%s", kanji.c_str());
  EXPECT_EQ(std::string(buffer), std::string("ab") + kTrailBackslash);
}

int CallFormatV(char* buffer, std::size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int written = FormatStringV(buffer, size, format, args);
  va_end(args);
  return written;
}

TEST_F(StringUtilsTest, FormatStringVReturnsTheCharactersStored) {
  char buffer[16];
  EXPECT_EQ(CallFormatV(buffer, sizeof(buffer), "%05d", 42), 5);
  EXPECT_STREQ(buffer, "00042");
  EXPECT_EQ(CallFormatV(buffer, 4, "%s", "abcdef"), 3);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(CallFormatV(buffer, 0, "%s", "abcdef"), 0);
}

}  // namespace
