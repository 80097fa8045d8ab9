// Rasterising characters through GDI into a font's cache cells, in ring
// order, and collecting a string's uncached characters into one batch.
#include "text/glyph_cache.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/base/string_utils.h"
#include "core/base/tracked_allocator.h"
#include "core/startup/library_startup.h"
#include "graphics/render_state.h"
#include "text/glyph_raster.h"

namespace {

constexpr MAT2 kIdentity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
constexpr int kDoubleByteSpace = 0x4081;  // 0x81 0x40, first byte low

bool IsBlankChar(int code) { return code == ' ' || code == kDoubleByteSpace; }

// The GDI code of a list entry: the byte, or first byte x 256 + second.
UINT GdiCharCode(const std::uint8_t* entry) {
  return entry[1] == 0 ? entry[0] : static_cast<UINT>(entry[0]) << 8 | entry[1];
}

CellCanvas MemoryCellCanvas(FontRecord* font, int position) {
  return CellCanvas{font->memoryCache + static_cast<std::size_t>(position) * font->cellWidth * font->memoryPitch,
                    font->memoryPitch, font->cellWidth, font->cellWidth};
}

// Frees the cell for a new character: the old one becomes uncached.
void TakeCell(FontRecord* font, GlyphCacheCell* cell) {
  if (cell->inUse) {
    cell->entry->cached = 0;
    cell->entry->cell = nullptr;
    cell->inUse = 0;
  }
  if (font->usesTextureCache) {
    ClearTextureCell(font, cell->position);
  } else {
    CellCanvas canvas = MemoryCellCanvas(font, cell->position);
    std::memset(canvas.pixels, 0, static_cast<std::size_t>(canvas.pitch) * canvas.height);
  }
}

// The glyph's bits from GDI as one level byte a pixel.
void ReadLevels(const std::uint8_t* bits, int pitch, UINT format, const GLYPHMETRICS& metrics,
                std::vector<std::uint8_t>* levels) {
  const int width = static_cast<int>(metrics.gmBlackBoxX);
  const int height = static_cast<int>(metrics.gmBlackBoxY);
  levels->assign(static_cast<std::size_t>(width) * height, 0);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = bits + static_cast<std::size_t>(y) * pitch;
    for (int x = 0; x < width; ++x) {
      if (format == GGO_BITMAP) {
        if (x / 8 < pitch) (*levels)[y * width + x] = (row[x / 8] >> (7 - x % 8)) & 1;
      } else if (x < pitch) {
        (*levels)[y * width + x] = row[x];
      }
    }
  }
}

// Rasterises one character into the cell; false when GDI refuses it.
bool RasteriseInto(FontRecord* font, HDC dc, const TEXTMETRICA& text, UINT format, const std::uint8_t* entry,
                   GlyphCacheCell* cell) {
  const int edge = FontEdge(font);
  const UINT code = GdiCharCode(entry);
  GLYPHMETRICS metrics{};
  const DWORD size = GetGlyphOutlineA(dc, code, format, &metrics, 0, nullptr, &kIdentity);
  if (size == GDI_ERROR) {
    LogWrite("GetGlyphOutline 関数が失敗しました\n");
    return false;
  }
  int boxWidth = 0, boxHeight = 0;
  if (!IsBlankChar(CharCode(entry))) {
    const int pitch = metrics.gmBlackBoxY > 0 ? static_cast<int>(size / metrics.gmBlackBoxY) / 4 * 4 : 0;
    const std::size_t bytes = size + 2 * static_cast<std::size_t>(pitch);
    auto* buffer = static_cast<std::uint8_t*>(TrackedAllocZero(bytes + 1, __FILE__, __LINE__));
    if (buffer == nullptr) FatalErrorFormat("アンチエイリアス文字取得用バッファの確保に失敗しました");
    std::uint8_t* glyphBits = buffer + pitch;
    if (size > 0 && GetGlyphOutlineA(dc, code, format, &metrics, size, glyphBits, &kIdentity) == GDI_ERROR) {
      LogWrite("GetGlyphOutline 関数が失敗しました\n");
      TrackedFree(buffer);
      return false;
    }
    std::vector<std::uint8_t> levels;
    if (size > 0) ReadLevels(glyphBits, pitch, format, metrics, &levels);
    const GlyphLevels glyph{levels.data(), size > 0 ? static_cast<int>(metrics.gmBlackBoxX) : 0,
                            size > 0 ? static_cast<int>(metrics.gmBlackBoxY) : 0};
    boxWidth = static_cast<int>(metrics.gmBlackBoxX);
    boxHeight = static_cast<int>(metrics.gmBlackBoxY);
    CellCanvas glyphHalf{}, edgeHalf{};
    if (font->usesTextureCache) {
      TextureCellCanvases(font, cell->position, &glyphHalf, &edgeHalf);
      WriteTextureGlyph(font->fontType, edge, glyph, font->cacheImage.format, glyphHalf, edgeHalf);
    } else {
      glyphHalf = MemoryCellCanvas(font, cell->position);
      WriteMemoryGlyph(font->fontType, edge, glyph, glyphHalf);
    }
    TrackedFree(buffer);
    // A box larger than its cell is cut to the cell, so drawing never reads
    // outside it.
    boxWidth = std::min(boxWidth + 2 * edge, glyphHalf.width);
    boxHeight = std::min(boxHeight + 2 * edge, glyphHalf.height);
    if (font->usesTextureCache) UploadTextureCell(font, cell->position, boxWidth, boxHeight);
  } else {
    boxWidth = boxHeight = 2 * edge;
  }
  cell->originX = static_cast<std::int16_t>(metrics.gmptGlyphOrigin.x);
  cell->topOffset = static_cast<std::int16_t>(text.tmAscent - metrics.gmptGlyphOrigin.y);
  cell->advance = static_cast<std::int16_t>(metrics.gmCellIncX + 2 * edge);
  cell->boxWidth = static_cast<std::uint16_t>(boxWidth);
  cell->boxHeight = static_cast<std::uint16_t>(boxHeight);
  return true;
}

}  // namespace

