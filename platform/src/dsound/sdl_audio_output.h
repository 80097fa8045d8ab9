// An SDL audio device pulling frames from a render function on SDL's audio
// thread.
#pragma once

#include <SDL2/SDL.h>

#include <memory>

#include "dsound/sound_voice.h"

namespace wqplat {

class SdlAudioOutput {
 public:
  // Called on the audio thread to fill `bytes` bytes of `format`.
  using RenderFunction = void (*)(void* context, BYTE* output, int bytes);

  // Null when SDL has no audio device to open.
  static std::unique_ptr<SdlAudioOutput> Open(const VoiceFormat& format, RenderFunction render,
                                              void* context);
  // Stops the device; no render call runs after this returns.
  ~SdlAudioOutput();
  SdlAudioOutput(const SdlAudioOutput&) = delete;
  SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

 private:
  SdlAudioOutput(RenderFunction render, void* context) : render_(render), context_(context) {}

  RenderFunction render_;
  void* context_;
  SDL_AudioDeviceID device_ = 0;
};

}  // namespace wqplat
