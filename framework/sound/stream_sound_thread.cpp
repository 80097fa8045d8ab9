// The refill of every stream sound: from the message processing on a
// one-processor machine, else from the streaming thread every 30 ms.
#include "sound/sound_state.h"
#include "sound/sound_system.h"
#include "sound/stream_sound_ring.h"

void FeedAllSoftSoundPlayers();

namespace {

constexpr DWORD kStreamThreadPeriodMs = 30;

void RefillActiveStreamSounds() {
  SoundSystemState& sound = SoundSystem();
  for (ListNode* node = sound.streamHead.next; node != &sound.streamEnd; node = node->next) {
    const auto* record = static_cast<const SoundRecord*>(node->owner);
    if (record->active) RefillStreamSound(static_cast<int>(node->value));
  }
}

}  // namespace

int ProcessAllStreamSounds() {
  if (!SoundStarted()) return -1;
  SoundLockGuard lock;
  RefillActiveStreamSounds();
  return 0;
}

DWORD SoundStreamThread(LPVOID) {
  SoundSystemState& sound = SoundSystem();
  while (sound.threadStop != kThreadStopAsked) {
    {
      SoundLockGuard lock;
      if (sound.directSound != nullptr) {
        RefillActiveStreamSounds();
        FeedAllSoftSoundPlayers();
      }
    }
    Sleep(kStreamThreadPeriodMs);
  }
  sound.threadStop = kThreadStopped;
  return 0;
}
