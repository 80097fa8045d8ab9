// acmMetrics and acmFormatSuggest.
#include "msacm32/acm_converter.h"
#include "msacm32/wave_format_layout.h"

namespace {

constexpr DWORD kSuggestFlags = ACM_FORMATSUGGESTF_WFORMATTAG | ACM_FORMATSUGGESTF_NCHANNELS |
                                ACM_FORMATSUGGESTF_NSAMPLESPERSEC |
                                ACM_FORMATSUGGESTF_WBITSPERSAMPLE;

// Microsoft ADPCM with its seven standard coefficient pairs is the largest
// record a converter takes.
constexpr DWORD kLargestFormatBytes = sizeof(ADPCMWAVEFORMAT) + 6 * sizeof(ADPCMCOEFSET);

}  // namespace

MMRESULT acmMetrics(HACMOBJ, UINT metric, LPVOID output) {
  if (output == nullptr) return MMSYSERR_INVALPARAM;
  if (metric != ACM_METRIC_MAX_SIZE_FORMAT) return MMSYSERR_NOTSUPPORTED;
  *static_cast<DWORD*>(output) = kLargestFormatBytes;
  return MMSYSERR_NOERROR;
}

MMRESULT acmFormatSuggest(HACMDRIVER, LPWAVEFORMATEX source, LPWAVEFORMATEX destination,
                          DWORD destination_bytes, DWORD flags) {
  if (source == nullptr || destination == nullptr || destination_bytes < sizeof(WAVEFORMATEX)) {
    return MMSYSERR_INVALPARAM;
  }
  if ((flags & ~kSuggestFlags) != 0) return MMSYSERR_INVALFLAG;
  WAVEFORMATEX suggestion;
  if (!wqplat::SuggestPcmFormat(*source, suggestion)) return ACMERR_NOTPOSSIBLE;
  if ((flags & ACM_FORMATSUGGESTF_WFORMATTAG) && destination->wFormatTag != WAVE_FORMAT_PCM) {
    return ACMERR_NOTPOSSIBLE;
  }
  wqplat::PcmLayout layout{suggestion.nChannels, suggestion.wBitsPerSample,
                           suggestion.nSamplesPerSec};
  if (flags & ACM_FORMATSUGGESTF_NCHANNELS) layout.channels = destination->nChannels;
  if (flags & ACM_FORMATSUGGESTF_NSAMPLESPERSEC) layout.rate = destination->nSamplesPerSec;
  if (flags & ACM_FORMATSUGGESTF_WBITSPERSAMPLE) layout.bits = destination->wBitsPerSample;
  suggestion = wqplat::MakePcmFormat(layout);
  // Only a format a stream can really be opened for is suggested.
  if (!wqplat::CreateAcmConverter(*source, suggestion)) return ACMERR_NOTPOSSIBLE;
  *destination = suggestion;
  return MMSYSERR_NOERROR;
}
