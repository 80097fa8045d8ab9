// IMA ADPCM: per block and channel a 4-byte header (first sample, step
// index), then 4-bit codes in groups of 4 bytes per channel, low nibble first.
#include <array>

#include "msacm32/acm_codecs.h"
#include "msacm32/adpcm_block_decoder.h"
#include "msacm32/pcm16_output.h"

namespace wqplat {
namespace {

constexpr std::array<int, 89> kStepSizes = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr std::array<int, 8> kIndexSteps = {-1, -1, -1, -1, 2, 4, 6, 8};
constexpr int kMaxStepIndex = static_cast<int>(kStepSizes.size()) - 1;

struct ChannelState {
  int predictor;
  int step_index;

  int Decode(int code) {
    const int step = kStepSizes[step_index];
    int difference = step >> 3;
    if (code & 4) difference += step;
    if (code & 2) difference += step >> 1;
    if (code & 1) difference += step >> 2;
    predictor =
        std::clamp(code & 8 ? predictor - difference : predictor + difference, -32768, 32767);
    step_index = std::clamp(step_index + kIndexSteps[code & 7], 0, kMaxStepIndex);
    return predictor;
  }
};

class ImaAdpcmDecoder final : public AdpcmBlockDecoder {
 public:
  using AdpcmBlockDecoder::AdpcmBlockDecoder;

 private:
  void DecodeBlock(const BYTE* block, BYTE* frames) override {
    const WORD channels = this->channels();
    const BYTE* codes = block + 4 * channels;
    for (WORD c = 0; c < channels; ++c) {
      const BYTE* header = block + 4 * c;
      // A step index beyond the table (damaged data) is held at its end.
      ChannelState state{LoadInt16(header), std::min<int>(header[2], kMaxStepIndex)};
      BYTE* sample = frames + 2 * c;
      StorePcm16(sample, state.predictor);
      // Groups of 8 samples: 4 bytes for this channel, then the others'.
      for (DWORD n = 1; n < samples_per_block(); ++n) {
        const DWORD index = n - 1;
        const BYTE byte = codes[(index / 8) * 4 * channels + c * 4 + (index % 8) / 2];
        const int code = index % 2 == 0 ? byte & 0x0F : byte >> 4;
        StorePcm16(sample + n * frame_bytes(), state.Decode(code));
      }
    }
  }
};

}  // namespace

std::unique_ptr<AcmConverter> CreateImaAdpcmDecoder(const WAVEFORMATEX& source) {
  if (!HasPlayableChannelsAndRate(source) || source.wBitsPerSample != 4) return nullptr;
  const DWORD group = 4u * source.nChannels;
  if (source.nBlockAlign <= group || (source.nBlockAlign - group) % group != 0) return nullptr;
  // The block size fixes the sample count; a header that says otherwise is
  // not trusted.
  const DWORD samples = (source.nBlockAlign - group) * 2 / source.nChannels + 1;
  return std::make_unique<ImaAdpcmDecoder>(source.nChannels, source.nBlockAlign, samples);
}

}  // namespace wqplat
