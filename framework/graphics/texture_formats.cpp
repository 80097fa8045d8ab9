// The fourteen texture formats of graphs, their classification and the
// texture-piece sizes along one side of an image.
#include "graphics/texture_formats.h"

#include "graphics/graphics_state.h"
#include "graphics/screen_mode.h"

namespace {

struct TextureFormatMasks {
  int bits;
  std::uint32_t red, green, blue, alpha;
  std::uint32_t compressedKind;
};

constexpr TextureFormatMasks kRgb565 = {16, 0xF800, 0x07E0, 0x001F, 0, 0};
constexpr TextureFormatMasks kXrgb32 = {32, 0xFF0000, 0xFF00, 0xFF, 0, 0};
constexpr TextureFormatMasks kArgb32 = {32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 0};

constexpr TextureFormatMasks kTextureFormats[kTextureFormatCount] = {
    kRgb565,
    kXrgb32,
    {16, 0x0F00, 0x00F0, 0x000F, 0xF000, 0},
    kArgb32,
    {16, 0x7C00, 0x03E0, 0x001F, 0x8000, 0},
    kArgb32,
    {4, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 1},
    {8, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 2},
    {8, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 3},
    {8, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 4},
    {8, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 5},
    kRgb565,
    kXrgb32,
    kArgb32,
};

struct TextureFormatTable {
  ColorFormat formats[kTextureFormatCount];
  TextureFormatTable() {
    for (int i = 0; i < kTextureFormatCount; ++i) {
      const TextureFormatMasks& m = kTextureFormats[i];
      formats[i] = ColorFormat{};
      // A compressed format describes the pixels it decodes to.
      MakeColorFormatFromMasks(&formats[i], m.compressedKind != 0 ? 32 : m.bits, m.red, m.green, m.blue, m.alpha);
      formats[i].bits = static_cast<std::uint16_t>(m.bits);
      formats[i].compressedKind = m.compressedKind;
    }
  }
};

}  // namespace

const ColorFormat* GetTextureFormatDesc(int index) {
  static const TextureFormatTable table;
  return index >= 0 && index < kTextureFormatCount ? &table.formats[index] : nullptr;
}

int ClassifyColorFormat(const ColorFormat* format, int alphaTest, int drawable) {
  if (format->compressedKind != 0) return kTexFormatDxt1 + static_cast<int>(format->compressedKind) - 1;
  const int wide = format->bits > 16 ? 1 : 0;
  const bool alpha = format->alphaWidth != 0;
  if (drawable) return alpha || alphaTest ? kTexFormatTargetAlpha32 : kTexFormatTarget16 + wide;
  if (alpha) return kTexFormatAlpha16 + wide;
  if (alphaTest) return kTexFormatAlphaTest16 + wide;
  return kTexFormat16 + wide;
}

// Two equal last pieces never occur: a piece is widened only below the
// device maximum, and only when the rest is smaller than the piece before.
int ComputeTexturePieceSize(int size, int* sizes, int oneTexture) {
  int count = 0;
  auto lay = [&](int piece) {
    if (sizes != nullptr) sizes[count] = piece;
    ++count;
    return count;
  };
  if (size <= 8) return lay(8);
  const int max = Graphics().maxTextureSize;
  int s = max;
  while (s > 8 && s > size) s /= 2;
  // A side narrower than the screen fits one texture when the device allows.
  if ((oneTexture || size < Screen().width) && 2 * s <= max) return lay(s < size ? 2 * s : s);
  int laid = 0;
  for (;;) {
    lay(s);
    laid += s;
    const int rest = size - laid;
    if (rest <= 0) break;
    if (rest > 3 * s / 4 && s < max) {
      // The rest nearly fills one more piece of this size: the last piece
      // doubles to cover both.
      if (sizes != nullptr) sizes[count - 1] = 2 * s;
      break;
    }
    while (rest < s && s > 8) s /= 2;
  }
  return count;
}
