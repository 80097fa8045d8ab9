// Ogg Vorbis through vorbisfile, reading through the decoder's stream.
#include <algorithm>

#include "sound/sound_decoder.h"
#include "sound/sound_state.h"

namespace {

constexpr std::uint32_t kOggReadUnit = 4096;

const StreamSource* SourceOf(void* data) { return static_cast<const StreamSource*>(data); }

size_t ReadCallback(void* destination, size_t size, size_t count, void* data) {
  if (data == nullptr) return static_cast<size_t>(-1);
  const std::int64_t read = SourceOf(data)->functions.read(destination, size, count, SourceOf(data)->handle);
  return read < 0 ? 0 : static_cast<size_t>(read);
}

int SeekCallback(void* data, ogg_int64_t offset, int whence) {
  if (data == nullptr) return -1;
  return SourceOf(data)->functions.seek(SourceOf(data)->handle, static_cast<LONG>(offset), whence);
}

int CloseCallback(void*) { return 0; }

long TellCallback(void* data) {
  if (data == nullptr) return -1;
  return SourceOf(data)->functions.tell(SourceOf(data)->handle);
}

constexpr ov_callbacks kStreamCallbacks = {ReadCallback, SeekCallback, CloseCallback, TellCallback};

}  // namespace

int SetupOggVorbisDecoder(SoundDecoder* decoder) {
  OggDecoderState& ogg = decoder->ogg;
  ogg.opened = 0;
  if (ov_open_callbacks(&decoder->source, &ogg.file, nullptr, 0, kStreamCallbacks) != 0) return -1;
  ogg.opened = 1;
  const vorbis_info* info = ov_info(&ogg.file, -1);
  const ogg_int64_t samples = ov_pcm_total(&ogg.file, -1);
  if (info == nullptr || info->channels < 1 || info->rate < 1 || samples < 0) {
    ov_clear(&ogg.file);
    ogg.opened = 0;
    return -1;
  }
  const auto width = static_cast<std::uint32_t>(SoundSystem().oggSampleWidth);
  ogg.sampleWidth = width;
  decoder->format = WAVEFORMATEX{};
  decoder->format.wFormatTag = WAVE_FORMAT_PCM;
  decoder->format.nChannels = static_cast<WORD>(info->channels);
  decoder->format.nSamplesPerSec = static_cast<DWORD>(info->rate);
  decoder->format.nBlockAlign = static_cast<WORD>(info->channels * width);
  decoder->format.nAvgBytesPerSec = decoder->format.nBlockAlign * decoder->format.nSamplesPerSec;
  decoder->format.wBitsPerSample = static_cast<WORD>(8 * width);
  decoder->readUnit = kOggReadUnit;
  decoder->kind = kDecoderOggVorbis;
  decoder->dataBytes = OggVorbisPcmBytes(decoder);
  return 0;
}

std::uint32_t OggVorbisPcmBytes(SoundDecoder* decoder) {
  const ogg_int64_t samples = ov_pcm_total(&decoder->ogg.file, -1);
  if (samples <= 0) return 0;
  // A damaged stream's last granule position can claim any length.
  const std::uint64_t most = 0xFFFFFFFFu / decoder->format.nBlockAlign;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(samples), most) *
                                    decoder->format.nBlockAlign);
}

int RefillOggVorbisDecoder(SoundDecoder* decoder) {
  OggDecoderState& ogg = decoder->ogg;
  int section = 0;
  const long read =
      ov_read(&ogg.file, reinterpret_cast<char*>(decoder->readBuffer), static_cast<int>(decoder->readUnit), 0,
              static_cast<int>(ogg.sampleWidth), ogg.sampleWidth != 1, &section);
  if (read <= 0) return -1;
  decoder->bufferValid = static_cast<std::uint32_t>(read);
  return 0;
}

int SeekOggVorbisDecoder(SoundDecoder* decoder, std::int32_t sample) {
  const int result = ov_pcm_seek(&decoder->ogg.file, sample);
  decoder->bufferValid = 0;
  decoder->bufferConsumed = 0;
  decoder->position = decoder->format.nBlockAlign * static_cast<std::uint32_t>(sample);
  return result;
}
