// Drawing and measuring strings on the software screen: advances of mixed
// ASCII and Japanese text, the formatted entry points and their bound,
// blending through the work image, vertical text and a cache that fills
// and evicts.
#include <algorithm>
#include <string>
#include <vector>

#include "graphics/render_state.h"
#include "text/font_record.h"
#include "text/glyph_cache.h"
#include "text/text_draw_core.h"
#include "text_fixture.h"

namespace {

using wqtest::TextTest;

class TextDrawTest : public TextTest {
 protected:
  static int Measure(int font, const char* text, int vertical = 0, int* size = nullptr, int length = -1) {
    TextLayout layout{kTextMeasure, 0, 0, 0, 1.0, 1.0, text, 0, nullptr, nullptr, 0, font, 0, length, vertical,
                      size};
    return DrawTextCore(layout);
  }
  static int Advance(int font, const std::string& character) { return Measure(font, character.c_str()); }
  // The first and last lit columns and rows of the rectangle, or -1s.
  static RECT LitBox(int left, int top, int right, int bottom) {
    RECT box{-1, -1, -1, -1};
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) {
        if (ScreenPixel(x, y) == 0) continue;
        if (box.left == -1 || x < box.left) box.left = x;
        if (box.top == -1) box.top = y;
        box.right = std::max<LONG>(box.right, x);
        box.bottom = y;
      }
    return box;
  }
};

TEST_F(TextDrawTest, AdvancesOfMixedStringsAreTheSumsOfTheirCharacters) {
  Start(0);
  const int font = CreateFontToHandle("メイリオ", 16, -1, 0, -1, -1, 0, -1, -1);
  ASSERT_NE(font, -1);
  const std::vector<std::string> characters = {"A", "g", " ", "1", "あ", "漢", "　", "ｱ", "ー"};
  std::vector<int> advances;
  for (const std::string& c : characters) {
    advances.push_back(Advance(font, c));
    EXPECT_GT(advances.back(), 0) << c;
  }
  // Full-width characters are wider than half-width ones.
  EXPECT_GT(Advance(font, "漢"), Advance(font, "ｱ"));
  const struct {
    std::string text;
    std::vector<int> parts;
  } cases[] = {
      {"Ag 1", {0, 1, 2, 3}},
      {"あ漢ｱー", {4, 5, 7, 8}},
      {"Aあ　gｱ1", {0, 4, 6, 1, 7, 3}},
  };
  for (const auto& c : cases) {
    int sum = 0;
    for (int part : c.parts) sum += advances[part];
    EXPECT_EQ(Measure(font, c.text.c_str()), sum) << c.text;
    // Spacing adds its pixels to every character.
    SetFontSpacing(2, font);
    EXPECT_EQ(Measure(font, c.text.c_str()), sum + 2 * static_cast<int>(c.parts.size())) << c.text;
    SetFontSpacing(0, font);
  }
  // A length cuts the string; a length past its end is the whole string.
  EXPECT_EQ(Measure(font, "Ag 1", 0, nullptr, 2), advances[0] + advances[1]);
  EXPECT_EQ(Measure(font, "Ag 1", 0, nullptr, 99), Measure(font, "Ag 1"));
  EXPECT_EQ(Measure(font, ""), 0);

  // Horizontal size is (advance, cell height); vertical (cell height, advance).
  int size[2] = {0, 0};
  const int across = Measure(font, "あA", 0, size);
  EXPECT_EQ(size[0], across);
  EXPECT_EQ(size[1], FindFontRecord(font)->cellHeight);
  const int down = Measure(font, "あA", 1, size);
  EXPECT_EQ(down, across);
  EXPECT_EQ(size[0], FindFontRecord(font)->cellHeight);
  EXPECT_EQ(size[1], down);
}

TEST_F(TextDrawTest, ALongStringMeasuresAsItsPieces) {
  Start(0);
  const int font = CreateFontToHandle(nullptr, 16, -1, 0, -1, -1, 0, -1, -1);
  std::string piece;
  while (piece.size() < 100) piece += piece.size() % 10 == 8 ? "あ" : "x";  // 100 bytes
  ASSERT_EQ(piece.size(), 100u);
  const std::string text = piece + piece + piece;  // past the fixed 256-entry list
  EXPECT_EQ(Measure(font, text.c_str()), 3 * Measure(font, piece.c_str()));
}

