#include "lz_compressor.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

#include "core/files/wqa_format.h"

namespace wqa {
namespace {

constexpr std::uint32_t kMinMatch = 4;
// The length field holds 5 bits in the code byte and 8 more in the
// extension byte.
constexpr std::uint32_t kMaxMatch = kMinMatch + (1u << 13) - 1;
constexpr std::uint32_t kMaxDistance = 1u << 24;  // three distance bytes
constexpr int kHashBits = 16;
constexpr int kChainLimit = 48;
constexpr std::uint32_t kNone = 0xFFFFFFFFu;

// The escape byte is the rarest byte of the data: each literal of it costs
// two bytes.
std::uint8_t RarestByte(std::span<const std::uint8_t> data) {
  std::array<std::uint32_t, 256> counts{};
  for (std::uint8_t byte : data) ++counts[byte];
  return static_cast<std::uint8_t>(std::min_element(counts.begin(), counts.end()) - counts.begin());
}

std::uint32_t Hash4(const std::uint8_t* p) {
  std::uint32_t word;
  std::memcpy(&word, p, sizeof(word));
  return (word * 2654435761u) >> (32 - kHashBits);
}

std::uint32_t DistanceBytes(std::uint32_t distance) {
  const std::uint32_t field = distance - 1;
  return field < 0x100 ? 1 : field < 0x10000 ? 2 : 3;
}

std::uint32_t MatchCodeSize(std::uint32_t length, std::uint32_t distance) {
  const bool extended = length - kMinMatch >= 32;
  return 2 + (extended ? 1 : 0) + DistanceBytes(distance);
}

class Encoder {
 public:
  explicit Encoder(std::uint8_t escape) : escape_(escape) {}

  void Literal(std::uint8_t byte) {
    out_.push_back(byte);
    if (byte == escape_) out_.push_back(escape_);
  }

  void Match(std::uint32_t length, std::uint32_t distance) {
    const std::uint32_t lengthField = length - kMinMatch;
    const std::uint32_t distanceField = distance - 1;
    const std::uint32_t distanceBytes = DistanceBytes(distance);
    std::uint32_t value = ((lengthField & 31) << 3) | (distanceBytes - 1);
    if (lengthField >= 32) value |= 4;
    // The code byte never equals the escape: values from the escape upwards
    // are stored one higher.
    out_.push_back(escape_);
    out_.push_back(static_cast<std::uint8_t>(value >= escape_ ? value + 1 : value));
    if (lengthField >= 32) out_.push_back(static_cast<std::uint8_t>(lengthField >> 5));
    for (std::uint32_t i = 0; i < distanceBytes; ++i) {
      out_.push_back(static_cast<std::uint8_t>(distanceField >> (8 * i)));
    }
  }

  // The header goes in front of the codes, where room was kept for it.
  std::vector<std::uint8_t> Finish(std::uint32_t unpackedSize) {
    if (out_.size() > 0xFFFFFFFFu) throw std::length_error("data too large to pack");
    const WqaPackedHeader header{unpackedSize, static_cast<DWORD>(out_.size()), escape_};
    std::memcpy(out_.data(), &header, sizeof(header));
    return std::move(out_);
  }

 private:
  std::uint8_t escape_;
  std::vector<std::uint8_t> out_ = std::vector<std::uint8_t>(WQA_PACKED_HEADER_SIZE);
};

struct Match {
  std::uint32_t length = 0;
  std::uint32_t distance = 0;
  // Bytes saved against literals; a match worth taking saves at least one.
  int Gain() const { return length < kMinMatch ? 0 : static_cast<int>(length) - static_cast<int>(MatchCodeSize(length, distance)); }
};

// Hash chains over every 4-byte sequence seen so far.
class MatchFinder {
 public:
  explicit MatchFinder(std::span<const std::uint8_t> data)
      : data_(data), size_(static_cast<std::uint32_t>(data.size())), head_(1u << kHashBits, kNone), previous_(size_, kNone) {}

  void Insert(std::uint32_t position) {
    if (position + kMinMatch > size_) return;
    const std::uint32_t hash = Hash4(&data_[position]);
    previous_[position] = head_[hash];
    head_[hash] = position;
  }

  // The candidate that saves the most bytes; candidates may overlap the
  // position (a match longer than its distance).
  Match Best(std::uint32_t position) const {
    Match best;
    if (position + kMinMatch > size_) return best;
    const std::uint32_t limit = std::min(kMaxMatch, size_ - position);
    std::uint32_t candidate = head_[Hash4(&data_[position])];
    for (int steps = 0; candidate != kNone && steps < kChainLimit; ++steps, candidate = previous_[candidate]) {
      const std::uint32_t distance = position - candidate;
      if (distance > kMaxDistance) break;
      std::uint32_t length = 0;
      while (length < limit && data_[candidate + length] == data_[position + length]) ++length;
      const Match match{length, distance};
      if (match.Gain() > best.Gain()) {
        best = match;
        if (length == limit) break;
      }
    }
    return best;
  }

 private:
  std::span<const std::uint8_t> data_;
  std::uint32_t size_;
  std::vector<std::uint32_t> head_;
  std::vector<std::uint32_t> previous_;
};

}  // namespace

std::vector<std::uint8_t> PackArchiveData(std::span<const std::uint8_t> data) {
  if (data.size() > 0xFFFFFFFFu) throw std::length_error("data too large to pack");
  const auto size = static_cast<std::uint32_t>(data.size());
  Encoder encoder(RarestByte(data));
  MatchFinder finder(data);
  std::uint32_t position = 0;
  while (position < size) {
    const Match match = finder.Best(position);
    finder.Insert(position);
    // One step of lookahead: a better match starting at the next byte is
    // worth a literal first.
    if (match.Gain() > 0 && finder.Best(position + 1).Gain() <= match.Gain()) {
      encoder.Match(match.length, match.distance);
      for (std::uint32_t i = 1; i < match.length; ++i) finder.Insert(position + i);
      position += match.length;
    } else {
      encoder.Literal(data[position]);
      ++position;
    }
  }
  return encoder.Finish(size);
}

}  // namespace wqa
