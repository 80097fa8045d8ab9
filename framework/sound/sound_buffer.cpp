// SoundBuffer: one playable DirectSound buffer of a sound record.
#include "sound/sound_record.h"
#include "sound/sound_state.h"

int CreateSoundBuffer(SoundBuffer* buffer, const D_DSBUFFERDESC* description) {
  if (buffer->valid) return -1;
  if (SoundSystem().directSound->CreateSoundBuffer(description, &buffer->buffer, nullptr) != D_DS_OK)
    return -1;
  buffer->valid = 1;
  return 0;
}

int DuplicateSoundBuffer(SoundBuffer* buffer, const SoundBuffer* source) {
  if (buffer->valid || !source->valid) return -1;
  if (SoundSystem().directSound->DuplicateSoundBuffer(source->buffer, &buffer->buffer) != D_DS_OK) return -1;
  buffer->valid = 1;
  return 0;
}

int ReleaseSoundBuffer(SoundBuffer* buffer) {
  if (!buffer->valid) return -1;
  buffer->buffer->Release();
  buffer->buffer = nullptr;
  buffer->valid = 0;
  return 0;
}

int PlaySoundBuffer(SoundBuffer* buffer, int loop) {
  if (!buffer->valid) return -1;
  return buffer->buffer->Play(0, 0, loop ? D_DSBPLAY_LOOPING : 0) == D_DS_OK ? 0 : -1;
}

int StopSoundBuffer(SoundBuffer* buffer) {
  if (!buffer->valid) return -1;
  buffer->buffer->Stop();
  return 0;
}

int GetSoundBufferPlaying(SoundBuffer* buffer) {
  if (!buffer->valid) return -1;
  DWORD status = 0;
  if (buffer->buffer->GetStatus(&status) != D_DS_OK) return -1;
  return (status & D_DSBSTATUS_PLAYING) != 0 ? 1 : 0;
}

int GetSoundBufferCursor(SoundBuffer* buffer, DWORD* playCursor) {
  if (!buffer->valid) return -1;
  return buffer->buffer->GetCurrentPosition(playCursor, nullptr) == D_DS_OK ? 0 : -1;
}

int LockSoundBuffer(SoundBuffer* buffer, DWORD offset, DWORD bytes, void** region1, DWORD* bytes1,
                    void** region2, DWORD* bytes2) {
  if (!buffer->valid) return -1;
  return buffer->buffer->Lock(offset, bytes, region1, bytes1, region2, bytes2, 0) == D_DS_OK ? 0 : -1;
}

int UnlockSoundBuffer(SoundBuffer* buffer, void* region1, DWORD bytes1, void* region2, DWORD bytes2) {
  if (!buffer->valid) return -1;
  return buffer->buffer->Unlock(region1, bytes1, region2, bytes2) == D_DS_OK ? 0 : -1;
}

int SetSoundBufferVolume(SoundBuffer* buffer, LONG volume) {
  if (!buffer->valid) return -1;
  buffer->buffer->SetVolume(volume);
  return 0;
}

int SetSoundBufferPan(SoundBuffer* buffer, LONG pan) {
  if (!buffer->valid) return -1;
  buffer->buffer->SetPan(pan);
  return 0;
}

int SetSoundBufferFrequency(SoundBuffer* buffer, DWORD frequency) {
  if (!buffer->valid) return -1;
  buffer->buffer->SetFrequency(frequency);
  return 0;
}

int SetSoundBufferPosition(SoundBuffer* buffer, DWORD position) {
  if (!buffer->valid) return -1;
  buffer->buffer->SetCurrentPosition(position);
  return 0;
}