CharList::CharList(int bytes) {
  if (bytes <= kFixedCharListEntries) return;
  temporary_ = static_cast<std::uint8_t*>(
      TrackedAlloc(static_cast<std::size_t>(bytes) * kCharListEntryBytes, __FILE__, __LINE__));
  data_ = temporary_;
}

CharList::~CharList() { TrackedFree(temporary_); }

void CellCorner(const FontRecord* font, int position, int* x, int* y) {
  const int column = position / font->cellsPerColumn;
  const int row = position % font->cellsPerColumn;
  const int inset = font->usesTextureCache ? 1 : 0;
  *x = column * font->cellWidth + inset;
  *y = row * font->cellWidth + inset;
}

int ResetFontCache(int handle) {
  FontRecord* font = FindFontRecord(handle);
  if (font == nullptr) return -1;
  std::memset(font->chars, 0, sizeof(font->chars));
  std::memset(font->cells, 0, sizeof(font->cells));
  for (int i = 0; i < font->cellCount; ++i) font->cells[i].position = i;
  font->cells[font->cellCount].position = -1;
  font->nextCell = 0;
  return 0;
}

GlyphCacheCell* RenderGlyphToCache(int handle, int count, const std::uint8_t* list) {
  if (DrawSuspended) return nullptr;
  FontRecord* font = FindFontRecord(handle);
  if (font == nullptr) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = dc != nullptr ? SelectObject(dc, font->gdiFont) : nullptr;
  if (previous == nullptr) FatalErrorFormat("テキストキャッシュサーフェスのＤＣの取得に失敗しました");
  TEXTMETRICA text{};
  GetTextMetricsA(dc, &text);
  const UINT format = (font->fontType & kFontTypeAntialiased) ? GGO_GRAY4_BITMAP : GGO_BITMAP;

  GlyphCacheCell* last = nullptr;
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* entry = list + i * kCharListEntryBytes;
    GlyphCacheCell* cell = &font->cells[font->nextCell];
    TakeCell(font, cell);
    if (!RasteriseInto(font, dc, text, format, entry, cell)) continue;
    CharCacheEntry& character = font->chars[CharCode(entry)];
    character.cached = 1;
    character.cell = cell;
    cell->inUse = 1;
    cell->entry = &character;
    font->nextCell = (font->nextCell + 1) % font->cellCount;
    last = cell;
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  return last;
}

int CacheStringGlyphs(int length, const char* text, int handle, std::uint8_t* list, int* count) {
  FontRecord* font = FindFontRecord(handle);
  if (font == nullptr) return -1;
  int n = static_cast<int>(std::strlen(text));
  if (length != -1 && length < n) n = length;

  CharList freshList(n);
  std::uint8_t* fresh = freshList.data();
  if (fresh == nullptr) return -1;
  int characters = 0, freshCount = 0;
  for (int at = 0; at < n;) {
    std::uint8_t entry[kCharListEntryBytes] = {static_cast<std::uint8_t>(text[at]), 0, 0};
    const bool lead = IsLeadByte(text + at, font->charSetClass) && at + 1 < n;
    if (lead) entry[1] = static_cast<std::uint8_t>(text[at + 1]);
    at += lead ? 2 : 1;
    if (list != nullptr) std::memcpy(list + characters * kCharListEntryBytes, entry, kCharListEntryBytes);
    ++characters;
    CharCacheEntry& character = font->chars[CharCode(entry)];
    if (character.cached == 0 && freshCount < font->cellCount) {
      character.cached = 2;  // marked: listed once
      std::memcpy(fresh + freshCount++ * kCharListEntryBytes, entry, kCharListEntryBytes);
    }
  }
  for (int i = 0; i < freshCount; ++i) font->chars[CharCode(fresh + i * kCharListEntryBytes)].cached = 0;
  if (freshCount > 0) RenderGlyphToCache(handle, freshCount, fresh);
  if (count != nullptr) *count = characters;
  return 0;
}
