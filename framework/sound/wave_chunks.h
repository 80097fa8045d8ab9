// The RIFF WAVE chunk walk shared by the plain PCM and the compressed WAVE
// decoders: the "fmt " chunk's data, then the position and size of "data".
#pragma once

#include <cstdint>
#include <vector>

#include "sound/sound_decoder.h"

struct WaveChunks {
  std::vector<BYTE> format;  // the "fmt " chunk's data, as stored
};

// Walks from the stream's start to the "data" chunk, filling the decoder's
// fmt position and size, data start and data bytes (cut to what the stream
// holds); the stream is left at the data start. -1 when the data is not a
// RIFF WAVE with "fmt " and "data" chunks.
int WalkWaveChunks(SoundDecoder* decoder, WaveChunks* chunks);

// The WAVEFORMATEX of a chunk: at most 18 bytes of it, the rest zero; a
// 16-byte chunk takes its bits from the block align and channels. -1 when
// a field the decoders divide by is zero (logged).
int WaveFormatFromChunk(const std::vector<BYTE>& chunk, WAVEFORMATEX* format);
