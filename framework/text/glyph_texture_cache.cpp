// The Direct3D glyph cache: the cache graphs (the edged fonts' edge mask
// in the right half), the staging image the glyphs are written into, and
// the upload of written cells. Every clear and upload is clipped to the
// image: when the cell size divides the cache side, the last row and
// column of cells reach one pixel past it.
#include <algorithm>
#include <cstring>

#include "graphics/graph_creation_settings.h"
#include "graphics/graph_load.h"
#include "graphics/graph_record.h"
#include "graphics/graph_setup.h"
#include "graphics/graph_transfer.h"
#include "graphics/texture_formats.h"
#include "core/base/tracked_allocator.h"
#include "text/glyph_cache.h"
#include "text/glyph_raster.h"

namespace {

constexpr int kCacheColorBits = 16;

int HalfCount(const FontRecord* font) { return (font->fontType & kFontTypeEdge) ? 2 : 1; }

// The cell square at its place, clipped to one half of the staging image.
RECT CellRect(const FontRecord* font, int position, int width, int height) {
  int x = 0, y = 0;
  CellCorner(font, position, &x, &y);
  return RECT{x, y, std::min(x + width, font->cacheWidth), std::min(y + height, font->cacheHeight)};
}

CellCanvas CanvasAt(FontRecord* font, const RECT& rect, int half) {
  BaseImage& image = font->cacheImage;
  const int bytes = image.format.bytesPerPixel;
  std::uint8_t* pixels = static_cast<std::uint8_t*>(image.pixels) + static_cast<std::size_t>(rect.top) * image.pitch +
                         static_cast<std::size_t>(rect.left + half * font->cacheWidth) * bytes;
  return CellCanvas{pixels, static_cast<int>(image.pitch), std::max<int>(rect.right - rect.left, 0),
                    std::max<int>(rect.bottom - rect.top, 0)};
}

// Graph creation as the cache needs it: 16 colour bits in textures, with
// alpha for anti-aliased fonts and the alpha test for the others.
int CreateCacheGraph(const FontRecord* font) {
  GraphCreationSettings& settings = GraphCreation();
  const GraphCreationSettings saved = settings;
  const int antialiased = (font->fontType & kFontTypeAntialiased) ? 1 : 0;
  settings.alphaFlag = antialiased;
  settings.drawableFlag = !antialiased;
  settings.colorBits = kCacheColorBits;
  const int handle = AllocGraphHandle();
  const int result =
      SetupGraphRecord(1, handle, font->cacheWidth * HalfCount(font), font->cacheHeight, antialiased, !antialiased);
  settings = saved;
  return result == 0 ? handle : -1;
}

// The staging image in the cache texture's own format, zero-filled.
int CreateCacheImage(FontRecord* font) {
  const GraphRecord* graph = FindGraphRecord(font->cacheGraph);
  const ColorFormat* format = graph != nullptr ? GetTextureFormatDesc(graph->image->formatIndex) : nullptr;
  if (format == nullptr ||
      CreateBaseImageSameFormat(font->cacheWidth * HalfCount(font), font->cacheHeight, format, &font->cacheImage) != 0)
    return LogWrite("文字キャッシュ基本イメージ用のメモリの確保に失敗しました\n");
  std::memset(font->cacheImage.pixels, 0, static_cast<std::size_t>(font->cacheImage.pitch) * font->cacheImage.height);
  return 0;
}

}  // namespace

int CreateFontCacheScreen(int handle) {
  FontRecord* font = FindFontRecord(handle);
  if (font == nullptr) return -1;
  if (!font->recreateCache) return 0;
  font->recreateCache = 0;
  font->cacheGraph = CreateCacheGraph(font);
  if (font->cacheGraph < 0) return -1;
  font->edgeCacheGraph = -1;
  if (font->fontType & kFontTypeEdge) {
    font->edgeCacheGraph = DeriveGraph(font->cacheWidth, 0, font->cacheWidth, font->cacheHeight, font->cacheGraph);
    if (font->edgeCacheGraph < 0) {
      DeleteGraph(font->cacheGraph);
      font->cacheGraph = -1;
      return -1;
    }
  }
  FindGraphRecord(font->cacheGraph)->deleteNotify = &font->recreateCache;
  font->recreateCache = 0;
  if (font->cacheImage.pixels == nullptr && CreateCacheImage(font) != 0) return -1;
  ResetFontCache(handle);
  return 0;
}

void TextureCellCanvases(FontRecord* font, int position, CellCanvas* glyphHalf, CellCanvas* edgeHalf) {
  const RECT rect = CellRect(font, position, font->cellWidth, font->cellWidth);
  *glyphHalf = CanvasAt(font, rect, 0);
  *edgeHalf = HalfCount(font) == 2 ? CanvasAt(font, rect, 1) : CellCanvas{};
}

void ClearTextureCell(FontRecord* font, int position) {
  const RECT rect = CellRect(font, position, font->cellWidth, font->cellWidth);
  const int bytes = font->cacheImage.format.bytesPerPixel;
  for (int half = 0; half < HalfCount(font); ++half) {
    const CellCanvas canvas = CanvasAt(font, rect, half);
    for (int y = 0; y < canvas.height; ++y)
      std::memset(canvas.pixels + static_cast<std::size_t>(y) * canvas.pitch, 0,
                  static_cast<std::size_t>(canvas.width) * bytes);
  }
}

void UploadTextureCell(FontRecord* font, int position, int boxWidth, int boxHeight) {
  const bool wholeCell = font->fontType == 0 || font->fontType == 2;
  const RECT rect = wholeCell ? CellRect(font, position, font->cellWidth, font->cellWidth)
                              : CellRect(font, position, boxWidth, boxHeight);
  for (int half = 0; half < HalfCount(font); ++half) {
    const int shift = half * font->cacheWidth;
    const RECT source{rect.left + shift, rect.top, rect.right + shift, rect.bottom};
    TransferImageToGraph(font->cacheGraph, source, source.left, source.top, &font->cacheImage, nullptr, 0, 0);
  }
}
