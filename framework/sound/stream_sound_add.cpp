// Adding sources to stream sounds: from a file, a file image, or a stream;
// a stream sound's ring buffer is its own or another's of the same format.
#include <cstring>

#include "WqLib.h"
#include "core/base/tracked_allocator.h"
#include "core/files/file_access_table.h"
#include "core/files/stream_memory.h"
#include "sound/sound_record.h"
#include "sound/sound_state.h"

namespace {

// Formats a ring buffer can play: 8- or 16-bit PCM of one or two
// channels, whose byte rate (the ring's size and pace) is the true one.
bool RingPlayable(const WAVEFORMATEX& format) {
  return format.wFormatTag == WAVE_FORMAT_PCM && (format.nChannels == 1 || format.nChannels == 2) &&
         (format.wBitsPerSample == 8 || format.wBitsPerSample == 16) &&
         format.nAvgBytesPerSec == std::uint32_t{format.nBlockAlign} * format.nSamplesPerSec;
}

StreamSource MemoryStreamSource(const void* data, std::uint32_t bytes) {
  return StreamSource{*GetMemoryStreamFunctions(), OpenMemoryStream(data, static_cast<LONG>(bytes))};
}

// Undoes a source that was being added.
void DropSource(StreamSoundSource* source) {
  if (source->decoder.valid) CloseSoundDecoder(&source->decoder);
  if (source->stream.handle != 0) CloseMemoryStream(source->stream.handle);
  TrackedFree(source->data);
  *source = StreamSoundSource{};
}

// Decodes the caller's stream whole into a wave image the source streams.
int PrepareDecodedWaveSource(const StreamSource* caller, StreamSoundSource* source) {
  void* whole = nullptr;
  std::uint32_t wholeBytes = 0;
  if (ReadWholeStream(caller, &whole, &wholeBytes) != 0)
    return LogWrite("音声データの読み込みに失敗しました");
  StreamSource memory = MemoryStreamSource(whole, wholeBytes);
  SoundDecoder decoder{};
  WAVEFORMATEX format{};
  void* pcm = nullptr;
  std::uint32_t pcmBytes = 0;
  int result = -1;
  if (memory.handle != 0 && SetupSoundDecoder(&memory, &decoder) == 0) {
    result = DecodeSoundToMemory(&decoder, &format, &pcm, &pcmBytes);
    CloseSoundDecoder(&decoder);
  }
  if (memory.handle != 0) CloseMemoryStream(memory.handle);
  TrackedFree(whole);
  if (result != 0) return LogWrite("音声データの変換に失敗しました");
  std::uint32_t imageBytes = 0;
  result = CreateTempWaveImage(&source->data, &imageBytes, &format, sizeof(WAVEFORMATEX), pcm, pcmBytes);
  TrackedFree(pcm);
  if (result != 0) return -1;
  source->dataBytes = imageBytes;
  source->stream = MemoryStreamSource(source->data, imageBytes);
  if (source->stream.handle == 0 || SetupSoundDecoder(&source->stream, &source->decoder) != 0)
    return LogWrite("音声データの変換に失敗しました");
  return 0;
}

int PrepareFileImageSource(const StreamSource* caller, StreamSoundSource* source) {
  if (ReadWholeStream(caller, &source->data, &source->dataBytes) != 0)
    return LogWrite("音声データのオープンに失敗しました");
  source->stream = MemoryStreamSource(source->data, source->dataBytes);
  if (source->stream.handle == 0 || SetupSoundDecoder(&source->stream, &source->decoder) != 0)
    return LogWrite("音声データのオープンに失敗しました");
  return 0;
}

// The first source decides the format and where the ring buffer comes from.
int TakeRingBuffer(SoundRecord* record, int handle, int shareHandle) {
  const WAVEFORMATEX& format = record->format;
  SoundRecord* share = FindSoundRecord(shareHandle);
  record->ringBytes = StreamRingBytes(format);
  if (share != nullptr && share->stream && share->owner == -1 &&
      std::memcmp(&share->format, &format, sizeof format) == 0) {
    record->stream = 1;
    record->bufferCount = 1;
    AppendListNode(SoundSystem().streamEnd.prev, &record->streamNode, static_cast<std::uint32_t>(handle),
                   record);
    record->owner = shareHandle;
    ++share->shareCount;
  } else {
    if (CreateSoundHandleBuffers(-1, &format, 0, 1, 1, handle) != 0) return -1;
    record->owner = -1;
    record->frequency = static_cast<std::int32_t>(format.nSamplesPerSec);
  }
  record->shareCount = 0;
  record->currentUser = -1;
  record->deletePending = 0;
  return 0;
}

int AddSreamSound(const StreamSource* caller, int repeat, int handle, int type, int* copied,
                  int shareHandle) {
  SoundLockGuard lock;
  SoundRecord* record = FindSoundRecord(handle);
  if (record == nullptr) return -1;
  if (record->sourceCount > 0) {
    if (!record->stream)
      return LogWrite("ストリーム風サウンドではないサウンドデータが渡されました in AddSreamSound\n");
    SoundBuffer* ring = nullptr;
    if (AcquireStreamSoundBuffer(handle, record, &ring, 0) == 0 && GetSoundBufferPlaying(ring) == 1)
      return LogWrite("既に再生中のストリームサウンドデータにデータを追加しようとしました\n");
    if (record->sourceCount >= kMaxStreamSources)
      return LogWrite("ストリーム風サウンドの制御データ領域がいっぱいです\n");
  }
  StreamSoundSource* source = &record->sources[record->sourceCount];
  *source = StreamSoundSource{};
  source->type = type;
  source->loopEndSample = -1;
  caller->functions.seek(caller->handle, 0, SEEK_SET);
  int prepared = -1;
  if (type == kSourceDecodedWave) {
    prepared = PrepareDecodedWaveSource(caller, source);
    *copied = 1;
  } else if (type == kSourceFileImage) {
    prepared = PrepareFileImageSource(caller, source);
    *copied = 1;
  } else {
    prepared =
        SetupSoundDecoder(caller, &source->decoder) == 0 ? 0 : LogWrite("音声データのオープンに失敗しました");
    *copied = 0;
  }
  if (prepared != 0) {
    DropSource(source);
    return -1;
  }
  const WAVEFORMATEX& format = source->decoder.format;
  if (record->sourceCount > 0) {
    if (std::memcmp(&format, &record->format, sizeof format) != 0) {
      DropSource(source);
      return LogWrite("フォーマットの違う音声データは同時に使うことは出来ません");
    }
  } else {
    if (!RingPlayable(format)) {
      DropSource(source);
      return LogWrite("再生できないフォーマットの音声データです\n");
    }
    record->format = format;
    if (TakeRingBuffer(record, handle, shareHandle) != 0) {
      DropSource(source);
      return -1;
    }
  }
  source->repeatCount = static_cast<std::uint8_t>(repeat);
  ++record->sourceCount;
  std::int64_t samples = 0;
  for (int i = 0; i < record->sourceCount; ++i)
    samples += GetSoundDecoderPcmSize(&record->sources[i].decoder) / record->format.nBlockAlign;
  record->totalSamples = static_cast<std::int32_t>(samples);
  return 0;
}

}  // namespace

