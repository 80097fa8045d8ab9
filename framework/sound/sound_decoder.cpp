// The decoder front: set-up tries each decoder in turn, then reads, seeks,
// sizes and closes whatever kind took the data.
#include <algorithm>
#include <cstdlib>

#include "WqLib.h"
#include "core/base/tracked_allocator.h"
#include "sound/sound_decoder.h"
#include "sound/sound_state.h"

namespace {

// The first block of a whole decode; it doubles as the data comes.
constexpr std::uint32_t kFirstDecodeBlock = 1u << 26;

// A seek this close to the position is not worth a decoder seek.
constexpr std::int64_t kSeekSlackBytes = 16;

struct DecoderTry {
  std::uint32_t skipBit;
  int (*setup)(SoundDecoder*);
  bool rewindAfterFailure;
};

// The last resort positions the stream itself, so nothing rewinds after
// the MP3 attempt.
constexpr DecoderTry kDecoderOrder[] = {
    {kSkipWavePcm, SetupWavePcmDecoder, true},        {kSkipWaveAcm, SetupWaveAcmDecoder, true},
    {kSkipOggVorbis, SetupOggVorbisDecoder, true},    {kSkipMp3, SetupMp3Decoder, false},
    {kSkipDirectShow, SetupDirectShowDecoder, false},
};

int RefillDecoder(SoundDecoder* decoder) {
  switch (decoder->kind) {
    case kDecoderWavePcm: return RefillWavePcmDecoder(decoder);
    case kDecoderAcm: return RefillAcmDecoder(decoder);
    case kDecoderOggVorbis: return RefillOggVorbisDecoder(decoder);
    default: return RefillPcmBlockDecoder(decoder);
  }
}

// Frees what the decoder's kind holds, leaving the read buffer.
void CloseDecoderKind(SoundDecoder* decoder) {
  switch (decoder->kind) {
    case kDecoderAcm: CloseAcmDecoder(decoder); break;
    case kDecoderOggVorbis:
      if (decoder->ogg.opened) ov_clear(&decoder->ogg.file);
      decoder->ogg.opened = 0;
      break;
    case kDecoderPcmBlock:
      TrackedFree(decoder->pcmBlock.block);
      decoder->pcmBlock.block = nullptr;
      break;
    default: break;
  }
}

}  // namespace

int SetupSoundDecoder(const StreamSource* source, SoundDecoder* decoder) {
  decoder->movieSound = MovieSoundFlag;
  decoder->source = *source;
  const StreamFunctionTable& stream = decoder->source.functions;
  stream.seek(decoder->source.handle, 0, SEEK_SET);
  const std::uint32_t skip = SoundSystem().decoderSkipMask;
  bool found = false;
  for (const DecoderTry& attempt : kDecoderOrder) {
    if (skip & attempt.skipBit) continue;
    if (attempt.setup(decoder) == 0) {
      found = true;
      break;
    }
    if (attempt.rewindAfterFailure) stream.seek(decoder->source.handle, 0, SEEK_SET);
  }
  if (!found) return -1;
  decoder->readBuffer =
      static_cast<BYTE*>(TrackedAlloc(std::max<std::uint32_t>(decoder->readUnit, 1), __FILE__, __LINE__));
  if (decoder->readBuffer == nullptr) {
    CloseDecoderKind(decoder);
    return -1;
  }
  decoder->bufferValid = 0;
  decoder->bufferConsumed = 0;
  decoder->position = 0;
  decoder->endReached = 0;
  decoder->valid = 1;
  return 0;
}

int ReadSoundDecoder(SoundDecoder* decoder, void* destination, std::uint32_t bytes) {
  if (!decoder->valid) return -1;
  if (decoder->endReached) return 0;
  auto* out = static_cast<BYTE*>(destination);
  std::uint32_t delivered = 0;
  while (delivered < bytes) {
    if (decoder->bufferValid == 0) {
      decoder->bufferConsumed = 0;
      if (RefillDecoder(decoder) != 0 || decoder->bufferValid == 0) {
        decoder->endReached = 1;
        break;
      }
    }
    const std::uint32_t take = std::min(bytes - delivered, decoder->bufferValid);
    const BYTE* from = decoder->readBuffer + decoder->bufferConsumed;
    std::copy(from, from + take, out + delivered);
    delivered += take;
    decoder->bufferValid -= take;
    decoder->bufferConsumed += take;
    decoder->position += take;
  }
  return static_cast<int>(delivered);
}

int SeekSoundDecoder(SoundDecoder* decoder, std::int32_t sample) {
  const std::int64_t target = std::int64_t{decoder->format.nBlockAlign} * sample;
  if (std::llabs(target - decoder->position) < kSeekSlackBytes) return 0;
  int result = 0;
  switch (decoder->kind) {
    case kDecoderWavePcm:
      decoder->source.functions.seek(decoder->source.handle, static_cast<LONG>(decoder->dataStart + target),
                                     SEEK_SET);
      decoder->bufferValid = 0;
      decoder->position = static_cast<std::uint32_t>(target);
      break;
    case kDecoderAcm: result = SeekAcmDecoder(decoder, sample); break;
    case kDecoderOggVorbis: result = SeekOggVorbisDecoder(decoder, sample); break;
    default:
      decoder->pcmBlock.readPosition = std::min(static_cast<std::uint32_t>(target), decoder->pcmBlock.bytes);
      decoder->bufferValid = 0;
      decoder->position = static_cast<std::uint32_t>(target);
      break;
  }
  decoder->endReached = 0;
  return result;
}

