// Plain PCM wave format records for tests.
#pragma once

#include "platform/mmsystem.h"

namespace wqtest {

inline WAVEFORMATEX PcmFormat(WORD channels, WORD bits, DWORD rate) {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = channels;
  format.wBitsPerSample = bits;
  format.nSamplesPerSec = rate;
  format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
  format.nAvgBytesPerSec = rate * format.nBlockAlign;
  return format;
}

}  // namespace wqtest
