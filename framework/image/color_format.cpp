// The makers of the standard colour formats and the format built from masks.
#include "image/color_format.h"

namespace {

struct ChannelLayout {
  std::uint32_t mask;
  std::uint8_t shift;
  std::uint8_t width;
};

void SetChannel(ChannelLayout layout, std::uint32_t* mask, std::uint8_t* shift, std::uint8_t* width) {
  *mask = layout.mask;
  *shift = layout.shift;
  *width = layout.width;
}

void SetChannels(ColorFormat* format, int bits, ChannelLayout red, ChannelLayout green, ChannelLayout blue,
                 ChannelLayout alpha, std::uint32_t unusedMask) {
  format->bits = static_cast<std::uint16_t>(bits);
  format->bytesPerPixel = static_cast<std::uint16_t>(bits / 8);
  SetChannel(red, &format->redMask, &format->redShift, &format->redWidth);
  SetChannel(green, &format->greenMask, &format->greenShift, &format->greenWidth);
  SetChannel(blue, &format->blueMask, &format->blueShift, &format->blueWidth);
  SetChannel(alpha, &format->alphaMask, &format->alphaShift, &format->alphaWidth);
  format->unusedMask = unusedMask;
  format->compressedKind = 0;
}

constexpr ChannelLayout kRed8{0xFF0000, 16, 8};
constexpr ChannelLayout kGreen8{0xFF00, 8, 8};
constexpr ChannelLayout kBlue8{0xFF, 0, 8};
constexpr ChannelLayout kNoAlpha{0, 0, 0};

ChannelLayout LayoutOfMask(std::uint32_t mask) {
  MaskRun run = FindMaskRun(mask);
  return {mask, run.shift, run.width};
}

}  // namespace

MaskRun FindMaskRun(std::uint32_t mask) {
  if (mask == 0) return {0, 0};
  std::uint8_t shift = 0;
  while (!(mask >> shift & 1)) ++shift;
  std::uint8_t width = 0;
  while (shift + width < 32 && (mask >> (shift + width) & 1)) ++width;
  return {shift, width};
}

int MakeColorFormatPal8(ColorFormat* format) {
  SetChannels(format, 8, kRed8, kGreen8, kBlue8, kNoAlpha, 0xFF000000);
  return 0;
}

int MakeColorFormatGrey8(ColorFormat* format) {
  MakeColorFormatPal8(format);
  for (int i = 0; i < 256; ++i) {
    auto level = static_cast<std::uint8_t>(i);
    format->palette[i] = {level, level, level, 0};
  }
  return 0;
}

int MakeColorFormatXrgb32(ColorFormat* format) {
  SetChannels(format, 32, kRed8, kGreen8, kBlue8, kNoAlpha, 0xFF000000);
  format->unusedShift = 24;
  format->unusedWidth = 8;
  return 0;
}

int MakeColorFormatArgb32(ColorFormat* format) {
  SetChannels(format, 32, kRed8, kGreen8, kBlue8, {0xFF000000, 24, 8}, 0);
  return 0;
}

int MakeColorFormatRgb24(ColorFormat* format) {
  SetChannels(format, 24, kRed8, kGreen8, kBlue8, kNoAlpha, 0);
  return 0;
}

int MakeColorFormatFromMasks(ColorFormat* format, int bits, std::uint32_t redMask, std::uint32_t greenMask,
                             std::uint32_t blueMask, std::uint32_t alphaMask) {
  std::uint32_t all = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
  std::uint32_t unused = all & ~(redMask | greenMask | blueMask | alphaMask);
  SetChannels(format, bits, LayoutOfMask(redMask), LayoutOfMask(greenMask), LayoutOfMask(blueMask),
              LayoutOfMask(alphaMask), unused);
  MaskRun unusedRun = FindMaskRun(unused);
  format->unusedShift = unusedRun.shift;
  format->unusedWidth = unusedRun.width;
  return 0;
}

void UpdateColorFormatUnusedMask(ColorFormat* format) {
  int widths = format->redWidth + format->greenWidth + format->blueWidth + format->alphaWidth;
  if (widths == format->bits) {
    format->unusedMask = 0;
    return;
  }
  format->unusedMask =
      ChannelMax(format->bits) & ~(format->redMask | format->greenMask | format->blueMask | format->alphaMask);
}
