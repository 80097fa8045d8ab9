// New pixels for an existing graph: a picture (base image or DIB) put into
// it, or one colour over all of it.
#include <algorithm>
#include <cstring>

#include "WqLib.h"
#include "graphics/graph_record.h"
#include "graphics/graph_transfer.h"
#include "graphics/graphics_state.h"
#include "graphics/render_state.h"
#include "graphics/vertex_batch.h"
#include "platform/gdi32.h"
#include "softrender/colour_shapes.h"

namespace {

constexpr DWORD kBiRgb = 0;
constexpr DWORD kBiBitfields = 3;

// The pixel layout a DIB header describes; -1 for one that is not a plain
// 8-, 16-, 24- or 32-bit DIB.
int DibFormat(const BITMAPINFO* dib, ColorFormat* format) {
  const BITMAPINFOHEADER& header = dib->bmiHeader;
  const auto* masks = reinterpret_cast<const DWORD*>(dib->bmiColors);
  const bool bitfields = header.biCompression == kBiBitfields;
  if (!bitfields && header.biCompression != kBiRgb) return -1;
  switch (header.biBitCount) {
    case 8:
      if (bitfields) return -1;
      MakeColorFormatPal8(format);
      std::memcpy(format->palette, dib->bmiColors, sizeof(RGBQUAD) * 256);
      return 0;
    case 16:
      return bitfields ? MakeColorFormatFromMasks(format, 16, masks[0], masks[1], masks[2], 0)
                       : MakeColorFormatFromMasks(format, 16, 0x7C00, 0x03E0, 0x001F, 0);
    case 24:
      return bitfields ? -1 : MakeColorFormatRgb24(format);
    case 32:
      return bitfields ? MakeColorFormatFromMasks(format, 32, masks[0], masks[1], masks[2], 0)
                       : MakeColorFormatXrgb32(format);
    default:
      return -1;
  }
}

// A top-down copy of a DIB (bottom-up when its height is positive); 0 or -1.
int DibToBaseImage(const BITMAPINFO* dib, const void* bits, BaseImage* image) {
  if (dib == nullptr || bits == nullptr) return -1;
  ColorFormat format{};
  if (DibFormat(dib, &format) != 0) return -1;
  const int width = dib->bmiHeader.biWidth;
  const int height = std::abs(dib->bmiHeader.biHeight);
  if (width < 1 || height < 1 || CreateBaseImageSameFormat(width, height, &format, image) != 0) return -1;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * format.bytesPerPixel;
  const std::size_t dibPitch = (rowBytes + 3) & ~std::size_t{3};
  const bool bottomUp = dib->bmiHeader.biHeight > 0;
  for (int y = 0; y < height; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(bits) + dibPitch * (bottomUp ? height - 1 - y : y);
    std::memcpy(static_cast<std::uint8_t*>(image->pixels) + static_cast<std::size_t>(image->pitch) * y, row, rowBytes);
  }
  return 0;
}

struct Picture {
  BaseImage* image = nullptr;
  BaseImage* alpha = nullptr;
  BaseImage dib{}, dibAlpha{};
  ~Picture() {
    ReleaseBaseImage(&dib);
    ReleaseBaseImage(&dibAlpha);
  }
};

// The picture to put in, from the bitmap arguments or the base images.
int TakePicture(Picture* picture, const void* bits, const BITMAPINFO* bitmap, const void* alphaBits,
                const BITMAPINFO* alphaBitmap, int fromBitmap, BaseImage* image, BaseImage* alpha) {
  if (!fromBitmap) {
    picture->image = image;
    picture->alpha = alpha;
    return image != nullptr ? 0 : -1;
  }
  if (DibToBaseImage(bitmap, bits, &picture->dib) != 0) return -1;
  picture->image = &picture->dib;
  if (alphaBitmap != nullptr) {
    if (DibToBaseImage(alphaBitmap, alphaBits, &picture->dibAlpha) != 0) return -1;
    picture->alpha = &picture->dibAlpha;
  }
  return 0;
}

// The record's file name, position in the picture and option word.
void RememberSource(GraphRecord* record, int graph, const char* fileName, int x, int y, int optionWord) {
  // The restore hands the graph its own name back: the shared block stays.
  if (fileName == nullptr || record->fileName == nullptr || std::strcmp(fileName, record->fileName->path) != 0)
    SetGraphFileName(graph, fileName, -1);
  record->fileX = x;
  record->fileY = y;
  record->loadFlag = optionWord;
}

}  // namespace