TEST_F(TextDrawTest, DrawTextFormatDrawsInTheColourInsideTheLine) {
  Start(0);
  EXPECT_EQ(DrawTextFormat(100, 200, MakeColor(255, 0, 0), "SCORE %d 漢字かなｶﾅ", 1234), 0);
  const RECT box = LitBox(90, 190, 500, 240);
  ASSERT_NE(box.left, -1);
  EXPECT_GE(box.left, 100);
  EXPECT_GE(box.top, 200);
  EXPECT_LT(box.bottom, 200 + 18);
  for (int y = box.top; y <= box.bottom; ++y)
    for (int x = box.left; x <= box.right; ++x) {
      const std::uint32_t pixel = ScreenPixel(x, y);
      if (pixel != 0) {
        ASSERT_EQ(pixel, 0xFF0000u) << x << "," << y;
      }
    }
  // Nothing at all for an empty text.
  EXPECT_EQ(DrawTextFormat(100, 400, MakeColor(255, 0, 0), "%s", ""), 0);
  EXPECT_EQ(CountLitPixels(90, 390, 500, 440), 0);
  // The brightness tints the colour.
  SetDrawBrightness(128, 255, 255);
  DrawTextFormat(100, 500, MakeColor(255, 255, 255), "WWW");
  const RECT tinted = LitBox(90, 490, 300, 540);
  ASSERT_NE(tinted.left, -1);
  for (int y = tinted.top; y <= tinted.bottom; ++y)
    for (int x = tinted.left; x <= tinted.right; ++x) {
      const std::uint32_t pixel = ScreenPixel(x, y);
      if (pixel != 0) {
        ASSERT_EQ(pixel, 0x80FFFFu);
      }
    }
}

TEST_F(TextDrawTest, FormattedTextIsCutWithoutSplittingADoubleByteCharacter) {
  Start(0);
  const int font = CreateFontToHandle(nullptr, 8, -1, 0, -1, -1, 0, -1, -1);
  // One "x", then kanji: the 2,047th byte would be the first byte of "漢".
  std::string text = "x";
  while (text.size() < 3000) text += "漢";
  EXPECT_EQ(DrawTextFormatWithFont(0, 0, MakeColor(255, 255, 255), font, "%s", text.c_str()), 0);
  const FontRecord* record = FindFontRecord(font);
  const unsigned char lead = static_cast<unsigned char>("漢"[0]);
  EXPECT_EQ(record->chars[lead].cached, 0u) << "a lone first byte was drawn";
  EXPECT_EQ(record->chars[lead | static_cast<unsigned char>("漢"[1]) << 8].cached, 1u);
  // The default-font entry point too, with a cut after an even number.
  EXPECT_EQ(DrawTextFormat(0, 100, MakeColor(255, 255, 255), "%s", text.c_str()), 0);
  EXPECT_EQ(FindFontRecord(GetDefaultFont())->chars[lead].cached, 0u);
}

TEST_F(TextDrawTest, HalfAlphaTextBlendsOnceThroughTheWorkImage) {
  Start(0);
  const int plain = CreateFontToHandle(nullptr, 24, -1, 0, -1, -1, 0, -1, -1);
  SetBlendMode(1, 128);
  DrawTextFormatWithFont(10, 10, MakeColor(255, 255, 255), plain, "HHHH");
  const RECT box = LitBox(0, 0, 200, 60);
  ASSERT_NE(box.left, -1);
  std::uint32_t brightest = 0;
  for (int y = box.top; y <= box.bottom; ++y)
    for (int x = box.left; x <= box.right; ++x) brightest = std::max(brightest, ScreenPixel(x, y) & 0xFF);
  EXPECT_GE(brightest, 0x7Fu);
  EXPECT_LE(brightest, 0x80u);
  // The work image's key never shows: the background round the glyphs stays.
  EXPECT_EQ(ScreenPixel(box.left - 1, box.top), 0u);
}

