// Image rectangles into graphs. On the device each texture piece that the
// rectangle overlaps gets its part; a piece narrower than its texture also
// gets one more column (row) that repeats the edge pixels, so filtering at
// the edge does not mix in the texture's unused texels.
#include "graphics/graph_transfer.h"

#include <algorithm>
#include <vector>

#include "core/base/log_file.h"
#include "graphics/graph_record.h"
#include "graphics/graphics_state.h"
#include "graphics/texture_formats.h"
#include "graphics/vertex_batch.h"
#include "image/pixel_convert.h"

namespace {

struct Conversion {
  const BaseImage* image;
  const BaseImage* alpha;
  bool keyToAlpha;
  std::uint32_t keyColor;
};

void Convert(const Conversion& c, void* destination, std::uint32_t pitch, const ColorFormat* format, int x, int y,
             const RECT& rect) {
  ConvertPixelRect(destination, pitch, format, c.image->pixels, c.image->pitch, &c.image->format,
                   c.alpha != nullptr ? c.alpha->pixels : nullptr, c.alpha != nullptr ? c.alpha->pitch : 0,
                   c.alpha != nullptr ? &c.alpha->format : nullptr, x, y, &rect, 0, c.keyToAlpha ? 1 : 0, c.keyColor, 0,
                   0, 0, 0, 0);
}

// The overlap of the image rectangle with one texture entry, with the edge
// column and row repeated into the texture's slack.
int TransferToEntry(const GraphImageInfo& info, GraphTextureEntry& entry, const RECT& imageRect, int imageX,
                    int imageY, const Conversion& c) {
  // Destination rectangle in whole-image coordinates.
  const int left = imageX, top = imageY;
  const int right = left + (imageRect.right - imageRect.left), bottom = top + (imageRect.bottom - imageRect.top);
  const int x0 = left > entry.x ? left : entry.x;
  const int y0 = top > entry.y ? top : entry.y;
  const int x1 = right < entry.x + entry.usedWidth ? right : entry.x + entry.usedWidth;
  const int y1 = bottom < entry.y + entry.usedHeight ? bottom : entry.y + entry.usedHeight;
  if (x0 >= x1 || y0 >= y1) return 0;
  const ColorFormat* format = GetTextureFormatDesc(info.formatIndex);
  D_IDirect3DTexture9* target = entry.memoryTwin != nullptr ? entry.memoryTwin : entry.texture;
  D_D3DLOCKED_RECT locked{};
  if (target->LockRect(0, &locked, nullptr, 0) != 0) return LogWrite("テクスチャのロックに失敗しました\n"), -1;
  const RECT part{imageRect.left + (x0 - left), imageRect.top + (y0 - top), imageRect.left + (x1 - left),
                  imageRect.top + (y1 - top)};
  Convert(c, locked.pBits, static_cast<std::uint32_t>(locked.Pitch), format, x0 - entry.x, y0 - entry.y, part);
  const bool extraColumn = x1 == entry.x + entry.usedWidth && entry.usedWidth < entry.textureWidth;
  const bool extraRow = y1 == entry.y + entry.usedHeight && entry.usedHeight < entry.textureHeight;
  if (extraColumn) {
    const RECT edge{part.right - 1, part.top, part.right, part.bottom};
    Convert(c, locked.pBits, static_cast<std::uint32_t>(locked.Pitch), format, x1 - entry.x, y0 - entry.y, edge);
  }
  if (extraRow) {
    const RECT edge{part.left, part.bottom - 1, part.right, part.bottom};
    Convert(c, locked.pBits, static_cast<std::uint32_t>(locked.Pitch), format, x0 - entry.x, y1 - entry.y, edge);
    if (extraColumn) {
      const RECT corner{part.right - 1, part.bottom - 1, part.right, part.bottom};
      Convert(c, locked.pBits, static_cast<std::uint32_t>(locked.Pitch), format, x1 - entry.x, y1 - entry.y, corner);
    }
  }
  // Further levels halve the level above.
  const int levels = static_cast<int>(target->GetLevelCount());
  int width = entry.textureWidth, height = entry.textureHeight;
  void* above = locked.pBits;
  std::uint32_t abovePitch = static_cast<std::uint32_t>(locked.Pitch);
  std::vector<D_D3DLOCKED_RECT> lockedLevels{locked};
  int result = 0;
  for (int level = 1; level < levels; ++level) {
    D_D3DLOCKED_RECT next{};
    if (target->LockRect(level, &next, nullptr, 0) != 0) {
      LogWrite("ミップマップテクスチャのロックに失敗しました\n");
      result = -1;
      break;
    }
    lockedLevels.push_back(next);
    ShrinkPixelsByHalf(format, next.pBits, static_cast<std::uint32_t>(next.Pitch), above, abovePitch, 0, 0, 0, 0,
                       width, height);
    width = width > 1 ? width / 2 : 1;
    height = height > 1 ? height / 2 : 1;
    above = next.pBits;
    abovePitch = static_cast<std::uint32_t>(next.Pitch);
  }
  for (int level = static_cast<int>(lockedLevels.size()) - 1; level >= 0; --level) target->UnlockRect(level);
  if (entry.memoryTwin != nullptr) Device()->UpdateTexture(entry.memoryTwin, entry.texture);
  return result;
}

}  // namespace

int TransferImageToGraph(int graph, const RECT& source, int x, int y, BaseImage* image, const BaseImage* alpha,
                         int useTransparentColor, int wholeImage) {
  GraphRecord* record = FindGraphRecord(graph);
  if (!Graphics().started || record == nullptr || image == nullptr) return -1;
  FlushVertexBatch();
  if (source.right - source.left < 1 || source.bottom - source.top < 1) return 0;
  GraphImageInfo& info = *record->image;
  const int imageX = wholeImage ? x : record->imageX + x;
  const int imageY = wholeImage ? y : record->imageY + y;
  if (!info.inTextures) {
    const int limitX = wholeImage ? info.width : record->imageX + record->width;
    const int limitY = wholeImage ? info.height : record->imageY + record->height;
    const int width = std::min<int>(source.right - source.left, limitX - imageX);
    const int height = std::min<int>(source.bottom - source.top, limitY - imageY);
    if (width < 1 || height < 1 || imageX < 0 || imageY < 0) return -1;
    return LoadBaseImageToMemImg(image, alpha, &info.image, source.left, source.top, width, height, imageX, imageY, 0) ==
                   0
               ? 0
               : -1;
  }
  if (Device() == nullptr) return -1;
  if (DecompressBaseImage(image) != 0) return LogWrite("標準イメージ用のメモリ確保に失敗しました\n"), -1;
  const bool keyToAlpha = useTransparentColor && (info.alphaChannel || info.alphaTest) && alpha == nullptr;
  const Conversion c{image, alpha, keyToAlpha, info.transparentColor};
  int result = 0;
  for (int i = 0; i < info.entryCount && result == 0; ++i)
    result = TransferToEntry(info, info.entries[i], source, imageX, imageY, c);
  return result;
}
