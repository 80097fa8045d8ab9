// Making a sound record's DirectSound buffers: the PCM buffer with its
// duplicates for overlapping plays, or a stream sound's one-second ring.
#include "WqLib.h"
#include "core/startup/library_startup.h"
#include "sound/sound_record.h"
#include "sound/sound_state.h"

namespace {

constexpr DWORD kStreamBufferFlags = D_DSBCAPS_STATIC | D_DSBCAPS_CTRLFREQUENCY | D_DSBCAPS_CTRLPAN |
                                     D_DSBCAPS_CTRLVOLUME | D_DSBCAPS_GLOBALFOCUS |
                                     D_DSBCAPS_GETCURRENTPOSITION2;
constexpr DWORD kPcmBufferFlags = D_DSBCAPS_STATIC | D_DSBCAPS_CTRLFREQUENCY | D_DSBCAPS_CTRLPAN |
                                  D_DSBCAPS_CTRLVOLUME | D_DSBCAPS_GLOBALFOCUS;
constexpr DWORD kPlainBufferFlags = D_DSBCAPS_STATIC | D_DSBCAPS_CTRLPAN | D_DSBCAPS_CTRLVOLUME;

int CreateWithFlags(SoundBuffer* buffer, const WAVEFORMATEX* format, std::uint32_t bytes, DWORD flags) {
  WAVEFORMATEX copy = *format;
  D_DSBUFFERDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = flags;
  description.dwBufferBytes = bytes;
  description.lpwfxFormat = &copy;
  return CreateSoundBuffer(buffer, &description);
}

// Created with every control, else once more without the frequency control.
int CreatePcmBuffer(SoundBuffer* buffer, const WAVEFORMATEX* format, std::uint32_t bytes) {
  if (CreateWithFlags(buffer, format, bytes, kPcmBufferFlags) == 0) return 0;
  return CreateWithFlags(buffer, format, bytes, kPlainBufferFlags);
}

}  // namespace

std::uint32_t StreamRingBytes(const WAVEFORMATEX& format) {
  const std::uint32_t second = format.nAvgBytesPerSec & 0xFFFFFF;
  const std::uint32_t block = format.nBlockAlign;
  return (second + block - 1) / block * block;
}

int CreateSoundHandleBuffers(int sourceHandle, const WAVEFORMATEX* format, std::uint32_t bytes, int stream,
                             int count, int handle) {
  SoundRecord* record = FindSoundRecord(handle);
  if (record == nullptr) return -1;
  SoundRecord* source = nullptr;
  if (sourceHandle != -1) {
    source = FindSoundRecord(sourceHandle);
    if (source == nullptr || stream) return -1;
    bytes = source->pcmBytes;
    format = &source->format;
  }
  if (stream) {
    if (CreateWithFlags(&record->buffers[0], format, StreamRingBytes(*format), kStreamBufferFlags) != 0)
      FatalErrorFormat("ストリーム風サウンドバッファの作成に失敗しました");
    record->bufferCount = 1;
  } else {
    SoundRecord* original = source != nullptr ? source : record;
    int made = 0;
    for (; made < count; ++made) {
      SoundBuffer* buffer = &record->buffers[made];
      if (made == 0 && source == nullptr) {
        if (CreatePcmBuffer(buffer, format, bytes) != 0) {
          return LogWrite("DirectSoundBuffer の作成に失敗しました\n");
        }
      } else if (DuplicateSoundBuffer(buffer, &original->buffers[0]) != 0) {
        if (made != 0) break;
        if (CreatePcmBuffer(buffer, format, bytes) != 0) {
          return LogWrite("DirectSoundBuffer の作成に失敗しました\n");
        }
      }
      record->bufferFlags[made] = 0;
    }
    record->bufferCount = count < 1 ? count : made;
  }
  record->stream = stream;
  if (stream) {
    AppendListNode(SoundSystem().streamEnd.prev, &record->streamNode, static_cast<std::uint32_t>(handle),
                   record);
  }
  return 0;
}
