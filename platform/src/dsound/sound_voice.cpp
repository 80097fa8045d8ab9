#include "dsound/sound_voice.h"

#include <cmath>

#include "platform/dsound.h"

namespace wqplat {
namespace {

// Hundredths of a decibel as a gain in 1/65536.
std::int32_t GainOf(LONG hundredths_db) {
  return static_cast<std::int32_t>(std::lround(std::pow(10.0, hundredths_db / 2000.0) * 65536.0));
}

}  // namespace

HRESULT CheckPlayableFormat(const WAVEFORMATEX* format, VoiceFormat* voice) {
  if (format == nullptr) return D_DSERR_INVALIDPARAM;
  if (format->wFormatTag != WAVE_FORMAT_PCM) return D_DSERR_BADFORMAT;
  const VoiceFormat checked{format->nChannels, format->wBitsPerSample, format->nSamplesPerSec};
  const bool layout_known =
      (checked.channels == 1 || checked.channels == 2) && (checked.bits == 8 || checked.bits == 16);
  if (!layout_known || format->nBlockAlign != checked.BlockAlign() ||
      checked.rate < D_DSBFREQUENCY_MIN || checked.rate > D_DSBFREQUENCY_MAX ||
      format->nAvgBytesPerSec == 0) {
    return D_DSERR_INVALIDPARAM;
  }
  *voice = checked;
  return D_DS_OK;
}

SoundVoice::SoundVoice(SampleBytes bytes, VoiceFormat voice_format)
    : samples(std::move(bytes)),
      format(voice_format),
      frames(static_cast<DWORD>(samples->size() / voice_format.BlockAlign())),
      frequency(voice_format.rate) {}

std::uint64_t SoundVoice::StepPerDeviceFrame(DWORD device_rate) const {
  return (std::uint64_t{frequency} << kCursorFractionBits) / device_rate;
}

bool SoundVoice::Advance(std::uint64_t distance) {
  const std::uint64_t end = EndPosition();
  if (distance < end - cursor) {
    cursor += distance;
    return true;
  }
  if (looping) {
    cursor = (cursor + distance % end) % end;
    return true;
  }
  playing = false;
  cursor = 0;
  return false;
}

void SoundVoice::SetGains(LONG new_volume, LONG new_pan) {
  volume = new_volume;
  pan = new_pan;
  const std::int32_t gain = GainOf(volume);
  left_gain = static_cast<std::int32_t>(std::int64_t{gain} * GainOf(pan > 0 ? -pan : 0) >> 16);
  right_gain = static_cast<std::int32_t>(std::int64_t{gain} * GainOf(pan < 0 ? pan : 0) >> 16);
}

}  // namespace wqplat
