// The Truevision TGA reader: true-colour and colour-mapped images of 16,
// 24 and 32 bits, raw or run-length encoded, in any of the four origins.
#include <algorithm>
#include <cstring>

#include "core/base/tracked_allocator.h"
#include "image/base_image.h"
#include "image/image_reader.h"

namespace {

constexpr int kFooterBytes = 26;
constexpr int kHeaderBytes = 18;
constexpr std::int64_t kMaxTgaSide = 8192;
constexpr std::uint8_t kRightToLeft = 0x10;
constexpr std::uint8_t kTopToBottom = 0x20;

struct TgaHeader {
  std::uint8_t idLength, colorMapType, imageType;
  std::uint16_t mapFirst, mapLength;
  std::uint8_t mapEntryBits;
  std::uint16_t originX, originY, width, height;
  std::uint8_t pixelDepth, descriptor;
};

TgaHeader ParseHeader(const std::uint8_t* h) {
  return {h[0],
          h[1],
          h[2],
          LoadLe16(h + 3),
          LoadLe16(h + 5),
          h[7],
          LoadLe16(h + 8),
          LoadLe16(h + 10),
          LoadLe16(h + 12),
          LoadLe16(h + 14),
          h[16],
          h[17]};
}

bool FooterPresent(StreamSource* source, std::int64_t length) {
  if (length < kFooterBytes) return false;
  std::uint8_t footer[kFooterBytes];
  source->functions.seek(source->handle, static_cast<LONG>(length - kFooterBytes), 0);
  if (!ReadStreamBytes(source, footer, sizeof(footer))) return false;
  return std::memcmp(footer + 8, "TRUEVISION-XFILE", 16) == 0 && LoadLe32(footer) == 0;
}

void SetFormat(ColorFormat* format, int depth) {
  switch (depth) {
    case 32:
      MakeColorFormatArgb32(format);
      break;
    case 24:
      MakeColorFormatRgb24(format);
      break;
    default:
      MakeColorFormatFromMasks(format, 16, 0x7C00, 0x3E0, 0x1F, 0);
      break;
  }
}

// Blocks a read holds; each is freed when the reader returns.
struct TgaBlocks {
  std::uint8_t* pixels = nullptr;
  std::uint8_t* colorMap = nullptr;
  std::uint8_t* data = nullptr;
  ~TgaBlocks() {
    for (std::uint8_t* block : {pixels, colorMap, data}) {
      if (block) TrackedFree(block);
    }
  }
  std::uint8_t* TakePixels() {
    std::uint8_t* taken = pixels;
    pixels = nullptr;
    return taken;
  }
};

// The 256-entry colour map, the file's entries placed from its first
// index; entries that would land past 256 are read and dropped.
bool ReadColorMap(StreamSource* source, const TgaHeader& header, int entryBytes, TgaBlocks& blocks) {
  blocks.colorMap =
      static_cast<std::uint8_t*>(TrackedAllocZero(256 * static_cast<std::size_t>(entryBytes), __FILE__, __LINE__));
  if (!blocks.colorMap) return false;
  std::int64_t fileBytes = static_cast<std::int64_t>(header.mapLength) * entryBytes;
  if (StreamBytesLeft(source) < fileBytes) return false;
  auto* entries = static_cast<std::uint8_t*>(ALLOCATE_IMAGE_BLOCK(fileBytes));
  if (fileBytes > 0 && !entries) return false;
  bool read = ReadStreamBytes(source, entries, static_cast<std::size_t>(fileBytes));
  for (int i = 0; read && i < header.mapLength && header.mapFirst + i < 256; ++i) {
    std::memcpy(blocks.colorMap + (header.mapFirst + i) * entryBytes, entries + i * entryBytes, entryBytes);
  }
  if (entries) TrackedFree(entries);
  return read;
}

// Run-length packets into `count` elements of `elementBytes`; false when
// the data ends before every element is written. A packet that runs past
// the last element is cut there.
bool DecodeRunLength(const std::uint8_t* data, std::int64_t size, std::uint8_t* out, std::int64_t count,
                     int elementBytes) {
  std::int64_t in = 0, written = 0;
  while (written < count) {
    if (in >= size) return false;
    std::uint8_t control = data[in++];
    std::int64_t run = std::min<std::int64_t>((control & 0x7F) + 1, count - written);
    std::int64_t needed = control & 0x80 ? elementBytes : run * elementBytes;
    if (size - in < needed) return false;
    for (std::int64_t i = 0; i < run; ++i) {
      const std::uint8_t* element = control & 0x80 ? data + in : data + in + i * elementBytes;
      std::memcpy(out + (written + i) * elementBytes, element, elementBytes);
    }
    in += needed;
    written += run;
  }
  return true;
}

// Rows top to bottom and pixels left to right, from the file's origin.
bool Reorient(BaseImage* image, std::uint8_t descriptor, TgaBlocks& blocks) {
  if ((descriptor & kTopToBottom) && !(descriptor & kRightToLeft)) return true;
  std::int64_t size = static_cast<std::int64_t>(image->pitch) * image->height;
  auto* turned = static_cast<std::uint8_t*>(ALLOCATE_IMAGE_BLOCK(size));
  if (!turned) return false;
  int bytes = image->format.bytesPerPixel;
  for (int y = 0; y < image->height; ++y) {
    const std::uint8_t* in = blocks.pixels + static_cast<std::size_t>(y) * image->pitch;
    int outRow = (descriptor & kTopToBottom) ? y : image->height - 1 - y;
    std::uint8_t* out = turned + static_cast<std::size_t>(outRow) * image->pitch;
    if (descriptor & kRightToLeft) {
      for (int x = 0; x < image->width; ++x) std::memcpy(out + (image->width - 1 - x) * bytes, in + x * bytes, bytes);
    } else {
      std::memcpy(out, in, image->pitch);
    }
  }
  TrackedFree(blocks.pixels);
  blocks.pixels = turned;
  return true;
}

}  // namespace

