// Who plays a stream sound's ring buffer, and where in the sound its play
// cursor stands.
#include "sound/sound_state.h"
#include "sound/stream_sound_ring.h"

int AcquireStreamSoundBuffer(int handle, SoundRecord* record, SoundBuffer** buffer, int force) {
  if (!record->stream) {
    *buffer = &record->buffers[0];
    return 0;
  }
  SoundRecord* holder = record;
  if (record->owner != -1) {
    holder = FindSoundRecord(record->owner);
    if (holder == nullptr) return -1;
  }
  *buffer = &holder->buffers[0];
  if (holder->currentUser == -1) {
    holder->currentUser = handle;
  } else if (holder->currentUser != handle) {
    if (!force) return -1;
    StopStreamSound(holder->currentUser);
    holder->currentUser = handle;
  }
  return 0;
}

int UpdateStreamSoundPosition(int handle, std::int64_t cursor) {
  SoundLockGuard lock;
  SoundRecord* record = FindSoundRecord(handle);
  if (record == nullptr || !record->stream) return -1;
  SoundBuffer* ring = nullptr;
  if (AcquireStreamSoundBuffer(handle, record, &ring, 0) != 0) return -1;
  if (!record->active) return 0;
  DWORD now = static_cast<DWORD>(cursor);
  if (cursor == -1 && GetSoundBufferCursor(ring, &now) != 0) return -1;
  const std::uint32_t last = record->lastPlayCursor;
  if (now == last) return 0;
  if (record->restartPending && CursorPassed(last, now, record->restartMark)) {
    record->playedBytes = record->restartBase + static_cast<std::int32_t>(RingDistance(
                                                    record->restartMark, now, record->ringBytes));
    record->restartPending = 0;
  } else {
    record->playedBytes += static_cast<std::int32_t>(RingDistance(last, now, record->ringBytes));
  }
  record->lastPlayCursor = now;
  return 0;
}