TEST_F(TextDrawTest, AntialiasedAndEdgedTextMixColours) {
  Start(0);
  const int soft = CreateFontToHandle("メイリオ", 28, -1, 3, -1, 2, 0, -1, -1);
  ASSERT_NE(soft, -1);
  DrawTextWithFont(10, 10, "漢A", MakeColor(255, 255, 255), soft, MakeColor(0, 0, 255), 0);
  int white = 0, blue = 0, mixed = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 100; ++x) {
      const std::uint32_t p = ScreenPixel(x, y);
      // The edge's strongest level is 15 sixteenths.
      if (p == 0xFFFFFF) {
        ++white;
      } else if ((p & 0xFFFF00) == 0 && (p & 0xFF) >= 0xE0) {
        ++blue;
      } else if (p != 0) {
        ++mixed;
      }
    }
  EXPECT_GT(white, 20);
  EXPECT_GT(blue, 20);
  EXPECT_GT(mixed, 20);  // anti-aliased steps between glyph, edge and background
}

TEST_F(TextDrawTest, VerticalTextIsHorizontalTextTurnedClockwise) {
  Start(0);
  const int font = CreateFontToHandle(nullptr, 16, -1, 1, -1, 1, 0, -1, -1);
  const std::uint32_t white = MakeColor(255, 255, 255), blue = MakeColor(0, 0, 255);
  DrawTextWithFont(100, 100, "Fあ", white, font, blue, 0);
  DrawTextWithFont(400, 100, "Fあ", white, font, blue, 1);
  const RECT across = LitBox(90, 90, 200, 140);
  const RECT down = LitBox(390, 90, 450, 200);
  ASSERT_NE(across.left, -1);
  ASSERT_NE(down.left, -1);
  const int width = across.right - across.left + 1, height = across.bottom - across.top + 1;
  ASSERT_EQ(down.right - down.left + 1, height);
  ASSERT_EQ(down.bottom - down.top + 1, width);
  // Pixel (u, v) of the line lands at column (height - 1 - v), row u.
  for (int v = 0; v < height; ++v)
    for (int u = 0; u < width; ++u)
      ASSERT_EQ(ScreenPixel(down.left + height - 1 - v, down.top + u), ScreenPixel(across.left + u, across.top + v))
          << u << "," << v;
}

TEST_F(TextDrawTest, AFullCacheEvictsInRingOrderAndDrawsAgain) {
  Start(0);
  // A large cell leaves room for few glyphs.
  const int font = CreateFontToHandle(nullptr, 120, -1, 3, -1, 3, 0, -1, -1);
  ASSERT_NE(font, -1);
  const FontRecord* record = FindFontRecord(font);
  const int cells = record->cellCount;
  ASSERT_LT(cells, 60);
  std::string text;
  for (int i = 0; i < cells + 5; ++i) text += static_cast<char>('!' + i);
  // One pass over a string longer than the cache: the last five
  // characters push out the first five.
  Measure(font, text.c_str());
  EXPECT_EQ(record->chars['!'].cached, 0u);
  EXPECT_EQ(record->chars['!' + cells + 4].cached, 1u);
  EXPECT_EQ(record->chars['!' + cells + 4].cell, &record->cells[4]);
  EXPECT_EQ(record->nextCell, 5);
  // Drawn again, the first character is rasterised again into the next cell.
  SetDrawArea(0, 0, 100, 100);
  EXPECT_EQ(DrawTextWithFont(0, 0, "!", MakeColor(255, 255, 255), font, 0, 0), 0);
  EXPECT_EQ(record->chars['!'].cell, &record->cells[5]);
  // A whole string longer than the cache draws too.
  EXPECT_EQ(DrawTextWithFont(0, 0, text.c_str(), MakeColor(255, 255, 255), font, 0, 0), 0);
  EXPECT_GT(CountLitPixels(0, 0, 100, 100), 100);
}

