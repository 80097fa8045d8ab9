// Reads the "fmt " record and the "data" bytes of a RIFF WAVE file made by
// an outside tool, for tests that compare against its output.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace wqtest {

struct RiffWave {
  std::vector<std::uint8_t> format;  // the whole "fmt " chunk: a WAVEFORMATEX and its extension
  std::vector<std::uint8_t> data;
};

inline std::optional<RiffWave> ParseRiffWave(const std::string& file) {
  auto u32 = [&](std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, file.data() + at, 4);
    return value;
  };
  if (file.size() < 12 || file.compare(0, 4, "RIFF") != 0 || file.compare(8, 4, "WAVE") != 0) {
    return std::nullopt;
  }
  RiffWave wave;
  bool have_format = false;
  for (std::size_t at = 12; at + 8 <= file.size();) {
    const std::string id = file.substr(at, 4);
    const std::size_t size = u32(at + 4);
    const std::size_t body = at + 8;
    const std::size_t available = std::min(size, file.size() - body);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.data() + body);
    if (id == "fmt ") {
      // Room for cbSize even when the chunk stops before it.
      wave.format.assign(bytes, bytes + available);
      wave.format.resize(std::max<std::size_t>(wave.format.size(), 18));
      have_format = true;
    } else if (id == "data") {
      wave.data.assign(bytes, bytes + available);
      return have_format ? std::optional(wave) : std::nullopt;
    }
    at = body + size + (size & 1);
  }
  return std::nullopt;
}

// 16-bit little-endian samples of a byte block.
inline std::vector<std::int16_t> Pcm16Samples(const std::vector<std::uint8_t>& bytes) {
  std::vector<std::int16_t> samples(bytes.size() / 2);
  if (!samples.empty()) std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

}  // namespace wqtest