int AddStreamSoundFile(const char* name, int repeat, int handle, int type, int shareHandle) {
  SoundLockGuard lock;
  const FileHandle file = FileAccessOpen(name, 0, 1, 0);
  if (file == 0) return LogWriteFormat("右記のＷＡＶファイルのロードに失敗しました：%s \n", name);
  const StreamSource source{*GetFileStreamFunctions(), file};
  int copied = 0;
  if (AddSreamSound(&source, repeat, handle, type, &copied, shareHandle) != 0) {
    FileAccessClose(file);
    return LogWriteFormat("右記のＷＡＶファイルのセットアップに失敗しました：%s \n", name);
  }
  if (copied) FileAccessClose(file);
  SoundRecord* record = FindSoundRecord(handle);
  record->sourceOwned[record->sourceCount - 1] = 1;
  return 0;
}

int AddStreamSoundMemory(const void* image, std::uint32_t size, int repeat, int handle, int type,
                         int shareHandle) {
  SoundLockGuard lock;
  if (type == kSourceCallerStream) type = kSourceFileImage;
  const StreamSource source = MemoryStreamSource(image, size);
  if (source.handle == 0)
    return LogWrite("ＷＡＶファイルのストリームイメージハンドルの作成に失敗しました \n");
  int copied = 0;
  if (AddSreamSound(&source, repeat, handle, type, &copied, shareHandle) != 0) {
    CloseMemoryStream(source.handle);
    return LogWrite("ＷＡＶファイルのストリームイメージのセットアップに失敗しました \n");
  }
  if (copied) CloseMemoryStream(source.handle);
  SoundRecord* record = FindSoundRecord(handle);
  record->sourceOwned[record->sourceCount - 1] = 1;
  return 0;
}

void ReleaseStreamSoundRecord(SoundRecord* record) {
  if (record->streamNode.prev != nullptr) RemoveListNode(&record->streamNode);
  for (int i = 0; i < record->sourceCount; ++i) {
    StreamSoundSource& source = record->sources[i];
    const StreamSource decoded = source.decoder.source;
    CloseSoundDecoder(&source.decoder);
    TrackedFree(source.data);
    source.data = nullptr;
    if (source.type == kSourceCallerStream && record->sourceOwned[i]) decoded.functions.close(decoded.handle);
    if (source.stream.handle != 0) CloseMemoryStream(source.stream.handle);
  }
  if (record->buffers[0].valid) ReleaseSoundBuffer(&record->buffers[0]);
}
