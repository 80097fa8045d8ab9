#include "dsound/voice_mixer.h"

#include <algorithm>

namespace wqplat {
namespace {

struct StereoSample {
  std::int32_t left;
  std::int32_t right;
};

// One frame of the buffer as 16-bit-range values.
template <int Bits, int Channels>
StereoSample ReadFrame(const BYTE* frame) {
  auto sample = [frame](int channel) -> std::int32_t {
    if constexpr (Bits == 8) {
      return (frame[channel] - 128) * 256;
    } else {
      return static_cast<std::int16_t>(frame[2 * channel] | frame[2 * channel + 1] << 8);
    }
  };
  if constexpr (Channels == 1) {
    const std::int32_t mono = sample(0);
    return {mono, mono};
  } else {
    return {sample(0), sample(1)};
  }
}

// `Interpolate` is false for a voice moving whole frames from a whole frame
// (played at the device's rate): every weight would be 0.
template <int Bits, int Channels, bool Interpolate>
void MixFrames(SoundVoice& voice, std::int32_t* sum, std::size_t frames, std::uint64_t step) {
  constexpr std::size_t kBlock = Bits / 8 * Channels;
  const BYTE* samples = voice.samples->data();
  const std::int64_t left_gain = voice.left_gain;
  const std::int64_t right_gain = voice.right_gain;
  for (std::size_t i = 0; i < frames; ++i) {
    const auto index = static_cast<DWORD>(voice.cursor >> kCursorFractionBits);
    StereoSample frame = ReadFrame<Bits, Channels>(samples + index * kBlock);
    if constexpr (Interpolate) {
      // The top 16 bits of the fraction weigh the next frame; after the last
      // frame comes the first (looping) or the last again.
      const auto weight =
          static_cast<std::int64_t>((voice.cursor >> (kCursorFractionBits - 16)) & 0xFFFF);
      const DWORD next = index + 1 < voice.frames ? index + 1 : voice.looping ? 0 : index;
      const StereoSample b = ReadFrame<Bits, Channels>(samples + next * kBlock);
      frame.left += static_cast<std::int32_t>((b.left - frame.left) * weight >> 16);
      frame.right += static_cast<std::int32_t>((b.right - frame.right) * weight >> 16);
    }
    sum[2 * i] += static_cast<std::int32_t>(frame.left * left_gain >> 16);
    sum[2 * i + 1] += static_cast<std::int32_t>(frame.right * right_gain >> 16);
    if (!voice.Advance(step)) return;
  }
}

template <int Bits, int Channels>
void MixFrames(SoundVoice& voice, std::int32_t* sum, std::size_t frames, DWORD device_rate) {
  constexpr std::uint64_t kFraction = (std::uint64_t{1} << kCursorFractionBits) - 1;
  const std::uint64_t step = voice.StepPerDeviceFrame(device_rate);
  if ((step & kFraction) == 0 && (voice.cursor & kFraction) == 0) {
    MixFrames<Bits, Channels, false>(voice, sum, frames, step);
  } else {
    MixFrames<Bits, Channels, true>(voice, sum, frames, step);
  }
}

std::int32_t Clip16(std::int32_t value) { return std::clamp(value, -32768, 32767); }

}  // namespace

void MixVoice(SoundVoice& voice, std::int32_t* sum, std::size_t frames, DWORD device_rate) {
  switch (voice.format.bits * 10 + voice.format.channels) {
    case 81:
      return MixFrames<8, 1>(voice, sum, frames, device_rate);
    case 82:
      return MixFrames<8, 2>(voice, sum, frames, device_rate);
    case 161:
      return MixFrames<16, 1>(voice, sum, frames, device_rate);
    default:
      return MixFrames<16, 2>(voice, sum, frames, device_rate);
  }
}

void WriteMixedFrames(const std::int32_t* sum, std::size_t frames, const VoiceFormat& format,
                      void* output) {
  auto* bytes = static_cast<BYTE*>(output);
  const std::size_t samples = frames * format.channels;
  for (std::size_t i = 0; i < samples; ++i) {
    // Stereo takes each sum as it is; mono averages a frame's two.
    const std::int32_t value =
        format.channels == 2 ? Clip16(sum[i]) : Clip16((sum[2 * i] + sum[2 * i + 1]) / 2);
    if (format.bits == 8) {
      bytes[i] = static_cast<BYTE>((value >> 8) + 128);
    } else {
      bytes[2 * i] = static_cast<BYTE>(value);
      bytes[2 * i + 1] = static_cast<BYTE>(value >> 8);
    }
  }
}

}  // namespace wqplat
