// The static colour formats of software images.
#include "image/memimg.h"

namespace {

ColorFormat MakeMaskFormat(int colorType, int alphaFlag, int paletteFlag) {
  struct Masks {
    std::uint32_t red, green, blue, alpha;
  };
  static constexpr Masks kRgb565 = {0xF800, 0x07E0, 0x001F, 0x00FF0000};
  static constexpr Masks kRgb32 = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  const Masks& masks = colorType == kMemImgRgb565 ? kRgb565 : kRgb32;
  int colorBits = 8;
  if (!paletteFlag) colorBits = (colorType == kMemImgRgb565 && !alphaFlag) ? 16 : 32;
  ColorFormat format{};
  MakeColorFormatFromMasks(&format, colorBits, masks.red, masks.green, masks.blue, alphaFlag ? masks.alpha : 0);
  return format;
}

// One channel of the given width in every channel slot, as the single-channel
// images describe themselves.
ColorFormat MakeChannelFormat(int bits) {
  ColorFormat format{};
  const std::uint32_t mask = (1u << bits) - 1u;
  const auto width = static_cast<std::uint8_t>(bits);
  format.bits = static_cast<std::uint16_t>(bits);
  format.bytesPerPixel = static_cast<std::uint16_t>(bits / 8);
  format.redWidth = format.greenWidth = format.blueWidth = format.alphaWidth = width;
  format.redMask = format.greenMask = format.blueMask = format.alphaMask = mask;
  return format;
}

}  // namespace

const ColorFormat* GetMemImgColorFormat(int colorType, int alphaFlag, int paletteFlag) {
  const int alpha = alphaFlag ? 1 : 0;
  const int palette = paletteFlag ? 1 : 0;
  switch (colorType) {
    case kMemImgRgb565: {
      static const ColorFormat formats[2][2] = {
          {MakeMaskFormat(kMemImgRgb565, 0, 0), MakeMaskFormat(kMemImgRgb565, 1, 0)},
          {MakeMaskFormat(kMemImgRgb565, 0, 1), MakeMaskFormat(kMemImgRgb565, 1, 1)}};
      return &formats[palette][alpha];
    }
    case kMemImgRgb32: {
      static const ColorFormat formats[2][2] = {
          {MakeMaskFormat(kMemImgRgb32, 0, 0), MakeMaskFormat(kMemImgRgb32, 1, 0)},
          {MakeMaskFormat(kMemImgRgb32, 0, 1), MakeMaskFormat(kMemImgRgb32, 1, 1)}};
      return &formats[palette][alpha];
    }
    case kMemImgChannel8: {
      static const ColorFormat format = MakeChannelFormat(8);
      return &format;
    }
    case kMemImgChannel16: {
      static const ColorFormat format = MakeChannelFormat(16);
      return &format;
    }
    default:
      return nullptr;
  }
}
