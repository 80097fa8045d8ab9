// Plain PCM WAVE: the data chunk is the PCM, read straight from the stream.
#include <algorithm>

#include "sound/sound_decoder.h"
#include "sound/wave_chunks.h"

int SetupWavePcmDecoder(SoundDecoder* decoder) {
  WaveChunks chunks;
  if (WalkWaveChunks(decoder, &chunks) != 0) return -1;
  if (chunks.format.size() < 2 || (chunks.format[0] | chunks.format[1] << 8) != WAVE_FORMAT_PCM) return -1;
  if (WaveFormatFromChunk(chunks.format, &decoder->format) != 0) return -1;
  decoder->kind = kDecoderWavePcm;
  decoder->readUnit = std::min(decoder->format.nAvgBytesPerSec, kLargestReadUnit);
  return 0;
}

int RefillWavePcmDecoder(SoundDecoder* decoder) {
  const StreamSource& source = decoder->source;
  const LONG tell = source.functions.tell(source.handle);
  const std::int64_t inData = std::int64_t{tell} - decoder->dataStart;
  if (inData < 0 || inData >= decoder->dataBytes) return -1;
  const auto want =
      std::min<std::uint32_t>(decoder->readUnit, decoder->dataBytes - static_cast<std::uint32_t>(inData));
  const std::int64_t read = source.functions.read(decoder->readBuffer, 1, want, source.handle);
  if (read <= 0) return -1;
  decoder->bufferValid = static_cast<std::uint32_t>(read);
  return 0;
}
