// A PCM block made by the media subsystem's conversion, handed out in
// read-unit pieces.
#include <algorithm>

#include "sound/sound_decoder.h"

int RefillPcmBlockDecoder(SoundDecoder* decoder) {
  PcmBlockState& block = decoder->pcmBlock;
  if (block.readPosition >= block.bytes) return -1;
  const std::uint32_t take = std::min(decoder->readUnit, block.bytes - block.readPosition);
  std::copy_n(block.block + block.readPosition, take, decoder->readBuffer);
  block.readPosition += take;
  decoder->bufferValid = take;
  return 0;
}
