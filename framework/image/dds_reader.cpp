// The DirectDraw Surface reader: DXT data stays compressed, uncompressed
// layouts are described by their masks.
#include <algorithm>
#include <cstring>

#include "core/base/tracked_allocator.h"
#include "graphics/screen_mode.h"
#include "image/base_image.h"
#include "image/color_format.h"
#include "image/dxt_decode.h"
#include "image/image_reader.h"

namespace {

constexpr std::uint32_t kHeaderPitchGiven = 0x8;
constexpr std::uint32_t kHeaderMipCountGiven = 0x20000;
constexpr std::uint32_t kPixelFormatFourCc = 0x4;
constexpr std::uint32_t kPixelFormatRgb = 0x40;
constexpr std::uint32_t kCapsComplex = 0x8;
constexpr std::uint32_t kCapsMipMap = 0x400000;
// More levels than any 32-bit side can have.
constexpr std::uint32_t kMaxMipLevels = 32;

// 1 to 5 for "DXT1" to "DXT5", else 0.
std::uint32_t DxtKind(const std::uint8_t* fourCc) {
  if (std::memcmp(fourCc, "DXT", 3) != 0 || fourCc[3] < '1' || fourCc[3] > '5') return 0;
  return static_cast<std::uint32_t>(fourCc[3] - '0');
}

// An 8-bit direct layout (R3G3B2) is held as a palettised image whose
// palette spells out every value, since one byte per pixel means palette
// indices to everything downstream.
void BuildDirectPalette(ColorFormat* format) {
  ColorFormat direct = *format;
  for (int i = 0; i < 256; ++i) {
    int r = 0, g = 0, b = 0;
    DecodeFormatPixel(&direct, static_cast<std::uint32_t>(i), &r, &g, &b, nullptr);
    format->palette[i] = {static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r), 0};
  }
  MakeColorFormatPal8(format);
}

bool SupportedBits(std::uint32_t bits) { return bits == 8 || bits == 16 || bits == 24 || bits == 32; }

}  // namespace

int ReadDdsImage(StreamSource* source, BaseImage* image) {
  std::uint8_t magic[4];
  std::uint8_t header[124];
  if (!ReadStreamBytes(source, magic, 4) || std::memcmp(magic, "DDS", 3) != 0) return -1;
  if (!ReadStreamBytes(source, header, sizeof(header))) return -1;
  std::uint32_t flags = LoadLe32(header + 4);
  std::int64_t height = LoadLe32(header + 8), width = LoadLe32(header + 12);
  std::uint32_t headerPitch = LoadLe32(header + 16), mipCountField = LoadLe32(header + 24);
  std::uint32_t formatFlags = LoadLe32(header + 76), rgbBits = LoadLe32(header + 84);
  std::uint32_t caps = LoadLe32(header + 104);
  const std::uint8_t* fourCc = header + 80;
  if (ImageByteCount(width, height, 4) < 0) return -1;

  std::uint32_t kind = 0;
  if (formatFlags & kPixelFormatFourCc) {
    // A Direct3D format number in place of the FourCC names one of the
    // graphics code's built-in layouts.
    const ColorFormat* named =
        formatFlags == kPixelFormatFourCc ? GetColorFormatDesc(static_cast<int>(LoadLe32(fourCc))) : nullptr;
    if (named) {
      image->format = *named;
    } else {
      kind = DxtKind(fourCc);
      if (kind == 0) return -1;
      std::memset(&image->format, 0, sizeof(image->format));
      MakeColorFormatArgb32(&image->format);
    }
  } else if (formatFlags & kPixelFormatRgb) {
    if (!SupportedBits(rgbBits)) return -1;
    MakeColorFormatFromMasks(&image->format, static_cast<int>(rgbBits), LoadLe32(header + 88), LoadLe32(header + 92),
                             LoadLe32(header + 96), LoadLe32(header + 100));
  } else {
    return -1;
  }
  std::uint32_t mipCount = 0;
  if ((flags & kHeaderMipCountGiven) && (caps & kCapsMipMap) && (caps & kCapsComplex)) mipCount = mipCountField;
  if (mipCount > kMaxMipLevels) return -1;

  std::int64_t levelSize, total;
  std::int64_t pitch = 0;
  if (kind != 0) {
    levelSize = DxtBlocksAcross(height) * DxtBlocksAcross(width) * DxtBlockBytes(kind);
    total = levelSize;
    for (std::uint32_t level = 1; level < mipCount; ++level) {
      levelSize = std::max<std::int64_t>(levelSize / 4, 8);
      total += levelSize;
    }
  } else {
    int bytesPerPixel = image->format.bytesPerPixel;
    std::int64_t rowBytes = width * bytesPerPixel;
    // A header pitch shorter than a row would put rows on top of each other.
    pitch = (flags & kHeaderPitchGiven) ? headerPitch : rowBytes;
    if (pitch < rowBytes || ImageByteCount(pitch, height, 1) < 0) return -1;
    levelSize = pitch * height;
    total = levelSize;
    for (std::uint32_t level = 1; level < mipCount; ++level) {
      levelSize /= 4;
      total += levelSize;
    }
    if (bytesPerPixel == 1) BuildDirectPalette(&image->format);
  }
  // Nothing is allocated for data the file does not hold.
  if (StreamBytesLeft(source) < total) return -1;
  void* data = ALLOCATE_IMAGE_BLOCK(total);
  if (!data) return -1;
  if (!ReadStreamBytes(source, data, static_cast<std::size_t>(total))) {
    TrackedFree(data);
    return -1;
  }
  if (kind != 0) {
    image->format.compressedKind = kind;
    image->format.bits = kind == 1 ? 4 : 8;
    image->format.bytesPerPixel = 4;
  }
  image->width = static_cast<std::int32_t>(width);
  image->height = static_cast<std::int32_t>(height);
  image->pitch = static_cast<std::uint32_t>(pitch);
  image->pixels = data;
  image->mipCount = mipCount;
  return 0;
}
