// PCM to PCM: bit depth and channel count, at the same rate. Samples pass
// through a 32-bit signed value; mono is spread to every channel and every
// channel is averaged into mono.
#include <cstdint>
#include <vector>

#include "msacm32/acm_codecs.h"
#include "msacm32/block_converter.h"

namespace wqplat {
namespace {

std::int32_t ReadSample(const BYTE* at, WORD bits) {
  switch (bits) {
    case 8:
      return (static_cast<std::int32_t>(at[0]) - 128) * (1 << 24);
    case 16:
      return static_cast<std::int16_t>(at[0] | at[1] << 8) * (1 << 16);
    case 24:
      return static_cast<std::int32_t>(static_cast<std::uint32_t>(at[0]) << 8 |
                                       static_cast<std::uint32_t>(at[1]) << 16 |
                                       static_cast<std::uint32_t>(at[2]) << 24);
    default:
      return static_cast<std::int32_t>(
          static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
          static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24);
  }
}

void WriteSample(BYTE* at, WORD bits, std::int32_t value) {
  const auto word = static_cast<std::uint32_t>(value);
  if (bits == 8) {
    at[0] = static_cast<BYTE>((word >> 24) ^ 0x80);
    return;
  }
  // The top bytes of the 32-bit value, lowest first.
  const int bytes = bits / 8;
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<BYTE>(word >> (32 - 8 * (bytes - i)));
}

class PcmConverter final : public BlockConverter {
 public:
  PcmConverter(const PcmLayout& source, const PcmLayout& destination)
      : BlockConverter(source.BlockAlign(), destination.BlockAlign()),
        source_(source),
        destination_(destination),
        frame_(source.channels) {}

 private:
  void ConvertBlocks(const BYTE* source, BYTE* destination, std::size_t frames) override {
    const int in_bytes = source_.bits / 8;
    const int out_bytes = destination_.bits / 8;
    for (std::size_t f = 0; f < frames; ++f) {
      std::int64_t sum = 0;
      for (WORD c = 0; c < source_.channels; ++c) {
        frame_[c] = ReadSample(source, source_.bits);
        sum += frame_[c];
        source += in_bytes;
      }
      const auto average = static_cast<std::int32_t>(sum / source_.channels);
      for (WORD c = 0; c < destination_.channels; ++c) {
        const std::int32_t value = source_.channels == destination_.channels ? frame_[c]
                                   : source_.channels == 1                   ? frame_[0]
                                                                             : average;
        WriteSample(destination, destination_.bits, value);
        destination += out_bytes;
      }
    }
  }

  PcmLayout source_;
  PcmLayout destination_;
  std::vector<std::int32_t> frame_;
};

}  // namespace

std::unique_ptr<AcmConverter> CreatePcmConverter(const PcmLayout& source,
                                                 const PcmLayout& destination) {
  const bool channels_map =
      source.channels == destination.channels || source.channels == 1 || destination.channels == 1;
  if (source.rate != destination.rate || !channels_map) return nullptr;
  return std::make_unique<PcmConverter>(source, destination);
}

}  // namespace wqplat
