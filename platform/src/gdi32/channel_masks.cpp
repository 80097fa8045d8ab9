#include "gdi32/channel_masks.h"

#include <bit>

namespace wqplat {
namespace {

// A channel value of the mask's width scaled to 8 bits, rounding to nearest.
std::uint32_t ExpandChannel(std::uint32_t mask, std::uint32_t value) {
  const int shift = std::countr_zero(mask);
  const std::uint64_t maximum = mask >> shift;
  const std::uint64_t field = (value & mask) >> shift;
  return static_cast<std::uint32_t>((field * 255 + maximum / 2) / maximum);
}

std::uint32_t ReduceChannel(std::uint32_t mask, std::uint32_t channel) {
  const int shift = std::countr_zero(mask);
  const std::uint64_t maximum = mask >> shift;
  return static_cast<std::uint32_t>(((channel * maximum + 127) / 255) << shift);
}

bool IsOneRun(std::uint32_t mask) {
  if (mask == 0) return false;
  const std::uint32_t shifted = mask >> std::countr_zero(mask);
  return (shifted & (shifted + 1)) == 0;
}

}  // namespace

ChannelMasks DefaultChannelMasks(int bits_per_pixel) {
  if (bits_per_pixel == 16) return ChannelMasks{0x7C00, 0x03E0, 0x001F};
  return ChannelMasks{0xFF0000, 0x00FF00, 0x0000FF};
}

bool AreChannelMasksValid(const ChannelMasks& masks) {
  return IsOneRun(masks.red) && IsOneRun(masks.green) && IsOneRun(masks.blue);
}

std::uint32_t UnpackChannels(const ChannelMasks& masks, std::uint32_t value) {
  return ExpandChannel(masks.red, value) << 16 | ExpandChannel(masks.green, value) << 8 |
         ExpandChannel(masks.blue, value);
}

std::uint32_t PackChannels(const ChannelMasks& masks, std::uint32_t rgb) {
  return ReduceChannel(masks.red, (rgb >> 16) & 0xFF) | ReduceChannel(masks.green, (rgb >> 8) & 0xFF) |
         ReduceChannel(masks.blue, rgb & 0xFF);
}

}  // namespace wqplat
