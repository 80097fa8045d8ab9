// Character codes of GDI's narrow calls decoded in the font's code page.
#include <gtest/gtest.h>

#include "gdi32/code_page_char.h"
#include "platform/gdi32.h"

namespace {

TEST(FontCodePageTest, CharacterSetsChooseTheirCodePages) {
  struct Case {
    int char_set;
    int code_page;
  };
  for (const Case& c : {Case{SHIFTJIS_CHARSET, 932}, Case{DEFAULT_CHARSET, 932}, Case{HANGEUL_CHARSET, 949},
                        Case{GB2312_CHARSET, 936}, Case{CHINESEBIG5_CHARSET, 950}, Case{ANSI_CHARSET, 1252}}) {
    EXPECT_EQ(wqplat::CodePageOfCharSet(c.char_set), c.code_page) << c.char_set;
  }
}

TEST(FontCodePageTest, CodesDecodeAsLeadTimes256PlusTrail) {
  struct Case {
    int code_page;
    unsigned int code;
    char32_t expected;
  };
  const Case cases[] = {
      {932, 'A', U'A'},
      {932, 0x8ABF, U'漢'},
      {932, 0x82A0, U'あ'},
      {932, 0xB1, U'ｱ'},       // half-width katakana: one byte
      {932, 0x8140, U'　'},
      {932, 0x81, 0},          // a lead byte alone
      {932, 0x8100, 0},        // no character at this pair
      {932, 0x18ABF, 0},       // more than two bytes
      {936, 0xD6D0, U'中'},
      {949, 0xB0A1, U'가'},
      {950, 0xA4A4, U'中'},
      {1252, 0x80, U'€'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(wqplat::DecodeCodePageChar(c.code_page, c.code), c.expected)
        << c.code_page << " " << std::hex << c.code;
    // A second lookup answers from memory with the same result.
    EXPECT_EQ(wqplat::DecodeCodePageChar(c.code_page, c.code), c.expected);
  }
}

}  // namespace
