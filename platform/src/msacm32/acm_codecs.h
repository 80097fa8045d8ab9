// The converters this layer offers. Each factory checks its source record
// and returns null for one it cannot decode; decoders give 16-bit PCM of the
// source's channels and rate.
#pragma once

#include "msacm32/acm_converter.h"
#include "msacm32/wave_format_layout.h"

namespace wqplat {

std::unique_ptr<AcmConverter> CreatePcmConverter(const PcmLayout& source,
                                                 const PcmLayout& destination);
std::unique_ptr<AcmConverter> CreateImaAdpcmDecoder(const WAVEFORMATEX& source);
std::unique_ptr<AcmConverter> CreateMsAdpcmDecoder(const WAVEFORMATEX& source);
std::unique_ptr<AcmConverter> CreateG711Decoder(const WAVEFORMATEX& source);
std::unique_ptr<AcmConverter> CreateMp3Decoder(const WAVEFORMATEX& source);

}  // namespace wqplat
