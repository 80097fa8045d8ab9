#include <gtest/gtest.h>

#include <string>

#include "platform/windows.h"

namespace {

// "表" is 0x95 0x5C in Shift-JIS: its trail byte is the backslash.
const char kShiftJis[] = "表示テスト\\ok";
const char16_t kUtf16[] = u"表示テスト\\ok";

TEST(CodePageTest, AnsiAndOemCodePagesAre932) {
  EXPECT_EQ(GetACP(), 932u);
  EXPECT_EQ(GetOEMCP(), 932u);
}

TEST(CodePageTest, LeadBytesAreTheShiftJisRanges) {
  for (int byte = 0; byte < 256; ++byte) {
    const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    EXPECT_EQ(IsDBCSLeadByte(static_cast<BYTE>(byte)) != FALSE, lead) << std::hex << byte;
  }
  EXPECT_EQ(static_cast<BYTE>(kShiftJis[0]), 0x95);
  EXPECT_EQ(static_cast<BYTE>(kShiftJis[1]), 0x5C);
}

TEST(CodePageTest, ShiftJisRoundTripsThroughUtf16) {
  for (UINT code_page : {932u, CP_ACP, CP_OEMCP}) {
    WCHAR wide[32] = {};
    const int wide_count = MultiByteToWideChar(code_page, 0, kShiftJis, -1, wide, 32);
    ASSERT_EQ(wide_count, static_cast<int>(std::size(kUtf16))) << "terminator counted";
    EXPECT_EQ(std::u16string(wide), kUtf16);

    char narrow[32] = {};
    BOOL used_default = TRUE;
    const int narrow_count =
        WideCharToMultiByte(code_page, 0, wide, -1, narrow, 32, nullptr, &used_default);
    ASSERT_EQ(narrow_count, static_cast<int>(sizeof kShiftJis));
    EXPECT_STREQ(narrow, kShiftJis);
    EXPECT_FALSE(used_default);
  }
}

TEST(CodePageTest, SizeQueryAndExplicitLengths) {
  EXPECT_EQ(MultiByteToWideChar(932, 0, kShiftJis, -1, nullptr, 0), 9);
  // An explicit length converts exactly those bytes, no terminator.
  EXPECT_EQ(MultiByteToWideChar(932, 0, kShiftJis, 2, nullptr, 0), 1);
  EXPECT_EQ(WideCharToMultiByte(932, 0, kUtf16, -1, nullptr, 0, nullptr, nullptr), 14);
  EXPECT_EQ(WideCharToMultiByte(932, 0, kUtf16, 1, nullptr, 0, nullptr, nullptr), 2);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, kUtf16, 1, nullptr, 0, nullptr, nullptr), 3);

  WCHAR small[4];
  EXPECT_EQ(MultiByteToWideChar(932, 0, kShiftJis, -1, small, 4), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(CodePageTest, Utf8ConvertsBothWays) {
  const char8_t utf8[] = u8"表示";
  WCHAR wide[8];
  ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(utf8), -1, wide, 8), 3);
  EXPECT_EQ(std::u16string(wide), u"表示");
  char back[8];
  ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, -1, back, 8, nullptr, nullptr), 7);
  EXPECT_STREQ(back, reinterpret_cast<const char*>(utf8));
}

TEST(CodePageTest, UnconvertibleInput) {
  // A lead byte with nothing after it.
  const char cut[] = {'a', static_cast<char>(0x95)};
  WCHAR wide[4];
  ASSERT_EQ(MultiByteToWideChar(932, 0, cut, 2, wide, 4), 2);
  EXPECT_EQ(wide[1], u'?');
  EXPECT_EQ(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, cut, 2, wide, 4), 0);
  EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);

  // A character Shift-JIS lacks takes the caller's default character.
  char narrow[4];
  BOOL used_default = FALSE;
  ASSERT_EQ(WideCharToMultiByte(932, 0, u"a\u00E9", 2, narrow, 4, "*", &used_default), 2);
  EXPECT_EQ(std::string(narrow, 2), "a*");
  EXPECT_TRUE(used_default);
}

TEST(CodePageTest, RefusesBadArguments) {
  WCHAR wide[4];
  char narrow[4];
  BOOL used;
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "a", -1, wide, 4), 0) << "unknown code page";
  EXPECT_EQ(MultiByteToWideChar(932, 0, nullptr, -1, wide, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(932, 0, "a", 0, wide, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(932, 0, "a", -1, nullptr, 4), 0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", -1, narrow, 4, nullptr, &used), 0)
      << "UTF-8 takes no default character";
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
