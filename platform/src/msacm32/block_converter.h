// Converters whose source is a run of fixed-size blocks, each giving a
// fixed number of output bytes (PCM frames, G.711 frames, ADPCM blocks).
#pragma once

#include "msacm32/acm_converter.h"

namespace wqplat {

class BlockConverter : public AcmConverter {
 public:
  BlockConverter(DWORD source_block, DWORD destination_block)
      : source_block_(source_block), destination_block_(destination_block) {}

  ConvertedSpan Convert(std::span<const BYTE> source, std::span<BYTE> destination) final {
    const std::size_t blocks =
        std::min(source.size() / source_block_, destination.size() / destination_block_);
    ConvertBlocks(source.data(), destination.data(), blocks);
    return {static_cast<DWORD>(blocks * source_block_),
            static_cast<DWORD>(blocks * destination_block_)};
  }

  DWORD DestinationBytesFor(DWORD source_bytes) const final {
    return Scale(source_bytes, source_block_, destination_block_);
  }
  DWORD SourceBytesFor(DWORD destination_bytes) const final {
    return Scale(destination_bytes, destination_block_, source_block_);
  }

 protected:
  virtual void ConvertBlocks(const BYTE* source, BYTE* destination, std::size_t blocks) = 0;
  DWORD source_block() const { return source_block_; }
  DWORD destination_block() const { return destination_block_; }

 private:
  // Whole blocks of `from` bytes, as blocks of `to` bytes.
  static DWORD Scale(DWORD bytes, DWORD from, DWORD to) {
    return SaturatedBytes(std::uint64_t{bytes / from} * to);
  }

  DWORD source_block_;
  DWORD destination_block_;
};

}  // namespace wqplat
