// G.711 mu-law and A-law: one byte per sample, expanded to 16 bits.
#include <array>

#include "msacm32/acm_codecs.h"
#include "msacm32/block_converter.h"
#include "msacm32/pcm16_output.h"

namespace wqplat {
namespace {

int ExpandMuLaw(BYTE code) {
  const int inverted = ~code & 0xFF;
  const int exponent = (inverted >> 4) & 7;
  const int magnitude = ((((inverted & 0x0F) << 3) + 0x84) << exponent) - 0x84;
  return inverted & 0x80 ? -magnitude : magnitude;
}

int ExpandALaw(BYTE code) {
  const int toggled = code ^ 0x55;
  const int exponent = (toggled >> 4) & 7;
  const int mantissa = toggled & 0x0F;
  const int magnitude =
      exponent == 0 ? (mantissa << 4) + 8 : ((mantissa << 4) + 0x108) << (exponent - 1);
  return toggled & 0x80 ? magnitude : -magnitude;
}

using ExpansionTable = std::array<std::int16_t, 256>;

template <int (*Expand)(BYTE)>
const ExpansionTable& TableOf() {
  static const ExpansionTable table = [] {
    ExpansionTable built{};
    for (int code = 0; code < 256; ++code) {
      built[code] = static_cast<std::int16_t>(Expand(static_cast<BYTE>(code)));
    }
    return built;
  }();
  return table;
}

class G711Decoder final : public BlockConverter {
 public:
  G711Decoder(WORD channels, const ExpansionTable& table)
      : BlockConverter(channels, 2u * channels), channels_(channels), table_(table) {}

 private:
  void ConvertBlocks(const BYTE* source, BYTE* destination, std::size_t frames) override {
    const std::size_t samples = frames * channels_;
    for (std::size_t i = 0; i < samples; ++i) StorePcm16(destination + 2 * i, table_[source[i]]);
  }

  WORD channels_;
  const ExpansionTable& table_;
};

}  // namespace

std::unique_ptr<AcmConverter> CreateG711Decoder(const WAVEFORMATEX& source) {
  if (!HasPlayableChannelsAndRate(source) || source.wBitsPerSample != 8 ||
      source.nBlockAlign != source.nChannels) {
    return nullptr;
  }
  const ExpansionTable& table =
      source.wFormatTag == WAVE_FORMAT_MULAW ? TableOf<ExpandMuLaw>() : TableOf<ExpandALaw>();
  return std::make_unique<G711Decoder>(source.nChannels, table);
}

}  // namespace wqplat
