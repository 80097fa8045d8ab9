#include "dsound/sound_device.h"

#include <algorithm>

#include "dsound/voice_mixer.h"
#include "kernel32/system_clock.h"

namespace wqplat {
namespace {

// Before a primary format is set: 22.05 kHz, 8-bit stereo.
constexpr VoiceFormat kDefaultFormat{2, 8, 22050};
// A clock-driven device advances its voices by at most this many frames at
// a time, which keeps every cursor step within 64 bits.
constexpr std::uint64_t kClockChunkFrames = 1 << 16;
constexpr std::uint64_t kMicrosecondsPerSecond = 1'000'000;

}  // namespace

std::shared_ptr<SoundDevice> SoundDevice::Open(WqSoundDevice choice) {
  switch (choice) {
    case WqSoundDevice::kManual:
      return std::shared_ptr<SoundDevice>(new SoundDevice(Output::kManual));
    case WqSoundDevice::kSilent:
      return std::shared_ptr<SoundDevice>(new SoundDevice(Output::kClock));
    case WqSoundDevice::kSystem:
      break;
  }
  std::shared_ptr<SoundDevice> device(new SoundDevice(Output::kSdl));
  device->OpenSdl();
  return device;
}

SoundDevice::SoundDevice(Output output)
    : output_(output), format_(kDefaultFormat), clock_origin_us_(NowUs()) {}

SoundDevice::~SoundDevice() { sdl_.reset(); }

void SoundDevice::OpenSdl() {
  std::unique_ptr<SdlAudioOutput> opened = SdlAudioOutput::Open(
      format_,
      [](void* context, BYTE* output, int bytes) {
        auto* device = static_cast<SoundDevice*>(context);
        device->Render(output, static_cast<std::size_t>(bytes) / device->format_.BlockAlign());
      },
      this);
  std::lock_guard guard(lock_);
  sdl_ = std::move(opened);
  if (!sdl_) {
    // No device to open (or to reopen in a new format): the silent one
    // keeps time in its place.
    output_ = Output::kClock;
    clock_origin_us_ = NowUs();
    clock_frames_ = 0;
  }
}

std::unique_lock<std::mutex> SoundDevice::Access() {
  std::unique_lock guard(lock_);
  if (output_ == Output::kClock) AdvanceToClock();
  return guard;
}

void SoundDevice::AddVoice(SoundVoice* voice) { voices_.push_back(voice); }

void SoundDevice::RemoveVoice(SoundVoice* voice) { std::erase(voices_, voice); }

std::uint64_t SoundDevice::HeardCursor(const SoundVoice& voice) const {
  if (output_ != Output::kSdl || !voice.playing || voice.frames_in_flight == 0) return voice.cursor;
  const std::uint64_t played = (NowUs() - render_time_us_) * format_.rate / kMicrosecondsPerSecond;
  if (played >= voice.frames_in_flight) return voice.cursor;
  const std::uint64_t behind =
      (voice.frames_in_flight - played) * voice.StepPerDeviceFrame(format_.rate);
  if (behind <= voice.cursor) return voice.cursor - behind;
  // Behind the start: within an earlier pass for a looping voice (a whole
  // number of passes behind is the start itself, not the end).
  if (!voice.looping) return 0;
  const std::uint64_t end = voice.EndPosition();
  return (end - (behind - voice.cursor) % end) % end;
}

void SoundDevice::SetFormat(const VoiceFormat& format) {
  sdl_.reset();  // outside the lock: closing waits for a running callback
  {
    std::lock_guard guard(lock_);
    if (output_ == Output::kClock) AdvanceToClock();
    format_ = format;
    clock_origin_us_ = NowUs();
    clock_frames_ = 0;
  }
  if (output_ == Output::kSdl) OpenSdl();
}

std::size_t SoundDevice::Render(void* output, std::size_t frames) {
  std::lock_guard guard(lock_);
  render_time_us_ = NowUs();
  MixLocked(output, frames);
  return frames * format_.BlockAlign();
}

void SoundDevice::MixLocked(void* output, std::size_t frames) {
  if (output != nullptr) sum_.assign(frames * 2, 0);
  for (SoundVoice* voice : voices_) {
    if (!voice->playing) continue;
    voice->frames_in_flight = static_cast<DWORD>(frames);
    if (output != nullptr) {
      MixVoice(*voice, sum_.data(), frames, format_.rate);
    } else {
      voice->Advance(frames * voice->StepPerDeviceFrame(format_.rate));
    }
  }
  if (output != nullptr) WriteMixedFrames(sum_.data(), frames, format_, output);
}

void SoundDevice::AdvanceToClock() {
  const std::uint64_t due = (NowUs() - clock_origin_us_) * format_.rate / kMicrosecondsPerSecond;
  while (clock_frames_ < due) {
    const std::uint64_t frames = std::min(due - clock_frames_, kClockChunkFrames);
    MixLocked(nullptr, frames);
    clock_frames_ += frames;
  }
}

}  // namespace wqplat
