// PCM layouts read from wave format records, plain or extensible.
#pragma once

#include <optional>

#include "platform/msacm.h"

namespace wqplat {

struct PcmLayout {
  WORD channels;
  WORD bits;  // container bits: 8 (unsigned), 16, 24 or 32 (signed)
  DWORD rate;

  WORD BlockAlign() const { return static_cast<WORD>(channels * bits / 8); }
  bool operator==(const PcmLayout&) const = default;
};

// The layout of a PCM record (WAVE_FORMAT_PCM, or WAVE_FORMAT_EXTENSIBLE
// with the PCM sub-format), when it is one this layer converts: 1 to 8
// channels of 8, 16, 24 or 32 bits, a rate, and a consistent block size.
std::optional<PcmLayout> PcmLayoutOf(const WAVEFORMATEX& format);

// A plain PCM record of that layout.
WAVEFORMATEX MakePcmFormat(const PcmLayout& layout);

// Compressed sources: 1 or 2 channels at a rate above 0.
bool HasPlayableChannelsAndRate(const WAVEFORMATEX& format);

}  // namespace wqplat
