// GDI fonts: text metrics and GetGlyphOutlineA bitmaps across a table of
// requests, characters and formats.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/windows.h"
#include "support/font_dc.h"

namespace {

using wqtest::FontDc;
using wqtest::FontRequest;
using wqtest::kIdentity;

struct GlyphResult {
  DWORD size = GDI_ERROR;
  GLYPHMETRICS metrics{};
  std::vector<BYTE> bits;
};

GlyphResult FetchGlyph(HDC dc, UINT character, UINT format) {
  GlyphResult result;
  result.size = GetGlyphOutlineA(dc, character, format, &result.metrics, 0, nullptr, &kIdentity);
  if (result.size == GDI_ERROR) return result;
  // Guard bytes behind the glyph catch a write past the reported size.
  result.bits.assign(result.size + 16, 0xA5);
  GLYPHMETRICS again{};
  const DWORD filled = GetGlyphOutlineA(dc, character, format, &again, result.size,
                                        result.size ? result.bits.data() : nullptr, &kIdentity);
  EXPECT_EQ(filled, result.size);
  EXPECT_EQ(again.gmBlackBoxX, result.metrics.gmBlackBoxX);
  EXPECT_EQ(again.gmBlackBoxY, result.metrics.gmBlackBoxY);
  for (size_t i = result.size; i < result.bits.size(); ++i) EXPECT_EQ(result.bits[i], 0xA5);
  result.bits.resize(result.size);
  return result;
}

int RowPitch(UINT format, UINT width) {
  return format == GGO_BITMAP ? ((width + 31) / 32) * 4 : (width + 3) & ~3u;
}

// The pixel value at (x, y) of a glyph bitmap: 0/1 for bits, else a level.
int PixelAt(const GlyphResult& glyph, UINT format, int x, int y) {
  const int pitch = RowPitch(format, glyph.metrics.gmBlackBoxX);
  const BYTE* row = glyph.bits.data() + y * pitch;
  return format == GGO_BITMAP ? (row[x / 8] >> (7 - x % 8)) & 1 : row[x];
}

int MaxLevel(UINT format) {
  return format == GGO_BITMAP ? 1 : format == GGO_GRAY4_BITMAP ? 16 : 64;
}

struct CharCase {
  const char* name;
  UINT code;
  bool blank;
};

// Codes in code page 932: lead x 256 + trail for double-byte characters.
const CharCase kCharacters[] = {
    {"kanji", 0x8ABF, false},         // 漢
    {"hiragana", 0x82A0, false},      // あ
    {"half-width katakana", 0xB1, false},
    {"ASCII letter", 'A', false},
    {"space", ' ', true},
    {"full-width space", 0x8140, true},
};

const UINT kFormats[] = {GGO_BITMAP, GGO_GRAY4_BITMAP, GGO_GRAY8_BITMAP};

struct RequestCase {
  const char* face;
  int height;
  int weight;
  bool italic;
  DWORD quality;
  DWORD char_set;
};

const RequestCase kRequests[] = {
    {"ＭＳ ゴシック", 16, 600, false, NONANTIALIASED_QUALITY, SHIFTJIS_CHARSET},
    {"ＭＳ ゴシック", 12, 400, false, ANTIALIASED_QUALITY, SHIFTJIS_CHARSET},
    {"メイリオ", 24, 700, false, ANTIALIASED_QUALITY, DEFAULT_CHARSET},
    {"ＭＳ 明朝", 32, 400, true, NONANTIALIASED_QUALITY, SHIFTJIS_CHARSET},
    {nullptr, 48, 900, true, ANTIALIASED_QUALITY, DEFAULT_CHARSET},
    {"ＭＳ Ｐゴシック", 13, 100, true, NONANTIALIASED_QUALITY, SHIFTJIS_CHARSET},
    {"Arial", 20, 700, true, ANTIALIASED_QUALITY, SHIFTJIS_CHARSET},
};

TEST(FontGlyphOutlineTest, MetricsAndBitmapsAgreeForEveryRequestCharacterAndFormat) {
  for (const RequestCase& request : kRequests) {
    FontRequest font_request;
    font_request.face = request.face;
    font_request.height = request.height;
    font_request.weight = request.weight;
    font_request.italic = request.italic;
    font_request.quality = request.quality;
    font_request.char_set = request.char_set;
    FontDc font(font_request);
    ASSERT_TRUE(font.ok());
    const TEXTMETRICA tm = font.Metrics();
    SCOPED_TRACE(std::string(request.face ? request.face : "(none)") + " height " +
                 std::to_string(request.height));
    EXPECT_EQ(tm.tmHeight, request.height);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_GT(tm.tmAscent, 0);
    EXPECT_EQ(tm.tmCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(tm.tmItalic, request.italic ? 1 : 0);

    for (const CharCase& character : kCharacters) {
      for (UINT format : kFormats) {
        SCOPED_TRACE(std::string(character.name) + " format " + std::to_string(format));
        const GlyphResult glyph = FetchGlyph(font.dc(), character.code, format);
        ASSERT_NE(glyph.size, GDI_ERROR);
        const GLYPHMETRICS& gm = glyph.metrics;
        EXPECT_GT(gm.gmCellIncX, 0);
        EXPECT_EQ(gm.gmCellIncY, 0);
        if (character.blank) {
          EXPECT_EQ(glyph.size, 0u);
          EXPECT_EQ(gm.gmBlackBoxX, 1u);
          EXPECT_EQ(gm.gmBlackBoxY, 1u);
          continue;
        }
        ASSERT_EQ(glyph.size, RowPitch(format, gm.gmBlackBoxX) * gm.gmBlackBoxY);
        // The black box lies inside the cell.
        EXPECT_LE(static_cast<LONG>(gm.gmBlackBoxX), tm.tmMaxCharWidth);
        EXPECT_LE(gm.gmptGlyphOrigin.y, tm.tmAscent);
        EXPECT_GE(gm.gmptGlyphOrigin.y - static_cast<LONG>(gm.gmBlackBoxY), -tm.tmDescent);
        // Ink within the box, levels within range, padding left clear.
        int ink = 0;
        const int pitch = RowPitch(format, gm.gmBlackBoxX);
        const int used = format == GGO_BITMAP ? static_cast<int>(gm.gmBlackBoxX) : pitch * 8;
        for (UINT y = 0; y < gm.gmBlackBoxY; ++y) {
          for (UINT x = 0; x < gm.gmBlackBoxX; ++x) {
            const int value = PixelAt(glyph, format, x, y);
            EXPECT_LE(value, MaxLevel(format));
            ink += value > 0;
          }
          if (format == GGO_BITMAP) {
            for (int x = used; x < pitch * 8; ++x) EXPECT_EQ(PixelAt(glyph, format, x, y), 0);
          } else {
            for (int x = gm.gmBlackBoxX; x < pitch; ++x) EXPECT_EQ(glyph.bits[y * pitch + x], 0);
          }
        }
        EXPECT_GT(ink, 0);
      }
    }
  }
}

TEST(FontGlyphOutlineTest, HalfWidthCharactersAdvanceHalfAsFarAsFullWidthOnes) {
  FontDc font(FontRequest{});
  ASSERT_TRUE(font.ok());
  const GlyphResult kanji = FetchGlyph(font.dc(), 0x8ABF, GGO_BITMAP);
  const GlyphResult katakana = FetchGlyph(font.dc(), 0xB1, GGO_BITMAP);
  const GlyphResult letter = FetchGlyph(font.dc(), 'A', GGO_BITMAP);
  // A 16-pixel cell draws 16-pixel kanji, as the Windows faces did.
  EXPECT_EQ(kanji.metrics.gmCellIncX, 16);
  EXPECT_EQ(font.Metrics().tmMaxCharWidth, 18);
  EXPECT_EQ(katakana.metrics.gmCellIncX * 2, kanji.metrics.gmCellIncX);
  EXPECT_EQ(letter.metrics.gmCellIncX, katakana.metrics.gmCellIncX);
}

int InkCount(const GlyphResult& glyph) {
  int ink = 0;
  for (UINT y = 0; y < glyph.metrics.gmBlackBoxY; ++y) {
    for (UINT x = 0; x < glyph.metrics.gmBlackBoxX; ++x) ink += PixelAt(glyph, GGO_BITMAP, x, y);
  }
  return ink;
}

// Mean pen-relative x of the ink in one glyph row.
double InkCentre(const GlyphResult& glyph, UINT row) {
  double sum = 0;
  int count = 0;
  for (UINT x = 0; x < glyph.metrics.gmBlackBoxX; ++x) {
    if (PixelAt(glyph, GGO_BITMAP, x, row)) {
      sum += glyph.metrics.gmptGlyphOrigin.x + static_cast<int>(x);
      ++count;
    }
  }
  return count ? sum / count : 0;
}

TEST(FontGlyphOutlineTest, BoldAndItalicAreSynthesisedForAFaceWithoutThem) {
  FontRequest regular_request;
  regular_request.height = 32;
  FontRequest bold_request = regular_request;
  bold_request.weight = FW_BOLD;
  FontRequest italic_request = regular_request;
  italic_request.italic = true;
  FontDc regular(regular_request);
  FontDc bold(bold_request);
  FontDc italic(italic_request);
  ASSERT_TRUE(regular.ok() && bold.ok() && italic.ok());

  const GlyphResult plain = FetchGlyph(regular.dc(), 'I', GGO_BITMAP);
  const GlyphResult thick = FetchGlyph(bold.dc(), 'I', GGO_BITMAP);
  const GlyphResult slanted = FetchGlyph(italic.dc(), 'I', GGO_BITMAP);
  EXPECT_GT(InkCount(thick), InkCount(plain) * 5 / 4);
  EXPECT_GT(thick.metrics.gmCellIncX, plain.metrics.gmCellIncX);
  EXPECT_GE(bold.Metrics().tmMaxCharWidth, regular.Metrics().tmMaxCharWidth);

  // Upright strokes lean right: the top row's ink sits right of the
  // bottom row's.
  const UINT bottom = slanted.metrics.gmBlackBoxY - 1;
  EXPECT_GT(InkCentre(slanted, 0) - InkCentre(slanted, bottom), 3.0);
  EXPECT_LT(InkCentre(plain, 0) - InkCentre(plain, plain.metrics.gmBlackBoxY - 1), 1.0);
  EXPECT_GT(italic.Metrics().tmMaxCharWidth, regular.Metrics().tmMaxCharWidth);
}

TEST(FontGlyphOutlineTest, StrokesOnTheCellsEdgeAreMovedIntoTheCellNotCutAway) {
  struct EdgeCase {
    const char* name;
    FontRequest request;
    UINT code;
  };
  // At these sizes the rendered stroke lies one row outside the cell.
  const EdgeCase cases[] = {
      {"overline above the ascent", {16, FW_NORMAL, false}, 0x8150},    // ￣
      {"low line below the descent", {12, 900, true}, 0x8151},          // ＿
  };
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(c.name);
    FontDc font(c.request);
    ASSERT_TRUE(font.ok());
    const TEXTMETRICA tm = font.Metrics();
    const GlyphResult glyph = FetchGlyph(font.dc(), c.code, GGO_BITMAP);
    ASSERT_NE(glyph.size, GDI_ERROR);
    ASSERT_GT(glyph.size, 0u);
    EXPECT_GT(InkCount(glyph), 0);
    EXPECT_LE(glyph.metrics.gmptGlyphOrigin.y, tm.tmAscent);
    EXPECT_GE(glyph.metrics.gmptGlyphOrigin.y - static_cast<LONG>(glyph.metrics.gmBlackBoxY), -tm.tmDescent);
  }
}

TEST(FontGlyphOutlineTest, WindowsFaceNamesAndNoFaceGiveTheSameJapaneseFace) {
  FontRequest gothic;
  gothic.face = "ＭＳ ゴシック";
  FontRequest meiryo;
  meiryo.face = "メイリオ";
  FontRequest unnamed;
  FontDc a(gothic);
  FontDc b(meiryo);
  FontDc c(unnamed);
  ASSERT_TRUE(a.ok() && b.ok() && c.ok());
  const GlyphResult first = FetchGlyph(a.dc(), 0x82A0, GGO_GRAY4_BITMAP);
  EXPECT_EQ(FetchGlyph(b.dc(), 0x82A0, GGO_GRAY4_BITMAP).bits, first.bits);
  EXPECT_EQ(FetchGlyph(c.dc(), 0x82A0, GGO_GRAY4_BITMAP).bits, first.bits);
}

TEST(FontGlyphOutlineTest, NegativeHeightAsksForTheCharacterHeight) {
  FontRequest request;
  request.height = -16;
  FontDc font(request);
  ASSERT_TRUE(font.ok());
  const TEXTMETRICA tm = font.Metrics();
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 16);
}