int CloseSoundDecoder(SoundDecoder* decoder) {
  if (!decoder->valid) return -1;
  TrackedFree(decoder->readBuffer);
  decoder->readBuffer = nullptr;
  CloseDecoderKind(decoder);
  decoder->valid = 0;
  return 0;
}

int GetSoundDecoderFormat(const SoundDecoder* decoder, WAVEFORMATEX* format) {
  *format = decoder->format;
  return 0;
}

std::uint32_t GetSoundDecoderPcmSize(SoundDecoder* decoder) {
  switch (decoder->kind) {
    case kDecoderWavePcm: return decoder->dataBytes;
    case kDecoderAcm: return GetAcmDecoderPcmSize(decoder);
    case kDecoderOggVorbis: return OggVorbisPcmBytes(decoder);
    default: return decoder->pcmBlock.bytes;
  }
}

int DecodeSoundToMemory(SoundDecoder* decoder, WAVEFORMATEX* format, void** block, std::uint32_t* bytes) {
  const std::uint32_t size = GetSoundDecoderPcmSize(decoder);
  SeekSoundDecoder(decoder, 0);
  // The size a file claims is only believed as far as its data reaches:
  // the block grows as the data comes.
  std::uint32_t capacity = std::min(std::max<std::uint32_t>(size, 1), kFirstDecodeBlock);
  auto* pcm = static_cast<BYTE*>(TrackedAlloc(capacity, __FILE__, __LINE__));
  if (pcm == nullptr) return -1;
  std::uint32_t delivered = 0;
  while (delivered < size) {
    if (delivered == capacity) {
      const std::uint32_t grown = size - capacity > capacity ? 2 * capacity : size;
      auto* larger = static_cast<BYTE*>(TrackedRealloc(pcm, grown, __FILE__, __LINE__));
      if (larger == nullptr) {
        TrackedFree(pcm);
        return -1;
      }
      pcm = larger;
      capacity = grown;
    }
    std::int64_t read = 0;
    if (decoder->kind == kDecoderWavePcm) {
      read = decoder->source.functions.read(pcm + delivered, 1, capacity - delivered, decoder->source.handle);
    } else {
      read = ReadSoundDecoder(decoder, pcm + delivered, capacity - delivered);
    }
    if (read <= 0) break;
    delivered += static_cast<std::uint32_t>(read);
  }
  // Whole blocks only: a file cut inside a block ends at the block before.
  if (decoder->format.nBlockAlign != 0) delivered -= delivered % decoder->format.nBlockAlign;
  *format = decoder->format;
  *block = pcm;
  *bytes = delivered;
  return 0;
}

int CreateTempWaveImage(void** image, std::uint32_t* size, const WAVEFORMATEX* format,
                        std::uint32_t formatSize, const void* pcm, std::uint32_t pcmBytes) {
  const std::uint32_t total = formatSize + pcmBytes + 28;
  auto* bytes = static_cast<BYTE*>(TrackedAllocZero(total, __FILE__, __LINE__));
  if (bytes == nullptr) return LogWrite("仮WAVEファイルイメージ用のメモリ確保に失敗しました\n");
  auto put32 = [](BYTE* at, std::uint32_t value) {
    std::copy_n(reinterpret_cast<const BYTE*>(&value), 4, at);
  };
  std::copy_n("RIFF", 4, bytes);
  put32(bytes + 4, total - 8);
  std::copy_n("WAVEfmt ", 8, bytes + 8);
  put32(bytes + 16, formatSize);
  std::copy_n(reinterpret_cast<const BYTE*>(format),
              std::min<std::uint32_t>(formatSize, sizeof(WAVEFORMATEX)), bytes + 20);
  BYTE* data = bytes + 20 + formatSize;
  std::copy_n("data", 4, data);
  put32(data + 4, pcmBytes);
  const auto* samples = static_cast<const BYTE*>(pcm);
  std::copy(samples, samples + pcmBytes, data + 8);
  *image = bytes;
  *size = total;
  return 0;
}

int ReadWholeStream(const StreamSource* source, void** block, std::uint32_t* bytes) {
  const StreamFunctionTable& stream = source->functions;
  stream.seek(source->handle, 0, SEEK_END);
  const LONG size = stream.tell(source->handle);
  stream.seek(source->handle, 0, SEEK_SET);
  void* data = size > 0 ? TrackedAlloc(static_cast<std::size_t>(size), __FILE__, __LINE__) : nullptr;
  if (data == nullptr) return LogWrite("ストリームの読み込みに必要なメモリの確保に失敗しました");
  stream.read(data, static_cast<std::size_t>(size), 1, source->handle);
  *block = data;
  *bytes = static_cast<std::uint32_t>(size);
  return 0;
}
