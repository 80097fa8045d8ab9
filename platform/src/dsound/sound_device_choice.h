// Which device DirectSound opens, and the manual device a test mixes.
#pragma once

#include <memory>

#include "dsound/sound_device.h"

namespace wqplat {

// The control's choice, else WQ_SOUND_DEVICE, else the system device; the
// system device becomes the silent one while the virtual clock is on.
WqSoundDevice ChosenSoundDevice();
// Keeps a manual device within reach of WqControlMixSound.
void RememberOpenedSoundDevice(const std::shared_ptr<SoundDevice>& device);

}  // namespace wqplat
