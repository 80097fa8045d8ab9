// The mixing arithmetic: voices resampled by linear interpolation, scaled by
// their gains and summed into 32-bit stereo, then saturated into the device
// format.
#pragma once

#include <span>

#include "dsound/sound_voice.h"

namespace wqplat {

// Adds `frames` device frames of `voice` at `device_rate` into `sum`
// (interleaved left, right) and moves its cursor on; a voice that is not
// looping stops at its end.
void MixVoice(SoundVoice& voice, std::int32_t* sum, std::size_t frames, DWORD device_rate);

// Writes `frames` summed stereo frames as `format` (8-bit unsigned or
// 16-bit signed, mono or stereo), clipping at the sample range.
void WriteMixedFrames(const std::int32_t* sum, std::size_t frames, const VoiceFormat& format,
                      void* output);

}  // namespace wqplat
