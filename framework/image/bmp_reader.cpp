// The Windows bitmap reader: palettised 4- and 8-bit images (raw or
// run-length), 24- and 32-bit images are decoded here, every other layout
// through GDI. The result is always top-down.
#include <cstdlib>
#include <cstring>
#include <utility>

#include "core/base/tracked_allocator.h"
#include "image/base_image.h"
#include "image/bmp_reader.h"
#include "image/image_reader.h"

namespace {

constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;
// Room for the header, 256 colours and one more word, as GDI may look at.
constexpr std::size_t kInfoBlockBytes = kInfoHeaderBytes + 256 * 4 + 4;

// The blocks a read holds; whatever is still held when the reader returns
// is freed.
struct BmpBlocks {
  BITMAPINFO* info = nullptr;
  std::uint8_t* data = nullptr;
  std::uint8_t* pixels = nullptr;
  ~BmpBlocks() {
    if (info) TrackedFree(info);
    if (data) TrackedFree(data);
    if (pixels) TrackedFree(pixels);
  }
  std::uint8_t* TakePixels() {
    std::uint8_t* taken = pixels;
    pixels = nullptr;
    return taken;
  }
};

bool IsKnownBitCount(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

// The colour table (or the bit-field masks) into the info block. The table
// follows the file's header whatever its size; the masks sit behind the
// first 40 bytes in every header version.
bool ReadTable(StreamSource* source, std::uint32_t headerSize, BmpLayout& layout, std::uint32_t coloursUsed) {
  auto* table = reinterpret_cast<std::uint8_t*>(layout.info->bmiColors);
  if (layout.bits <= 8) {
    int entries = 1 << layout.bits;
    if (coloursUsed > 0 && coloursUsed < static_cast<std::uint32_t>(entries)) entries = static_cast<int>(coloursUsed);
    source->functions.seek(source->handle, static_cast<LONG>(kFileHeaderBytes + headerSize), 0);
    if (!ReadStreamBytes(source, table, static_cast<std::size_t>(entries) * 4)) return false;
    layout.colourCount = entries;
  } else if (layout.compression == BI_BITFIELDS) {
    source->functions.seek(source->handle, kFileHeaderBytes + kInfoHeaderBytes, 0);
    if (!ReadStreamBytes(source, table, 12)) return false;
  }
  return true;
}

void SetPalette(const BmpLayout& layout, BaseImage* image) {
  MakeColorFormatPal8(&image->format);
  std::memset(image->format.palette, 0, sizeof(image->format.palette));
  for (int i = 0; i < layout.colourCount; ++i) {
    const RGBQUAD& entry = layout.info->bmiColors[i];
    image->format.palette[i] = {entry.rgbBlue, entry.rgbGreen, entry.rgbRed, 0};
  }
}

std::uint8_t* StoredRow(const BmpLayout& layout, std::uint8_t* data, int imageRow) {
  int fileRow = layout.bottomUp ? layout.height - 1 - imageRow : imageRow;
  return data + static_cast<std::size_t>(fileRow) * layout.stride;
}

// 4-bit rows to one index a byte, the high nibble first.
void ExpandNibbles(const BmpLayout& layout, std::uint8_t* data, std::uint8_t* out, std::uint32_t pitch) {
  for (int y = 0; y < layout.height; ++y) {
    const std::uint8_t* in = StoredRow(layout, data, y);
    std::uint8_t* row = out + static_cast<std::size_t>(y) * pitch;
    for (int x = 0; x < layout.width; ++x) row[x] = x % 2 == 0 ? in[x / 2] >> 4 : in[x / 2] & 15;
  }
}

void FlipRows(const BmpLayout& layout, std::uint8_t* data, std::uint8_t* out) {
  for (int y = 0; y < layout.height; ++y) {
    std::memcpy(out + static_cast<std::size_t>(y) * layout.stride, StoredRow(layout, data, y), layout.stride);
  }
}

}  // namespace

int ReadBmpImage(StreamSource* source, BaseImage* image) {
  std::int64_t length = MeasureStream(source, 0);
  std::uint8_t fileHeader[kFileHeaderBytes];
  std::uint8_t header[kInfoHeaderBytes];
  if (!ReadStreamBytes(source, fileHeader, sizeof(fileHeader)) || std::memcmp(fileHeader, "BM", 2) != 0) return -1;
  if (!ReadStreamBytes(source, header, sizeof(header))) return -1;
  std::uint32_t headerSize = LoadLe32(header);
  std::int64_t dataOffset = LoadLe32(fileHeader + 10);
  if (headerSize < kInfoHeaderBytes || headerSize > length || dataOffset > length) return -1;

  BmpBlocks blocks;
  blocks.info = static_cast<BITMAPINFO*>(TrackedAllocZero(kInfoBlockBytes, __FILE__, __LINE__));
  if (!blocks.info) return -1;
  std::memcpy(&blocks.info->bmiHeader, header, kInfoHeaderBytes);
  blocks.info->bmiHeader.biSize = kInfoHeaderBytes;
  BmpLayout layout{};
  layout.info = blocks.info;
  std::int64_t width = static_cast<std::int32_t>(LoadLe32(header + 4));
  std::int64_t height = static_cast<std::int32_t>(LoadLe32(header + 8));
  layout.bits = LoadLe16(header + 14);
  layout.compression = LoadLe32(header + 16);
  if (!IsKnownBitCount(layout.bits) || ImageByteCount(width, std::llabs(height), 4) < 0) return -1;
  layout.width = static_cast<std::int32_t>(width);
  layout.height = static_cast<std::int32_t>(std::llabs(height));
  layout.bottomUp = height > 0;
  layout.stride = static_cast<std::uint32_t>((width * layout.bits + 31) / 32 * 4);
  if (!ReadTable(source, headerSize, layout, LoadLe32(header + 32))) return -1;

  // The pixel data: the rest of the file, at least as long as the rows the
  // header declares for the layouts that are not run-length coded.
  std::int64_t dataSize = length - dataOffset;
  bool runLength = layout.compression == BI_RLE8 || layout.compression == BI_RLE4;
  std::int64_t rowsSize = static_cast<std::int64_t>(layout.stride) * layout.height;
  if (!runLength && dataSize < rowsSize) return -1;
  blocks.data = static_cast<std::uint8_t*>(ALLOCATE_IMAGE_BLOCK(dataSize));
  if (!blocks.data && dataSize > 0) return -1;
  source->functions.seek(source->handle, static_cast<LONG>(dataOffset), 0);
  if (!ReadStreamBytes(source, blocks.data, static_cast<std::size_t>(dataSize))) return -1;

  image->width = layout.width;
  image->height = layout.height;
  bool palettised = false;
  if ((layout.compression == BI_RLE8 && layout.bits == 8) || (layout.compression == BI_RLE4 && layout.bits == 4)) {
    bool nibbles = layout.bits == 4;
    image->pitch = nibbles ? (static_cast<std::uint32_t>(layout.width) + 3) & ~3u : layout.stride;
    std::int64_t size = static_cast<std::int64_t>(image->pitch) * layout.height;
    blocks.pixels = static_cast<std::uint8_t*>(ALLOCATE_IMAGE_BLOCK(size));
    if (!blocks.pixels) return -1;
    std::memset(blocks.pixels, 0, static_cast<std::size_t>(size));
    DecodeBmpRunLength(layout, nibbles, blocks.data, dataSize, blocks.pixels, image->pitch);
    palettised = true;
  } else if (layout.compression == BI_RGB && layout.bits == 4) {
    image->pitch = (static_cast<std::uint32_t>(layout.width) + 3) & ~3u;
    blocks.pixels =
        static_cast<std::uint8_t*>(ALLOCATE_IMAGE_BLOCK(static_cast<std::int64_t>(image->pitch) * layout.height));
    if (!blocks.pixels) return -1;
    ExpandNibbles(layout, blocks.data, blocks.pixels, image->pitch);
    palettised = true;
  } else if (layout.compression == BI_RGB && (layout.bits == 8 || layout.bits == 24 || layout.bits == 32)) {
    image->pitch = layout.stride;
    if (layout.bottomUp) {
      blocks.pixels = static_cast<std::uint8_t*>(ALLOCATE_IMAGE_BLOCK(rowsSize));
      if (!blocks.pixels) return -1;
      FlipRows(layout, blocks.data, blocks.pixels);
    } else {
      std::swap(blocks.pixels, blocks.data);
    }
    palettised = layout.bits == 8;
    if (layout.bits == 24) MakeColorFormatRgb24(&image->format);
    if (layout.bits == 32) MakeColorFormatArgb32(&image->format);
  } else if (layout.compression == BI_RGB || layout.compression == BI_BITFIELDS) {
    return DecodeBmpThroughGdi(layout, blocks.data, image);
  } else {
    return -1;  // a compression no decoder here or in GDI knows
  }
  if (palettised) SetPalette(layout, image);
  image->pixels = blocks.TakePixels();
  return 0;
}