int SetGraphImage(const void* bitmapBits, const BITMAPINFO* bitmap, const void* alphaBitmapBits,
                  const BITMAPINFO* alphaBitmap, const char* fileName, int fromBitmap, BaseImage* image,
                  BaseImage* alphaImage, int sourceX, int sourceY, int graph, int optionWord) {
  GraphRecord* record = FindGraphRecord(graph);
  if (!Graphics().started || record == nullptr) return -1;
  Picture picture;
  if (TakePicture(&picture, bitmapBits, bitmap, alphaBitmapBits, alphaBitmap, fromBitmap, image, alphaImage) != 0)
    return -1;
  RememberSource(record, graph, fileName, sourceX, sourceY, optionWord);
  const RECT source{sourceX, sourceY, sourceX + record->width, sourceY + record->height};
  return TransferImageToGraph(graph, source, 0, 0, picture.image, picture.alpha, UseTransparentColor, 0);
}

int SetGraphImageRect(const void* bitmapBits, const BITMAPINFO* bitmap, const void* alphaBitmapBits,
                      const BITMAPINFO* alphaBitmap, const char* fileName, int fromBitmap, BaseImage* image,
                      BaseImage* alphaImage, const RECT* sourceRect, int destinationX, int destinationY, int graph,
                      int optionWord) {
  GraphRecord* record = FindGraphRecord(graph);
  if (!Graphics().started || record == nullptr) return -1;
  Picture picture;
  if (TakePicture(&picture, bitmapBits, bitmap, alphaBitmapBits, alphaBitmap, fromBitmap, image, alphaImage) != 0)
    return -1;
  const RECT source = sourceRect != nullptr ? *sourceRect : RECT{0, 0, picture.image->width, picture.image->height};
  RememberSource(record, graph, fileName, sourceRect != nullptr ? source.left - destinationX : 0,
                 sourceRect != nullptr ? source.top - destinationY : 0, optionWord);
  return TransferImageToGraph(graph, source, destinationX, destinationY, picture.image, picture.alpha,
                              UseTransparentColor, 0);
}

int FillGraphColor(int graph, int red, int green, int blue, int alpha) {
  GraphRecord* record = FindGraphRecord(graph);
  if (record == nullptr) return -1;
  const auto clamp = [](int channel) { return static_cast<std::uint32_t>(std::clamp(channel, 0, 255)); };
  FlushVertexBatch();
  if (!record->image->inTextures) {
    const RECT whole{0, 0, record->width, record->height};
    MemImgFillRect(&record->view, &whole,
                   MakeColor(static_cast<int>(clamp(red)), static_cast<int>(clamp(green)), static_cast<int>(clamp(blue))));
    return 0;
  }
  D_IDirect3DDevice9* device = Device();
  if (device == nullptr) return -1;
  if (!record->image->drawable) return 0;
  const D_D3DCOLOR color = clamp(alpha) << 24 | clamp(red) << 16 | clamp(green) << 8 | clamp(blue);
  for (int i = 0; i < record->pieceCount; ++i) {
    const GraphTexturePiece& piece = record->pieces[i];
    const RECT area{piece.sourceX, piece.sourceY, piece.sourceX + piece.width, piece.sourceY + piece.height};
    device->ColorFill(piece.entry->surface, &area, color);
  }
  return 0;
}
