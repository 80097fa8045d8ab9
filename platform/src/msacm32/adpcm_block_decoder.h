// ADPCM decoders: every block, whatever its content, decodes on its own to
// the same number of 16-bit frames.
#pragma once

#include "msacm32/block_converter.h"

namespace wqplat {

class AdpcmBlockDecoder : public BlockConverter {
 public:
  AdpcmBlockDecoder(WORD channels, WORD block_align, DWORD samples_per_block)
      : BlockConverter(block_align, samples_per_block * channels * 2),
        channels_(channels),
        samples_per_block_(samples_per_block) {}

 protected:
  // Decodes one block into samples_per_block() interleaved frames.
  virtual void DecodeBlock(const BYTE* block, BYTE* frames) = 0;

  WORD channels() const { return channels_; }
  DWORD samples_per_block() const { return samples_per_block_; }
  std::size_t frame_bytes() const { return 2u * channels_; }

 private:
  void ConvertBlocks(const BYTE* source, BYTE* destination, std::size_t blocks) final {
    for (std::size_t b = 0; b < blocks; ++b) {
      DecodeBlock(source + b * source_block(), destination + b * destination_block());
    }
  }

  WORD channels_;
  DWORD samples_per_block_;
};

}  // namespace wqplat
