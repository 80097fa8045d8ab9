// 16-bit PCM RIFF WAVE files.
#include <algorithm>
#include <cmath>

#include "encoders.h"

namespace assetgen {
namespace {

void Put(Bytes& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutTag(Bytes& out, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

}  // namespace

Bytes EncodeWav(const SoundBuffer& sound) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(sound.samples.size() * 2);
  const std::uint32_t blockAlign = static_cast<std::uint32_t>(sound.channels * 2);
  Bytes out;
  out.reserve(44 + dataBytes);
  PutTag(out, "RIFF");
  Put(out, 36 + dataBytes, 4);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put(out, 16, 4);
  Put(out, 1, 2);  // PCM
  Put(out, static_cast<std::uint32_t>(sound.channels), 2);
  Put(out, static_cast<std::uint32_t>(sound.rate), 4);
  Put(out, static_cast<std::uint32_t>(sound.rate) * blockAlign, 4);
  Put(out, blockAlign, 2);
  Put(out, 16, 2);
  PutTag(out, "data");
  Put(out, dataBytes, 4);
  for (float sample : sound.samples) {
    const long value = std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f);
    Put(out, static_cast<std::uint32_t>(static_cast<std::int16_t>(value)), 2);
  }
  return out;
}

}  // namespace assetgen
