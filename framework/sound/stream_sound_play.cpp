// Playing, stopping and following stream sounds.
#include <algorithm>

#include "WqLib.h"
#include "sound/sound_state.h"
#include "sound/stream_sound_ring.h"

int PlayStreamSoundHandle(int handle, int playType, int fromTop) {
  {
    SoundLockGuard lock;
    SoundRecord* record = FindSoundRecord(handle);
    if (record == nullptr || !record->stream) return -1;
    SoundBuffer* ring = nullptr;
    if (AcquireStreamSoundBuffer(handle, record, &ring, 1) != 0) return -1;
    if (!fromTop && GetSoundBufferPlaying(ring) == 1) return 0;
    StopStreamSound(handle);
    const bool loopChanged = (playType == kPlayLoop) != (record->playType == kPlayLoop);
    if ((loopChanged && record->lastSourceDone) || (fromTop == 1 && record->playedBytes != 0)) {
      ResetStreamPosition(record);
      record->lastSourceDone = 0;
    }
    if (fromTop == 1) record->lastSourceDone = 0;
    record->playType = playType;
    PrefillStreamSound(handle);
    ApplySoundSettings(record, ring);
    if (PlaySoundBuffer(ring, 1) != 0) return -1;
  }
  if (playType == kPlayAndWait) WaitWhileSoundPlays(handle);
  return 0;
}

int StopStreamSound(int handle) {
  SoundLockGuard lock;
  SoundRecord* record = FindSoundRecord(handle);
  if (record == nullptr || !record->stream) return -1;
  UpdateStreamSoundPosition(handle, -1);
  SoundBuffer* ring = nullptr;
  if (AcquireStreamSoundBuffer(handle, record, &ring, 0) != 0) return 0;
  if (record->owner != -1) FindSoundRecord(record->owner)->currentUser = -1;
  if (GetSoundBufferPlaying(ring) == 1) StopSoundBuffer(ring);
  return 0;
}

int CheckStreamSoundPlaying(int handle) {
  SoundLockGuard lock;
  SoundRecord* record = FindSoundRecord(handle);
  if (record == nullptr || !record->stream) return -1;
  SoundBuffer* ring = nullptr;
  if (AcquireStreamSoundBuffer(handle, record, &ring, 0) != 0) return 0;
  return GetSoundBufferPlaying(ring) == 1 ? 1 : 0;
}

int GetStreamSoundCurrentTime(int handle) {
  SoundLockGuard lock;
  SoundRecord* record = FindSoundRecord(handle);
  if (record == nullptr || !record->stream) return -1;
  UpdateStreamSoundPosition(handle, -1);
  const std::int64_t played =
      SamplesToMilliseconds(record->playedBytes / record->format.nBlockAlign, record->format.nSamplesPerSec);
  const std::int64_t total = SamplesToMilliseconds(record->totalSamples, record->format.nSamplesPerSec);
  return static_cast<int>(std::min(played, total));
}
