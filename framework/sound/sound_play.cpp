// Playing, stopping and querying sound handles. Stream sounds go to their
// own functions; a PCM sound plays its next buffer so plays overlap.
#include "WqLib.h"
#include "core/window/message_pump.h"
#include "sound/sound_record.h"
#include "sound/sound_state.h"

namespace {

// 0 prepared, 1 left playing (nothing to do), -1 failure.
int PrepareSoundBufferForPlay(SoundRecord* record, int fromTop) {
  if (record->bufferCount < 1) return -1;
  DWORD cursor = 0;
  GetSoundBufferCursor(&record->buffers[record->nextBuffer], &cursor);
  record->nextBuffer = (record->nextBuffer + 1) % record->bufferCount;
  SoundBuffer* buffer = &record->buffers[record->nextBuffer];
  const int playing = GetSoundBufferPlaying(buffer);
  if (playing < 0) return -1;
  if (playing == 1) {
    if (!fromTop) return 1;
    StopSoundBuffer(buffer);
  }
  SetSoundBufferPosition(buffer, fromTop == 1 ? 0 : cursor);
  ApplySoundSettings(record, buffer);
  return 0;
}

SoundRecord* StartedRecord(int handle) { return SoundStarted() ? FindSoundRecord(handle) : nullptr; }

}  // namespace

void ApplySoundSettings(SoundRecord* record, SoundBuffer* buffer) {
  auto take = [](std::uint8_t* pendingSet, std::int32_t pending, std::int32_t current) {
    if (!*pendingSet) return current;
    *pendingSet = 0;
    return pending;
  };
  SetSoundBufferVolume(buffer, take(&record->pendingVolumeSet, record->pendingVolume, record->volume));
  SetSoundBufferPan(buffer, take(&record->pendingPanSet, record->pendingPan, record->pan));
  SetSoundBufferFrequency(buffer, static_cast<DWORD>(take(&record->pendingFrequencySet,
                                                          record->pendingFrequency, record->frequency)));
}

void WaitWhileSoundPlays(int handle) {
  while (ProcessWindowMessages() == 0 && CheckSoundHandlePlaying(handle) == 1) Sleep(1);
}

std::int64_t SamplesToMilliseconds(std::int64_t samples, std::int64_t rate) {
  return rate == 0 ? 0 : samples * 1000 / rate;
}

int PlaySoundHandle(int handle, int playType, int fromTop) {
  SoundRecord* record = StartedRecord(handle);
  if (record == nullptr) return -1;
  if (record->stream) return PlayStreamSoundHandle(handle, playType, fromTop);
  const int prepared = PrepareSoundBufferForPlay(record, fromTop);
  if (prepared == 1) return 0;
  if (prepared != 0) return -1;
  if (PlaySoundBuffer(&record->buffers[record->nextBuffer], playType == kPlayLoop) != 0) return -1;
  if (playType == kPlayAndWait) WaitWhileSoundPlays(handle);
  return 0;
}

int StopSoundHandle(int handle) {
  SoundRecord* record = StartedRecord(handle);
  if (record == nullptr) return -1;
  if (record->stream) return StopStreamSound(handle);
  for (int i = 0; i < record->bufferCount; ++i) {
    const int playing = GetSoundBufferPlaying(&record->buffers[i]);
    if (playing < 0) return -1;
    if (playing == 1) StopSoundBuffer(&record->buffers[i]);
  }
  return 0;
}

int CheckSoundHandlePlaying(int handle) {
  SoundRecord* record = StartedRecord(handle);
  if (record == nullptr) return -1;
  if (record->stream) return CheckStreamSoundPlaying(handle);
  for (int i = 0; i < record->bufferCount; ++i) {
    if (GetSoundBufferPlaying(&record->buffers[i]) == 1) return 1;
  }
  return 0;
}

int GetSoundCurrentTime(int handle) {
  SoundRecord* record = StartedRecord(handle);
  if (record == nullptr) return -1;
  if (record->stream) return GetStreamSoundCurrentTime(handle);
  DWORD cursor = 0;
  if (record->bufferCount < 1 || GetSoundBufferCursor(&record->buffers[record->nextBuffer], &cursor) != 0)
    return 0;
  return static_cast<int>(
      SamplesToMilliseconds(cursor / record->format.nBlockAlign, record->format.nSamplesPerSec));
}

int GetSoundTotalSamples(int handle) {
  SoundRecord* record = StartedRecord(handle);
  if (record == nullptr) return -1;
  if (record->stream) return record->totalSamples;
  return record->format.nBlockAlign == 0 ? 0
                                         : static_cast<int>(record->pcmBytes / record->format.nBlockAlign);
}

int GetSoundTotalTime(int handle) {
  const int samples = GetSoundTotalSamples(handle);
  if (samples < 0) return -1;
  return static_cast<int>(SamplesToMilliseconds(samples, FindSoundRecord(handle)->format.nSamplesPerSec));
}
