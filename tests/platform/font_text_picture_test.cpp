// A line of Japanese and ASCII text at two sizes, drawn from GetGlyphOutlineA
// bitmaps into a picture. The picture is written as PNG beside the test for
// review; its checksum catches any change of rasterisation.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/windows.h"
#include "support/font_dc.h"
#include "support/png_writer.h"

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 66;

// 8-bit grey picture: 255 is paper, 0 is full ink.
struct Picture {
  std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(kWidth * kHeight, 255);

  void Ink(int x, int y, int coverage_of_64) {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
    const int ink = 255 * coverage_of_64 / 64;
    std::uint8_t& pixel = pixels[y * kWidth + x];
    pixel = static_cast<std::uint8_t>(std::min<int>(pixel, 255 - ink));
  }
};

bool IsLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

// Draws text with its cell's top at line_top; returns the pen's end.
int DrawLine(HDC dc, const std::string& text, UINT format, int line_top, Picture* picture) {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  const int baseline = line_top + tm.tmAscent;
  int pen = 4;
  for (size_t i = 0; i < text.size(); ++i) {
    UINT code = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(static_cast<unsigned char>(code)) && i + 1 < text.size()) {
      code = code << 8 | static_cast<unsigned char>(text[++i]);
    }
    GLYPHMETRICS gm{};
    const DWORD size = GetGlyphOutlineA(dc, code, format, &gm, 0, nullptr, &wqtest::kIdentity);
    EXPECT_NE(size, GDI_ERROR) << std::hex << code;
    if (size == GDI_ERROR) continue;
    std::vector<BYTE> bits(size);
    if (size > 0) GetGlyphOutlineA(dc, code, format, &gm, size, bits.data(), &wqtest::kIdentity);
    const int pitch = size ? static_cast<int>(size / gm.gmBlackBoxY) : 0;
    for (int y = 0; size > 0 && y < static_cast<int>(gm.gmBlackBoxY); ++y) {
      for (int x = 0; x < static_cast<int>(gm.gmBlackBoxX); ++x) {
        const BYTE* row = bits.data() + y * pitch;
        const int coverage = format == GGO_BITMAP ? ((row[x / 8] >> (7 - x % 8)) & 1) * 64 : row[x] * 4;
        picture->Ink(pen + gm.gmptGlyphOrigin.x + x, baseline - gm.gmptGlyphOrigin.y + y, coverage);
      }
    }
    pen += gm.gmCellIncX;
  }
  return pen;
}

void WritePng(const std::string& path, const Picture& picture) {
  ASSERT_TRUE(wqtest::WritePng(path, kWidth, kHeight, 1, picture.pixels.data())) << path;
}

std::uint64_t Fnv1a(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t hash = 0xCBF29CE484222325ull;
  for (std::uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001B3ull;
  return hash;
}

TEST(FontTextPictureTest, JapaneseAndAsciiAtTwoSizesMatchTheReviewedPicture) {
  const std::string text = "漢字とかなカナ ｶﾀｶﾅ ASCII gjy 0123";
  Picture picture;
  wqtest::FontRequest small;
  small.face = "ＭＳ ゴシック";
  small.height = 16;
  wqtest::FontRequest large = small;
  large.height = 32;
  large.quality = ANTIALIASED_QUALITY;
  wqtest::FontDc small_font(small);
  wqtest::FontDc large_font(large);
  ASSERT_TRUE(small_font.ok() && large_font.ok());
  EXPECT_GT(DrawLine(small_font.dc(), text, GGO_BITMAP, 4, &picture), 200);
  EXPECT_GT(DrawLine(large_font.dc(), text, GGO_GRAY8_BITMAP, 26, &picture), 400);

  WritePng("font_text_picture.png", picture);
  const std::uint64_t checksum = Fnv1a(picture.pixels);
  std::printf("font_text_picture.png checksum 0x%016llX\n", static_cast<unsigned long long>(checksum));
  // Reviewed: IPAGothic through FreeType 2.12 on Debian 12.
  EXPECT_EQ(checksum, 0xA1FC9D414C878BF7ull);
}

}  // namespace
