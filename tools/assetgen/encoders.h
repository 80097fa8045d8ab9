// The file formats the game reads, written byte-exact and reproducibly:
// PNG pictures, PCM WAV and Ogg Vorbis sounds.
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"

namespace assetgen {

using Bytes = std::vector<std::uint8_t>;

// Interleaved sound samples in -1..1.
struct SoundBuffer {
  int channels;
  int rate;
  std::vector<float> samples;
  std::size_t Frames() const { return samples.size() / channels; }
};

// An RGBA picture when alpha is true, else RGB; no time or text chunks, so
// the same canvas always gives the same bytes. Throws on failure.
Bytes EncodePng(const Canvas& canvas, bool alpha);
// 16-bit PCM RIFF WAVE.
Bytes EncodeWav(const SoundBuffer& sound);
// Ogg Vorbis at a variable-bitrate quality (-0.1 .. 1.0); the stream's
// serial number is fixed. Throws on failure.
Bytes EncodeOgg(const SoundBuffer& sound, float quality);

}  // namespace assetgen
