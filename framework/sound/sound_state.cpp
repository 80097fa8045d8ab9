// The sound-wide state, the sound lock and the load settings the movie
// code saves and restores.
#include "sound/sound_state.h"

#include "WqLib.h"

int MovieSoundFlag = 0;

SoundSystemState& SoundSystem() {
  static SoundSystemState state{};
  return state;
}

SoundLockGuard::SoundLockGuard() : held_(SoundSystem().lockCreated != 0) {
  if (held_) EnterCriticalSection(&SoundSystem().lock);
}

SoundLockGuard::~SoundLockGuard() {
  if (held_) LeaveCriticalSection(&SoundSystem().lock);
}

int SetSoundCreateMode(int mode) {
  if (mode < 0 || mode > 3) return -1;
  SoundSystem().createMode = mode == 1 ? 0 : mode;
  return 0;
}

int GetSoundCreateMode() { return SoundSystem().createMode; }

int SetSoundDecoderMask(int mask) {
  SoundSystem().decoderSkipMask = static_cast<std::uint32_t>(mask);
  return 0;
}

int GetSoundDecoderMask() { return static_cast<int>(SoundSystem().decoderSkipMask); }
