// The RIFF WAVE chunk walk.
#include "sound/wave_chunks.h"

#include <algorithm>
#include <cstring>

#include "WqLib.h"

namespace {

// A "fmt " chunk larger than this is not a wave format.
constexpr std::uint32_t kLargestFormatChunk = 4096;

bool ReadExact(SoundDecoder* decoder, void* destination, std::uint32_t bytes) {
  const StreamSource& source = decoder->source;
  return source.functions.read(destination, 1, bytes, source.handle) == static_cast<std::int64_t>(bytes);
}

bool ReadChunkHeader(SoundDecoder* decoder, char id[4], std::uint32_t* size) {
  BYTE header[8];
  if (!ReadExact(decoder, header, 8)) return false;
  std::memcpy(id, header, 4);
  std::memcpy(size, header + 4, 4);
  return true;
}

LONG StreamSize(const StreamSource& source) {
  const LONG here = source.functions.tell(source.handle);
  source.functions.seek(source.handle, 0, SEEK_END);
  const LONG size = source.functions.tell(source.handle);
  source.functions.seek(source.handle, here, SEEK_SET);
  return size;
}

// Skips a chunk's body; false past the end of the stream.
bool SkipChunk(SoundDecoder* decoder, std::uint32_t bytes, LONG streamSize) {
  const StreamSource& source = decoder->source;
  const std::int64_t target = std::int64_t{source.functions.tell(source.handle)} + bytes;
  if (target >= streamSize) return false;
  source.functions.seek(source.handle, static_cast<LONG>(target), SEEK_SET);
  return true;
}

}  // namespace

int WalkWaveChunks(SoundDecoder* decoder, WaveChunks* chunks) {
  const StreamSource& source = decoder->source;
  const LONG streamSize = StreamSize(source);
  char id[4];
  std::uint32_t size = 0;
  char wave[4];
  if (!ReadChunkHeader(decoder, id, &size) || std::memcmp(id, "RIFF", 4) != 0) return -1;
  if (!ReadExact(decoder, wave, 4) || std::memcmp(wave, "WAVE", 4) != 0) return -1;
  if (!ReadChunkHeader(decoder, id, &size)) return -1;
  if (std::memcmp(id, "bext", 4) == 0) {
    if (!SkipChunk(decoder, size, streamSize) || !ReadChunkHeader(decoder, id, &size)) return -1;
  }
  if (std::memcmp(id, "fmt ", 4) != 0 || size > kLargestFormatChunk) return -1;
  decoder->formatChunkPosition = static_cast<std::uint32_t>(source.functions.tell(source.handle));
  decoder->formatChunkSize = size;
  chunks->format.assign(size, 0);
  if (size != 0 && !ReadExact(decoder, chunks->format.data(), size)) return -1;
  for (;;) {
    if (!ReadChunkHeader(decoder, id, &size)) return -1;
    if (std::memcmp(id, "data", 4) == 0) break;
    if (!SkipChunk(decoder, size + (size & 1), streamSize)) return -1;
  }
  const LONG start = source.functions.tell(source.handle);
  decoder->dataStart = static_cast<std::uint32_t>(start);
  // A data chunk that claims more than the file holds ends with the file.
  decoder->dataBytes = std::min<std::uint32_t>(size, static_cast<std::uint32_t>(streamSize - start));
  return 0;
}

int WaveFormatFromChunk(const std::vector<BYTE>& chunk, WAVEFORMATEX* format) {
  *format = WAVEFORMATEX{};
  if (chunk.size() < 14) return LogWrite("WAVE ファイルのフォーマット情報が不正です\n");
  std::memcpy(format, chunk.data(), std::min<std::size_t>(chunk.size(), sizeof(WAVEFORMATEX)));
  if (format->nChannels == 0 || format->nBlockAlign == 0 ||
      format->nSamplesPerSec == 0 || format->nAvgBytesPerSec == 0) {
    return LogWrite("WAVE ファイルのフォーマット情報が不正です\n");
  }
  if (chunk.size() == 16) {
    format->wBitsPerSample = static_cast<WORD>(format->nBlockAlign / format->nChannels * 8);
    format->cbSize = 0;
  }
  return 0;
}
