// One open conversion of an ACM stream: source bytes in, PCM bytes out.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/msacm.h"

namespace wqplat {

// Byte counts larger than 32 bits can hold are answered as the largest.
inline DWORD SaturatedBytes(std::uint64_t bytes) {
  return static_cast<DWORD>(std::min<std::uint64_t>(bytes, 0xFFFFFFFFu));
}

struct ConvertedSpan {
  DWORD source_used = 0;
  DWORD destination_used = 0;
};

class AcmConverter {
 public:
  virtual ~AcmConverter() = default;
  // Converts as much of `source` as fits into `destination`.
  virtual ConvertedSpan Convert(std::span<const BYTE> source, std::span<BYTE> destination) = 0;
  // Forgets state carried between calls (a new stream starts).
  virtual void Restart() {}
  // Most output `source_bytes` can give; source bytes that fit `destination_bytes`.
  virtual DWORD DestinationBytesFor(DWORD source_bytes) const = 0;
  virtual DWORD SourceBytesFor(DWORD destination_bytes) const = 0;
};

// The converter from `source` to `destination`, or null when this layer
// cannot convert between them (or either record is malformed).
std::unique_ptr<AcmConverter> CreateAcmConverter(const WAVEFORMATEX& source,
                                                 const WAVEFORMATEX& destination);

// The PCM format `source` decodes to, or false when no converter takes it.
bool SuggestPcmFormat(const WAVEFORMATEX& source, WAVEFORMATEX& suggestion);

}  // namespace wqplat