TEST_F(TextDrawTest, TextRightOfTheAreaOnTheFrontScreenDrawsNothing) {
  Start(0);
  ASSERT_EQ(SelectDrawTarget(-4), 0);
  SetDrawArea(0, 0, 300, 300);
  EXPECT_EQ(DrawTextFormat(300, 10, MakeColor(255, 255, 255), "ABC"), 0);
  EXPECT_EQ(DrawTextFormat(290, 10, MakeColor(255, 255, 255), "ABC"), 0);
  EXPECT_EQ(CountLitPixels(300, 0, 400, 40), 0);
  EXPECT_GT(CountLitPixels(290, 0, 300, 40), 0);
}

}  // namespace

namespace {

using wqtest::TextTest;

class TextureCacheTest : public TextTest {};

// The texture cache's last row and column of cells reach one pixel past
// the cache when the cell size divides its side: every clear and upload
// there stays inside the staging image (the address sanitiser watches).
TEST_F(TextureCacheTest, AFontFillingTheWholeCacheEvictsAndStaysInside) {
  Start(1);
  int font = -1;
  for (int size = 40; size < 200 && font == -1; ++size) {
    const int candidate = CreateFontToHandle(nullptr, size, -1, 3, -1, 2, 0, -1, -1);
    const FontRecord* record = FindFontRecord(candidate);
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(record->usesTextureCache, 1);
    if (record->cacheWidth % record->cellWidth == 0 && record->cacheHeight % record->cellWidth == 0 &&
        record->cellCount < 200) {
      font = candidate;
    } else {
      DeleteFont(candidate);
    }
  }
  ASSERT_NE(font, -1);
  const FontRecord* record = FindFontRecord(font);
  // Kanji from one row of the code page, more than the cache holds.
  std::string text;
  for (int i = 0; i < record->cellCount + 7; ++i) {
    const int code = 0x889F + i % 94 + i / 94 * 0x100;
    text += static_cast<char>(code >> 8);
    text += static_cast<char>(code & 0xFF);
  }
  EXPECT_EQ(DrawTextWithFont(0, 0, text.c_str(), MakeColor(255, 255, 255), font, MakeColor(0, 0, 255), 0), 0);
  EXPECT_EQ(DrawTextWithFont(0, 100, text.c_str(), MakeColor(255, 255, 255), font, MakeColor(0, 0, 255), 1), 0);
  EXPECT_EQ(PresentScreen(), 0);
  // The first kanji was pushed out by the last ones; drawn alone it comes back.
  const int first = static_cast<unsigned char>(text[0]) | static_cast<unsigned char>(text[1]) << 8;
  EXPECT_EQ(record->chars[first].cached, 0u);
  EXPECT_EQ(DrawTextWithFont(0, 200, text.substr(0, 2).c_str(), MakeColor(255, 255, 255), font, 0, 0), 0);
  EXPECT_EQ(record->chars[first].cached, 1u);
  EXPECT_EQ(IsFontHandleValid(font), 1);
}

// A device rebuild deletes the cache graphs with the old device and makes
// every font again under its handle, still drawing.
TEST_F(TextureCacheTest, FontsDrawAgainAfterALostDevice) {
  Start(1);
  const int font = CreateFontToHandle("メイリオ", 24, -1, 0, -1, -1, 0, -1, -1);
  ASSERT_EQ(DrawTextFormatWithFont(10, 10, MakeColor(255, 255, 255), font, "漢字"), 0);
  WqControlLoseD3d9Devices();
  EXPECT_EQ(PresentScreen(), 0);
  EXPECT_EQ(PresentScreen(), 0);  // rebuilt
  ASSERT_EQ(IsFontHandleValid(font), 1);
  ClearDrawTarget(nullptr);
  EXPECT_EQ(DrawTextFormatWithFont(10, 10, MakeColor(255, 255, 255), font, "漢字"), 0);
  EXPECT_EQ(PresentScreen(), 0);
  int width = 0, height = 0;
  const std::vector<std::uint32_t> window = ReadWindow(&width, &height);
  int lit = 0;
  for (int y = 10; y < 40; ++y)
    for (int x = 10; x < 60; ++x) lit += window[y * width + x] == 0xFFFFFF ? 1 : 0;
  EXPECT_GT(lit, 30);
}

}  // namespace
