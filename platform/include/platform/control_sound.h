// Sound controls: which device DirectSound opens, and a manual mixing clock
// with which a test moves the mixer by exact frame counts.
#pragma once

#include <cstddef>
#include <cstdint>

enum class WqSoundDevice {
  // SDL's audio device (SDL_AUDIODRIVER picks the driver, "disk" writes
  // SDL_DISKAUDIOFILE); the silent device where none opens, and whenever
  // the virtual clock is on, so that sound keeps the virtual time.
  kSystem,
  // No output; cursors advance with the layer's clock, read lazily on
  // every buffer call.
  kSilent,
  // No output and no time: cursors move only when WqControlMixSound mixes.
  kManual,
};

// The device that IDirectSound::Initialize opens from now on. Without a
// call, the environment variable WQ_SOUND_DEVICE ("system", "silent",
// "manual") decides, else kSystem.
void WqControlSetSoundDevice(WqSoundDevice device);

// Mixes `frames` frames on the most recently opened manual device that is
// still alive, in its mixing format (the primary buffer's), into `output`
// exactly as a device would play them. Returns the bytes written; 0 when
// no manual device is open.
std::size_t WqControlMixSound(void* output, std::uint32_t frames);
