// Colour values in the screen's format, and the screen and renderer
// queries games ask before drawing.
#include "graphics/color_values.h"

#include "WqLib.h"
#include "graphics/graphics_state.h"
#include "graphics/screen_mode.h"

namespace {

std::uint32_t Channel(int value, int width, int shift) {
  return (static_cast<std::uint32_t>(value & 0xFF) >> (8 - width)) << shift;
}

std::uint32_t UnpackChannel(std::uint32_t color, std::uint32_t mask, int shift, int width) {
  return ((color & mask) >> shift) * 255 / ((1u << width) - 1);
}

}  // namespace

std::uint32_t EncodeColor(const ColorFormat* format, int red, int green, int blue) {
  return Channel(red, format->redWidth, format->redShift) + Channel(green, format->greenWidth, format->greenShift) +
         Channel(blue, format->blueWidth, format->blueShift) + format->unusedMask;
}

std::uint32_t EncodeBackgroundColor(const ColorFormat* format) {
  const std::uint32_t color = GetScreenBackgroundColor();
  return EncodeColor(format, static_cast<int>(color >> 16), static_cast<int>(color >> 8), static_cast<int>(color));
}

std::uint32_t MakeColor(int red, int green, int blue) { return EncodeColor(GetScreenColorFormat(), red, green, blue); }

int UnpackColor(std::uint32_t color, std::uint32_t* red, std::uint32_t* green, std::uint32_t* blue) {
  const ColorFormat* f = GetScreenColorFormat();
  *red = UnpackChannel(color, f->redMask, f->redShift, f->redWidth);
  *green = UnpackChannel(color, f->greenMask, f->greenShift, f->greenWidth);
  *blue = UnpackChannel(color, f->blueMask, f->blueShift, f->blueWidth);
  return 0;
}
