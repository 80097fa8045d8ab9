// The opened sound device: the voices of its secondary buffers, the mixing
// format set through the primary buffer, and the output that drives the
// mixing (SDL's audio thread, the layer's clock, or a test's manual calls).
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "dsound/sdl_audio_output.h"
#include "dsound/sound_voice.h"
#include "platform/control_sound.h"

namespace wqplat {

class SoundDevice {
 public:
  enum class Output { kSdl, kClock, kManual };

  // The device `choice` names (kSystem falls back to kClock where SDL
  // opens no device).
  static std::shared_ptr<SoundDevice> Open(WqSoundDevice choice);
  ~SoundDevice();
  SoundDevice(const SoundDevice&) = delete;
  SoundDevice& operator=(const SoundDevice&) = delete;

  // Locks the device for a buffer operation; a clock-driven device first
  // mixes up to the present, so cursors read afterwards are current.
  std::unique_lock<std::mutex> Access();

  // With the device locked:
  void AddVoice(SoundVoice* voice);
  void RemoveVoice(SoundVoice* voice);
  // The cursor the listener hears: on SDL, the mixed cursor less what of
  // the latest mix has not been played yet, so it moves smoothly between
  // audio callbacks.
  std::uint64_t HeardCursor(const SoundVoice& voice) const;

  // Takes the lock itself (an SDL device is reopened in the new format).
  void SetFormat(const VoiceFormat& format);
  // Mixes `frames` frames in the mixing format into `output`; returns the
  // bytes written.
  std::size_t Render(void* output, std::size_t frames);

  Output output() const { return output_; }
  std::atomic<DWORD> cooperative_level{0};

 private:
  explicit SoundDevice(Output output);
  void OpenSdl();
  void AdvanceToClock();
  void MixLocked(void* output, std::size_t frames);

  std::mutex lock_;
  Output output_;
  VoiceFormat format_;
  std::vector<SoundVoice*> voices_;
  std::vector<std::int32_t> sum_;
  std::unique_ptr<SdlAudioOutput> sdl_;
  // Clock output: device frames mixed since `clock_origin_us_`.
  std::uint64_t clock_origin_us_ = 0;
  std::uint64_t clock_frames_ = 0;
  // SDL output: when the latest mix began.
  std::uint64_t render_time_us_ = 0;
};

}  // namespace wqplat
