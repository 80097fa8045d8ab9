// Glyph rasterising through GetGlyphOutlineA (size query, then the bits, as
// the font cache asks) beside FreeType's own FT_Load_Char with rendering, for
// the same characters of the same face at the same size. The ratio is the
// cost of the GDI layer: code-page decoding, format conversion, copies.
#include <benchmark/benchmark.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <string>
#include <vector>

#include "platform/windows.h"
#include "support/summary_reporter.h"

namespace {

constexpr int kCellHeight = 16;

// The same text twice: in code page 932 for GDI, in UTF-32 for FreeType.
const char kTextCp932[] = "漢字とかなカナ、文字列の描画速度を測ります。ABCxyz0123ｱｲｳｴｵ";
const char32_t kTextUtf32[] = U"漢字とかなカナ、文字列の描画速度を測ります。ABCxyz0123ｱｲｳｴｵ";

std::vector<UINT> Cp932Codes() {
  std::vector<UINT> codes;
  const std::string text = kTextCp932;
  for (size_t i = 0; i < text.size(); ++i) {
    UINT code = static_cast<unsigned char>(text[i]);
    if (((code >= 0x81 && code <= 0x9F) || (code >= 0xE0 && code <= 0xFC)) && i + 1 < text.size()) {
      code = code << 8 | static_cast<unsigned char>(text[++i]);
    }
    codes.push_back(code);
  }
  return codes;
}

void BM_GetGlyphOutlineA(benchmark::State& state) {
  const std::vector<UINT> codes = Cp932Codes();
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontA(kCellHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0,
                           ANTIALIASED_QUALITY, FIXED_PITCH, "ＭＳ ゴシック");
  HGDIOBJ previous = SelectObject(dc, font);
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  std::vector<BYTE> buffer(64 * 64);
  for (auto _ : state) {
    for (UINT code : codes) {
      GLYPHMETRICS gm;
      const DWORD size = GetGlyphOutlineA(dc, code, GGO_GRAY8_BITMAP, &gm, 0, nullptr, &identity);
      if (size == GDI_ERROR || size > buffer.size()) {
        // No bits call with a buffer too small for them; the run ends here.
        state.SkipWithError("glyph failed");
        break;
      }
      GetGlyphOutlineA(dc, code, GGO_GRAY8_BITMAP, &gm, size, buffer.data(), &identity);
      benchmark::DoNotOptimize(buffer.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(codes.size()));
  SelectObject(dc, previous);
  DeleteObject(font);
  DeleteDC(dc);
}

// The face fontconfig gives for Japanese text: the one GDI realises too.
std::string JapaneseFaceFile() {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(":lang=ja"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  std::string path;
  FcChar8* file = nullptr;
  if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) path = reinterpret_cast<char*>(file);
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return path;
}

void BM_FreeTypeLoadChar(benchmark::State& state) {
  FT_Library library;
  FT_Face face;
  if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, JapaneseFaceFile().c_str(), 0, &face) != 0) {
    state.SkipWithError("no face");
    return;
  }
  FT_Set_Pixel_Sizes(face, 0, kCellHeight);
  const std::u32string text = kTextUtf32;
  for (auto _ : state) {
    for (char32_t code_point : text) {
      FT_Load_Char(face, code_point, FT_LOAD_RENDER | FT_LOAD_NO_BITMAP);
      benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(text.size()));
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}

BENCHMARK(BM_GetGlyphOutlineA);
BENCHMARK(BM_FreeTypeLoadChar);

// Glyphs per second of each side and their ratio.
void PrintSummary(const wqbench::SummaryReporter& reporter) {
  const double gdi = reporter.Counter("BM_GetGlyphOutlineA", "items_per_second");
  const double peer = reporter.Counter("BM_FreeTypeLoadChar", "items_per_second");
  if (gdi <= 0 || peer <= 0) return;
  std::printf("\nglyphs per second: GetGlyphOutlineA %.0f, FT_Load_Char %.0f; time ratio %.2fx (lower is better)\n",
              gdi, peer, peer / gdi);
}

}  // namespace

int main(int argc, char** argv) { return wqbench::RunWithSummary(argc, argv, PrintSummary); }
