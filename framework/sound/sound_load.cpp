// Loading sound files and file images into sound handles: decoded whole
// into buffers when short enough, else made stream sounds.
#include <algorithm>

#include "WqLib.h"
#include "core/base/tracked_allocator.h"
#include "core/files/file_access_table.h"
#include "core/files/stream_memory.h"
#include "sound/sound_record.h"
#include "sound/sound_state.h"

namespace {

// Copies the PCM into every buffer of the record.
int FillPcmBuffers(SoundRecord* record) {
  for (int i = 0; i < record->bufferCount; ++i) {
    void* region1 = nullptr;
    void* region2 = nullptr;
    DWORD bytes1 = 0;
    DWORD bytes2 = 0;
    if (LockSoundBuffer(&record->buffers[i], 0, record->pcmBytes, &region1, &bytes1, &region2, &bytes2) != 0)
      return LogWrite("サウンドデータの転送に失敗しました_1");
    const auto* pcm = static_cast<const BYTE*>(record->pcm);
    std::copy(pcm, pcm + bytes1, static_cast<BYTE*>(region1));
    if (region2 != nullptr) std::copy(pcm + bytes1, pcm + bytes1 + bytes2, static_cast<BYTE*>(region2));
    if (UnlockSoundBuffer(&record->buffers[i], region1, bytes1, region2, bytes2) != 0)
      return LogWrite("サウンドデータの転送に失敗しました_2");
  }
  return 0;
}

// Decodes the image whole; the decoder and memory stream are closed again.
int DecodeImage(const void* image, std::uint32_t size, WAVEFORMATEX* format, void** pcm,
                std::uint32_t* pcmBytes) {
  const StreamHandle memory = OpenMemoryStream(image, static_cast<LONG>(size));
  if (memory == 0) return -1;
  StreamSource source{*GetMemoryStreamFunctions(), memory};
  SoundDecoder decoder{};
  int result = 0;
  if (SetupSoundDecoder(&source, &decoder) != 0) {
    result = LogWrite("音声ファイルのＰＣＭへの変換に失敗しました");
  } else {
    if (DecodeSoundToMemory(&decoder, format, pcm, pcmBytes) != 0)
      result = LogWrite("音声ファイルを格納するメモリ領域の確保に失敗しました");
    CloseSoundDecoder(&decoder);
  }
  CloseMemoryStream(memory);
  return result;
}

// Holds the PCM in the record's buffers; -1 leaves the PCM with the caller.
int KeepPcmInBuffers(int handle, const WAVEFORMATEX& format, void* pcm, std::uint32_t pcmBytes, int count) {
  if (format.nAvgBytesPerSec == 0 || pcmBytes / format.nAvgBytesPerSec > kLongestBufferedSeconds) return -1;
  if (CreateSoundHandleBuffers(-1, &format, pcmBytes, 0, count, handle) != 0) return -1;
  SoundRecord* record = FindSoundRecord(handle);
  record->frequency = static_cast<std::int32_t>(format.nSamplesPerSec);
  record->pcmReferences = static_cast<std::int32_t*>(TrackedAlloc(sizeof(std::int32_t), __FILE__, __LINE__));
  if (record->pcmReferences == nullptr)
    return LogWrite("サウンドデータの参照数を保存するメモリ領域の確保に失敗しました");
  *record->pcmReferences = 1;
  record->format = format;
  record->pcmBytes = pcmBytes;
  record->pcm = pcm;
  return 0;
}

}  // namespace

int LoadFileImage(const char* name, void** image, std::uint32_t* size) {
  const FileHandle file = FileAccessOpen(name, 0, 1, 0);
  if (file == 0) return LogWriteFormat("右記のファイルのオープンに失敗しました：%s", name);
  FileAccessSeek(file, 0, SEEK_END);
  const LONG bytes = FileAccessTell(file);
  FileAccessSeek(file, 0, SEEK_SET);
  void* block = bytes > 0 ? TrackedAlloc(static_cast<std::size_t>(bytes), __FILE__, __LINE__) : nullptr;
  if (block == nullptr) {
    FileAccessClose(file);
    return LogWriteFormat("右記のファイルのロードに必要なメモリの確保に失敗しました：%s", name);
  }
  FileAccessRead(block, static_cast<std::size_t>(bytes), 1, file);
  FileAccessClose(file);
  *image = block;
  *size = static_cast<std::uint32_t>(bytes);
  return 0;
}

int LoadSoundFromMemory(const void* image, int size, int count, int shareHandle) {
  if (!SoundStarted() || count > kMaxSoundBuffers || image == nullptr || size <= 0) return -1;
  SoundSystemState& sound = SoundSystem();
  SoundLockGuard lock;
  const int handle = AddSoundData(-1);
  if (handle == -1) return -1;
  const auto bytes = static_cast<std::uint32_t>(size);
  const int savedMode = sound.createMode;
  if (savedMode == 0) {
    WAVEFORMATEX format{};
    void* pcm = nullptr;
    std::uint32_t pcmBytes = 0;
    if (DecodeImage(image, bytes, &format, &pcm, &pcmBytes) != 0) {
      DeleteSoundHandleRecord(handle);
      return -1;
    }
    if (KeepPcmInBuffers(handle, format, pcm, pcmBytes, count) == 0) {
      if (FillPcmBuffers(FindSoundRecord(handle)) != 0) {
        DeleteSoundHandleRecord(handle);
        return -1;
      }
      return handle;
    }
    // Too long for buffers, or none could be made: it streams instead.
    TrackedFree(pcm);
    SoundRecord* record = FindSoundRecord(handle);
    for (SoundBuffer& buffer : record->buffers) {
      if (buffer.valid) ReleaseSoundBuffer(&buffer);
    }
    TrackedFree(record->pcmReferences);
    record->pcmReferences = nullptr;
    record->pcm = nullptr;
    record->bufferCount = 0;
    sound.createMode = kSourceFileImage;
  }
  const int added = AddStreamSoundMemory(image, bytes, 0, handle, sound.createMode, shareHandle);
  sound.createMode = savedMode;
  if (added != 0 || PrefillStreamSound(handle) != 0) {
    DeleteSoundHandleRecord(handle);
    return -1;
  }
  return handle;
}

int LoadSound(const char* name, int count, int shareHandle) {
  if (!SoundStarted() || name == nullptr) return -1;
  SoundSystemState& sound = SoundSystem();
  SoundLockGuard lock;
  if (sound.createMode != 0) {
    const int handle = AddSoundData(-1);
    if (handle == -1) return -1;
    if (AddStreamSoundFile(name, 0, handle, sound.createMode, shareHandle) != 0 ||
        PrefillStreamSound(handle) != 0) {
      DeleteSoundHandleRecord(handle);
      return -1;
    }
    return handle;
  }
  void* image = nullptr;
  std::uint32_t size = 0;
  if (LoadFileImage(name, &image, &size) != 0)
    return LogWriteFormat("右記の音声ファイルのロードに失敗しました_1：%s", name);
  const int handle =
      LoadSoundFromMemory(image, static_cast<int>(size), std::min(count, kMaxSoundBuffers), -1);
  TrackedFree(image);
  if (handle == -1) return LogWriteFormat("右記の音声ファイルのロードに失敗しました_2：%s", name);
  return handle;
}
