// Packing and unpacking 16- and 32-bit pixels by their colour masks, as
// BI_BITFIELDS describes them. Colours in between are 0x00RRGGBB words.
#pragma once

#include <cstdint>

namespace wqplat {

struct ChannelMasks {
  std::uint32_t red = 0;
  std::uint32_t green = 0;
  std::uint32_t blue = 0;
};

// The layouts BI_RGB implies: 5-5-5 for 16 bits, 8-8-8 for 32.
ChannelMasks DefaultChannelMasks(int bits_per_pixel);

// Each channel must be a non-empty run of set bits.
bool AreChannelMasksValid(const ChannelMasks& masks);

std::uint32_t UnpackChannels(const ChannelMasks& masks, std::uint32_t value);
std::uint32_t PackChannels(const ChannelMasks& masks, std::uint32_t rgb);

}  // namespace wqplat
