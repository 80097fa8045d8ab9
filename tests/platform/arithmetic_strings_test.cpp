#include <gtest/gtest.h>

#include <filesystem>

#include "platform/windows.h"
#include "support/temp_dir.h"

namespace {

TEST(ArithmeticStringsTest, MulDivRoundsHalfAwayFromZeroAndFailsWithMinusOne) {
  struct Case {
    int number, numerator, denominator, expected;
  };
  const Case cases[] = {
      {100'000, 30, 1'000, 3'000},       // plain
      {5, 1, 2, 3},       {-5, 1, 2, -3},  {5, -1, 2, -3}, {5, 1, -2, -3}, {-5, -1, -2, -3}, {5, -1, -2, 3},
      {7, 1, 3, 2},       {8, 1, 3, 3},                   // below and above one half
      {0x40000000, 8, 4, -1},                              // the result does not fit
      {0x40000000, 0x40000000, 0x40000000, 0x40000000},    // the product needs 64 bits
      {1, 1, 0, -1},                                       // no denominator
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.number << "*" << c.numerator << "/" << c.denominator);
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected);
  }
}

TEST(ArithmeticStringsTest, LstrcmpWComparesCaseSensitivelyWithNullFirst) {
  EXPECT_EQ(lstrcmpW(u"Output", u"Output"), 0);
  EXPECT_LT(lstrcmpW(u"Out", u"Output"), 0);
  EXPECT_GT(lstrcmpW(u"Output", u"Out"), 0);
  EXPECT_NE(lstrcmpW(u"output", u"Output"), 0);
  EXPECT_LT(lstrcmpW(nullptr, u""), 0);
  EXPECT_GT(lstrcmpW(u"", nullptr), 0);
  EXPECT_EQ(lstrcmpW(nullptr, nullptr), 0);
}

TEST(ArithmeticStringsTest, DeleteFileWDeletesByAWideName) {
  wqtest::TempDir dir;
  dir.WriteFile("\xE5\x8B\x95\xE7\x94\xBB.tmp", "x");  // a Japanese name, UTF-8 on disk
  std::u16string windows_path;
  for (char c : dir.WindowsPath()) windows_path += static_cast<char16_t>(c);
  EXPECT_TRUE(DeleteFileW((windows_path + u"\\\u52D5\u753B.TMP").c_str()));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "\xE5\x8B\x95\xE7\x94\xBB.tmp"));
  EXPECT_FALSE(DeleteFileW((windows_path + u"\\\u52D5\u753B.TMP").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  // A character that no narrow name can hold.
  EXPECT_FALSE(DeleteFileW((windows_path + u"\\\U0001F600.tmp").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
}

}  // namespace
