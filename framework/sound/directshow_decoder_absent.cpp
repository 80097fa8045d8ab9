// The last-resort decoder converts through the media subsystem's filter
// graph. This machine has no filter graph component yet, so the conversion
// fails as it would on a system without it, and the load fails with the
// other decoders' refusal.
#include "sound/sound_decoder.h"

int SetupDirectShowDecoder(SoundDecoder*) { return -1; }
