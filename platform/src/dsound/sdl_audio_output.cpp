#include "dsound/sdl_audio_output.h"

namespace wqplat {
namespace {

constexpr Uint16 kDeviceFrames = 1024;  // about 23 ms at 44.1 kHz

}  // namespace

std::unique_ptr<SdlAudioOutput> SdlAudioOutput::Open(const VoiceFormat& format,
                                                     RenderFunction render, void* context) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  std::unique_ptr<SdlAudioOutput> output(new SdlAudioOutput(render, context));
  SDL_AudioSpec wanted{};
  wanted.freq = static_cast<int>(format.rate);
  wanted.format = format.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  wanted.channels = static_cast<Uint8>(format.channels);
  wanted.samples = kDeviceFrames;
  wanted.callback = [](void* userdata, Uint8* stream, int bytes) {
    const auto* self = static_cast<const SdlAudioOutput*>(userdata);
    self->render_(self->context_, stream, bytes);
  };
  wanted.userdata = output.get();
  // No changes allowed: SDL converts to whatever the hardware takes.
  output->device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  if (output->device_ == 0) return nullptr;
  SDL_PauseAudioDevice(output->device_, 0);
  return output;
}

SdlAudioOutput::~SdlAudioOutput() {
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace wqplat