int ReadTgaImage(StreamSource* source, BaseImage* image) {
  std::int64_t length = MeasureStream(source, 0);
  bool footer = FooterPresent(source, length);
  source->functions.seek(source->handle, 0, 0);
  std::uint8_t raw[kHeaderBytes];
  if (!ReadStreamBytes(source, raw, sizeof(raw))) return -1;
  TgaHeader header = ParseHeader(raw);
  bool mapped = header.imageType == 1 || header.imageType == 9;
  bool runLength = header.imageType == 9 || header.imageType == 10;
  int depth = mapped ? header.mapEntryBits : header.pixelDepth;
  if (!mapped && header.imageType != 2 && header.imageType != 10) return -1;
  if (header.originX != 0 || header.originY != 0) return -1;
  if (header.width > kMaxTgaSide || header.height > kMaxTgaSide || header.width == 0 || header.height == 0) return -1;
  if (depth != 16 && depth != 24 && depth != 32) return -1;

  int bytes = depth / 8;
  std::int64_t pixelCount = static_cast<std::int64_t>(header.width) * header.height;
  SetFormat(&image->format, depth);
  image->width = header.width;
  image->height = header.height;
  image->pitch = static_cast<std::uint32_t>(header.width) * bytes;
  source->functions.seek(source->handle, header.idLength, 1);

  TgaBlocks blocks;
  if (mapped) {
    if (!ReadColorMap(source, header, bytes, blocks)) return -1;
  } else if (header.colorMapType != 0) {
    // A true-colour file may still carry a colour map; its bytes come
    // before the pixels.
    source->functions.seek(source->handle, static_cast<LONG>(header.mapLength * ((header.mapEntryBits + 7) / 8)), 1);
  }
  int elementBytes = mapped ? 1 : bytes;
  std::int64_t elementsSize = pixelCount * elementBytes;
  blocks.pixels = static_cast<std::uint8_t*>(ALLOCATE_IMAGE_BLOCK(pixelCount * bytes));
  if (!blocks.pixels) return -1;
  // Mapped indices go to the end of the pixel block and are expanded in
  // place front to back: a pixel written never reaches an unread index.
  std::uint8_t* elements = blocks.pixels + pixelCount * bytes - elementsSize;
  if (runLength) {
    std::int64_t dataSize = StreamBytesLeft(source) - (footer ? kFooterBytes : 0);
    if (dataSize <= 0) return -1;
    blocks.data = static_cast<std::uint8_t*>(ALLOCATE_IMAGE_BLOCK(dataSize));
    if (!blocks.data || !ReadStreamBytes(source, blocks.data, static_cast<std::size_t>(dataSize))) return -1;
    if (!DecodeRunLength(blocks.data, dataSize, elements, pixelCount, elementBytes)) return -1;
  } else if (StreamBytesLeft(source) < elementsSize ||
             !ReadStreamBytes(source, elements, static_cast<std::size_t>(elementsSize))) {
    return -1;
  }
  if (mapped) {
    for (std::int64_t i = 0; i < pixelCount; ++i) {
      std::memmove(blocks.pixels + i * bytes, blocks.colorMap + elements[i] * bytes, bytes);
    }
  }
  if (!Reorient(image, header.descriptor, blocks)) return -1;
  image->pixels = blocks.TakePixels();
  return 0;
}
