// What the mixer plays of one secondary sound buffer: its samples (shared
// with its duplicates), format, cursor, state and gains. Guarded by the
// owning device's lock.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/mmsystem.h"

namespace wqplat {

// 8-bit unsigned or 16-bit signed PCM, 1 or 2 channels.
struct VoiceFormat {
  WORD channels;
  WORD bits;
  DWORD rate;

  DWORD BlockAlign() const { return DWORD{channels} * bits / 8; }
};

// Checks a PCM record as the buffers take it: D_DS_OK with `voice` filled,
// D_DSERR_BADFORMAT for a format that is not PCM, and D_DSERR_INVALIDPARAM
// (E_INVALIDARG) for a missing record or channels, bits, rate, block align
// or byte rate that do not fit.
HRESULT CheckPlayableFormat(const WAVEFORMATEX* format, VoiceFormat* voice);

using SampleBytes = std::shared_ptr<std::vector<BYTE>>;

// Cursor positions are frames in 32.32 fixed point, so resampling steps
// keep their fraction from one mix to the next.
constexpr int kCursorFractionBits = 32;

struct SoundVoice {
  SampleBytes samples;
  VoiceFormat format;
  DWORD frames;  // whole frames in the buffer, at least 1

  std::uint64_t cursor = 0;
  bool playing = false;
  bool looping = false;
  DWORD frequency;  // playback rate in Hz
  LONG volume = 0;
  LONG pan = 0;
  // Gains in 1/65536, from volume and pan.
  std::int32_t left_gain = 1 << 16;
  std::int32_t right_gain = 1 << 16;
  // Device frames of the latest mix that are still being heard; the play
  // cursor reported lags the mixed cursor by them.
  DWORD frames_in_flight = 0;

  SoundVoice(SampleBytes bytes, VoiceFormat voice_format);

  // The cursor step for one device frame at `device_rate`.
  std::uint64_t StepPerDeviceFrame(DWORD device_rate) const;
  // Moves the cursor on by `distance`: a looping voice wraps, any other
  // stops at its end with its cursor back at 0 (the result is then false).
  bool Advance(std::uint64_t distance);
  void SetGains(LONG new_volume, LONG new_pan);
  std::uint64_t EndPosition() const { return std::uint64_t{frames} << kCursorFractionBits; }
};

}  // namespace wqplat
