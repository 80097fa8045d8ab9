// Microsoft ADPCM: per block a header of predictor indices, deltas and the
// two first samples of each channel, then 4-bit codes, high nibble first,
// channels interleaved. The predictor coefficients come from the format.
#include <array>
#include <cstdint>
#include <cstddef>
#include <cstring>
#include <limits>
#include <vector>

#include "msacm32/acm_codecs.h"
#include "msacm32/adpcm_block_decoder.h"
#include "msacm32/pcm16_output.h"

namespace wqplat {
namespace {

constexpr std::array<int, 16> kAdaptation = {230, 230, 230, 230, 307, 409, 512, 614,
                                             768, 614, 512, 409, 307, 230, 230, 230};
constexpr int kMinDelta = 16;
// Far above any step an encoder reaches, low enough that the adaptation
// product and a code times the step stay within 32 bits on damaged data.
constexpr int kMaxDelta = std::numeric_limits<int>::max() / 768;

struct ChannelState {
  ADPCMCOEFSET coefficients;
  int delta;
  int sample1;  // the latest sample
  int sample2;

  int Decode(int code) {
    const int signed_code = code >= 8 ? code - 16 : code;
    // Two full-scale products of full-scale coefficients overflow 32 bits.
    const auto predicted = static_cast<int>(
        (std::int64_t{sample1} * coefficients.iCoef1 + std::int64_t{sample2} * coefficients.iCoef2) >>
        8);
    const int sample = std::clamp(predicted + signed_code * delta, -32768, 32767);
    sample2 = sample1;
    sample1 = sample;
    delta = std::clamp((kAdaptation[code] * delta) >> 8, kMinDelta, kMaxDelta);
    return sample;
  }
};

// The format's coefficient pairs (wNumCoef of them follow the record).
std::vector<ADPCMCOEFSET> CoefficientTable(const ADPCMWAVEFORMAT& format) {
  std::vector<ADPCMCOEFSET> table(format.wNumCoef);
  const auto* first = reinterpret_cast<const BYTE*>(&format) + offsetof(ADPCMWAVEFORMAT, aCoef);
  std::memcpy(table.data(), first, table.size() * sizeof(ADPCMCOEFSET));
  return table;
}

class MsAdpcmDecoder final : public AdpcmBlockDecoder {
 public:
  explicit MsAdpcmDecoder(const ADPCMWAVEFORMAT& format)
      : AdpcmBlockDecoder(format.wfx.nChannels, format.wfx.nBlockAlign, format.wSamplesPerBlock),
        coefficients_(CoefficientTable(format)),
        states_(format.wfx.nChannels) {}

 private:
  void DecodeBlock(const BYTE* block, BYTE* frames) override {
    const WORD channels = this->channels();
    ReadHeader(block);
    for (WORD c = 0; c < channels; ++c) {
      StorePcm16(frames + 2 * c, states_[c].sample2);
      StorePcm16(frames + frame_bytes() + 2 * c, states_[c].sample1);
    }
    const BYTE* codes = block + 7 * channels;
    const std::size_t nibbles = std::size_t{samples_per_block() - 2} * channels;
    BYTE* sample = frames + 2 * frame_bytes();
    for (std::size_t n = 0; n < nibbles; ++n, sample += 2) {
      const BYTE byte = codes[n / 2];
      StorePcm16(sample, states_[n % channels].Decode(n % 2 == 0 ? byte >> 4 : byte & 0x0F));
    }
  }

  // The header holds, channel after channel for each field: the predictor
  // index (1 byte), the delta, the second sample and the first (2 bytes each).
  void ReadHeader(const BYTE* header) {
    const WORD channels = this->channels();
    for (WORD c = 0; c < channels; ++c) {
      // An index beyond the format's table (damaged data) takes the first
      // pair rather than reading past the table.
      const BYTE index = header[c];
      states_[c].coefficients = coefficients_[index < coefficients_.size() ? index : 0];
      states_[c].delta = LoadInt16(header + channels + 2 * c);
      states_[c].sample1 = LoadInt16(header + 3 * channels + 2 * c);
      states_[c].sample2 = LoadInt16(header + 5 * channels + 2 * c);
    }
  }

  std::vector<ADPCMCOEFSET> coefficients_;
  std::vector<ChannelState> states_;
};

}  // namespace

std::unique_ptr<AcmConverter> CreateMsAdpcmDecoder(const WAVEFORMATEX& source) {
  if (!HasPlayableChannelsAndRate(source) || source.wBitsPerSample != 4) return nullptr;
  const auto& format = reinterpret_cast<const ADPCMWAVEFORMAT&>(source);
  constexpr WORD kFixedExtension = 4;  // samples per block, coefficient count
  if (source.cbSize < kFixedExtension || format.wNumCoef == 0 ||
      source.cbSize < kFixedExtension + sizeof(ADPCMCOEFSET) * format.wNumCoef) {
    return nullptr;
  }
  const DWORD header = 7u * source.nChannels;
  if (source.nBlockAlign < header) return nullptr;
  const DWORD max_samples = (source.nBlockAlign - header) * 2 / source.nChannels + 2;
  if (format.wSamplesPerBlock < 2 || format.wSamplesPerBlock > max_samples) return nullptr;
  return std::make_unique<MsAdpcmDecoder>(format);
}

}  // namespace wqplat
