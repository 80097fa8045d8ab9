// DXT block decoding and the decompression of a compressed base image.
#include "image/dxt_decode.h"

#include <algorithm>
#include <cstring>

#include "core/base/tracked_allocator.h"
#include "image/base_image.h"
#include "image/image_reader.h"

namespace {

struct Colour {
  int red, green, blue, alpha;
};

Colour ExpandRgb565(std::uint16_t c) {
  return {(c >> 11) * 255 / 31, (c >> 5 & 63) * 255 / 63, (c & 31) * 255 / 31, 255};
}

Colour Mix(const Colour& a, int wa, const Colour& b, int wb, int divisor) {
  return {(wa * a.red + wb * b.red) / divisor, (wa * a.green + wb * b.green) / divisor,
          (wa * a.blue + wb * b.blue) / divisor, 255};
}

void DecodeColours(const std::uint8_t* block, bool fourColours, std::uint8_t pixels[16][4]) {
  std::uint16_t c0 = LoadLe16(block), c1 = LoadLe16(block + 2);
  Colour table[4] = {ExpandRgb565(c0), ExpandRgb565(c1), {}, {}};
  if (fourColours || c0 > c1) {
    table[2] = Mix(table[0], 2, table[1], 1, 3);
    table[3] = Mix(table[0], 1, table[1], 2, 3);
  } else {
    table[2] = Mix(table[0], 1, table[1], 1, 2);
    table[3] = table[2];
    table[3].alpha = 0;
  }
  std::uint32_t indices = LoadLe32(block + 4);
  for (int i = 0; i < 16; ++i) {
    const Colour& c = table[indices >> (2 * i) & 3];
    pixels[i][0] = static_cast<std::uint8_t>(c.blue);
    pixels[i][1] = static_cast<std::uint8_t>(c.green);
    pixels[i][2] = static_cast<std::uint8_t>(c.red);
    pixels[i][3] = static_cast<std::uint8_t>(c.alpha);
  }
}

void DecodeExplicitAlpha(const std::uint8_t* block, std::uint8_t pixels[16][4]) {
  for (int i = 0; i < 16; ++i) {
    int a4 = block[i / 2] >> (4 * (i & 1)) & 15;
    pixels[i][3] = static_cast<std::uint8_t>(a4 * 255 / 15);
  }
}

void DecodeInterpolatedAlpha(const std::uint8_t* block, std::uint8_t pixels[16][4]) {
  int a0 = block[0], a1 = block[1];
  int table[8] = {a0, a1};
  if (a0 > a1) {
    for (int i = 1; i <= 6; ++i) table[i + 1] = ((7 - i) * a0 + i * a1) / 7;
  } else {
    for (int i = 1; i <= 4; ++i) table[i + 1] = ((5 - i) * a0 + i * a1) / 5;
    table[6] = 0;
    table[7] = 255;
  }
  for (int group = 0; group < 2; ++group) {
    const std::uint8_t* bytes = block + 2 + 3 * group;
    std::uint32_t bits = bytes[0] | bytes[1] << 8 | bytes[2] << 16;
    for (int i = 0; i < 8; ++i) pixels[group * 8 + i][3] = static_cast<std::uint8_t>(table[bits >> (3 * i) & 7]);
  }
}

// Premultiplied colours back to straight ones; a transparent pixel keeps
// its colour and a colour above its alpha saturates.
void Unpremultiply(std::uint8_t pixels[16][4]) {
  for (int i = 0; i < 16; ++i) {
    int alpha = pixels[i][3];
    if (alpha == 0) continue;
    for (int c = 0; c < 3; ++c) pixels[i][c] = static_cast<std::uint8_t>(std::min(pixels[i][c] * 255 / alpha, 255));
  }
}

}  // namespace

void DecodeDxtBlock(std::uint32_t kind, const std::uint8_t* block, std::uint8_t pixels[16][4]) {
  if (kind == 1) {
    DecodeColours(block, false, pixels);
    return;
  }
  DecodeColours(block + 8, true, pixels);
  if (kind <= 3) {
    DecodeExplicitAlpha(block, pixels);
  } else {
    DecodeInterpolatedAlpha(block, pixels);
  }
  if (kind == 2 || kind == 4) Unpremultiply(pixels);
}

// Part blocks at the right and bottom edges are decoded too, so every
// pixel of a side that is not a multiple of 4 is written.
int DecompressBaseImage(BaseImage* image) {
  std::uint32_t kind = image->format.compressedKind;
  if (kind == 0) return 0;
  if (kind > 5 || !image->pixels) return -1;
  std::int64_t bytes = ImageByteCount(image->width, image->height, 4);
  if (bytes < 0) return -1;
  auto* pixels = static_cast<std::uint8_t*>(ALLOCATE_IMAGE_BLOCK(bytes));
  if (!pixels) return -1;
  const auto* block = static_cast<const std::uint8_t*>(image->pixels);
  int blockBytes = DxtBlockBytes(kind);
  std::size_t pitch = static_cast<std::size_t>(image->width) * 4;
  for (int by = 0; by < image->height; by += 4) {
    for (int bx = 0; bx < image->width; bx += 4, block += blockBytes) {
      std::uint8_t decoded[16][4];
      DecodeDxtBlock(kind, block, decoded);
      int rows = std::min(4, image->height - by), columns = std::min(4, image->width - bx);
      for (int row = 0; row < rows; ++row) {
        std::memcpy(pixels + (by + row) * pitch + bx * 4, decoded[row * 4], static_cast<std::size_t>(columns) * 4);
      }
    }
  }
  TrackedFree(image->pixels);
  image->pixels = pixels;
  MakeColorFormatArgb32(&image->format);
  image->pitch = static_cast<std::uint32_t>(pitch);
  return 0;
}