TEST(FontGlyphOutlineTest, HeightsBeyond1024PixelsAreRefused) {
  for (int height : {1025, -1025, 100000, INT32_MIN, INT32_MAX}) {
    HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, FIXED_PITCH, nullptr);
    EXPECT_EQ(font, nullptr) << height;
  }
  FontRequest largest;
  largest.height = 1024;
  FontDc font(largest);
  ASSERT_TRUE(font.ok());
  EXPECT_EQ(font.Metrics().tmHeight, 1024);
  EXPECT_NE(FetchGlyph(font.dc(), 0x8ABF, GGO_GRAY8_BITMAP).size, GDI_ERROR);
}

TEST(FontGlyphOutlineTest, RefusesWhatItCannotAnswer) {
  FontDc font(FontRequest{});
  ASSERT_TRUE(font.ok());
  GLYPHMETRICS gm{};
  const MAT2 doubled{{0, 2}, {0, 0}, {0, 0}, {0, 2}};
  EXPECT_EQ(GetGlyphOutlineA(font.dc(), 'A', GGO_BITMAP, &gm, 0, nullptr, &doubled), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutlineA(font.dc(), 'A', GGO_BITMAP, &gm, 0, nullptr, nullptr), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutlineA(font.dc(), 'A', GGO_BITMAP, nullptr, 0, nullptr, &kIdentity), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutlineA(font.dc(), 'A', 2 /* outline curves */, &gm, 0, nullptr, &kIdentity), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutlineA(nullptr, 'A', GGO_BITMAP, &gm, 0, nullptr, &kIdentity), GDI_ERROR);

  const DWORD size = GetGlyphOutlineA(font.dc(), 0x8ABF, GGO_GRAY8_BITMAP, &gm, 0, nullptr, &kIdentity);
  ASSERT_NE(size, GDI_ERROR);
  std::vector<BYTE> small(size - 1, 0);
  EXPECT_EQ(GetGlyphOutlineA(font.dc(), 0x8ABF, GGO_GRAY8_BITMAP, &gm, size - 1, small.data(), &kIdentity),
            GDI_ERROR);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(FontGlyphOutlineTest, UnmappedCodesDrawTheMissingGlyphShape) {
  FontDc font(FontRequest{});
  ASSERT_TRUE(font.ok());
  // A lone lead byte is no character of code page 932.
  const GlyphResult lone_lead = FetchGlyph(font.dc(), 0x81, GGO_BITMAP);
  ASSERT_NE(lone_lead.size, GDI_ERROR);
  EXPECT_GT(lone_lead.metrics.gmCellIncX, 0);
}

TEST(FontGlyphOutlineTest, CharactersAreReadInTheFontsOwnCodePage) {
  struct Case {
    DWORD char_set;
    UINT capital_alpha;  // U+0391 in the character set's code page
  };
  const Case cases[] = {
      {SHIFTJIS_CHARSET, 0x839F},
      {GB2312_CHARSET, 0xA6A1},
      {HANGEUL_CHARSET, 0xA5C1},
      {CHINESEBIG5_CHARSET, 0xA344},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.char_set);
    FontRequest request;
    request.char_set = c.char_set;
    FontDc font(request);
    ASSERT_TRUE(font.ok());
    const GlyphResult alpha = FetchGlyph(font.dc(), c.capital_alpha, GGO_BITMAP);
    // A lone lead byte is no character in any of these code pages.
    const GlyphResult missing = FetchGlyph(font.dc(), 0x81, GGO_BITMAP);
    ASSERT_NE(alpha.size, GDI_ERROR);
    ASSERT_NE(missing.size, GDI_ERROR);
    EXPECT_GT(InkCount(alpha), 0);
    EXPECT_NE(alpha.bits, missing.bits);
  }
  // Read as code page 932, the GB2312 code is two half-width katakana: no
  // one character, so the missing-glyph shape.
  FontDc shift_jis(FontRequest{});
  ASSERT_TRUE(shift_jis.ok());
  EXPECT_EQ(FetchGlyph(shift_jis.dc(), 0xA6A1, GGO_BITMAP).bits, FetchGlyph(shift_jis.dc(), 0x81, GGO_BITMAP).bits);
}

}  // namespace
