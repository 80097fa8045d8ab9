// Chooses the converter for a pair of formats. Everything converts to PCM:
// PCM layouts among themselves, compressed formats to 16-bit PCM of their
// own channels and rate.
#include "msacm32/acm_codecs.h"

namespace wqplat {
namespace {

using DecoderFactory = std::unique_ptr<AcmConverter> (*)(const WAVEFORMATEX&);

DecoderFactory DecoderFor(WORD tag) {
  switch (tag) {
    case WAVE_FORMAT_IMA_ADPCM:
      return CreateImaAdpcmDecoder;
    case WAVE_FORMAT_ADPCM:
      return CreateMsAdpcmDecoder;
    case WAVE_FORMAT_MULAW:
    case WAVE_FORMAT_ALAW:
      return CreateG711Decoder;
    case WAVE_FORMAT_MPEGLAYER3:
      return CreateMp3Decoder;
    default:
      return nullptr;
  }
}

PcmLayout DecodedLayout(const WAVEFORMATEX& source) {
  return {source.nChannels, 16, source.nSamplesPerSec};
}

}  // namespace

std::unique_ptr<AcmConverter> CreateAcmConverter(const WAVEFORMATEX& source,
                                                 const WAVEFORMATEX& destination) {
  const std::optional<PcmLayout> output = PcmLayoutOf(destination);
  if (!output) return nullptr;
  if (const std::optional<PcmLayout> input = PcmLayoutOf(source)) {
    return CreatePcmConverter(*input, *output);
  }
  const DecoderFactory decoder = DecoderFor(source.wFormatTag);
  if (decoder == nullptr || *output != DecodedLayout(source)) return nullptr;
  return decoder(source);
}

bool SuggestPcmFormat(const WAVEFORMATEX& source, WAVEFORMATEX& suggestion) {
  if (const std::optional<PcmLayout> input = PcmLayoutOf(source)) {
    suggestion = MakePcmFormat(*input);
    return true;
  }
  if (DecoderFor(source.wFormatTag) == nullptr) return false;
  suggestion = MakePcmFormat(DecodedLayout(source));
  return true;
}

}  // namespace wqplat
