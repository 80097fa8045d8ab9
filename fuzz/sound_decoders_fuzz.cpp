// Sets the sound decoders up over a file image in memory and decodes it
// whole, then seeks and reads again: the WAVE chunk walk, the compressed
// WAVE and MP3 frame scan through the audio compression manager, and Ogg
// Vorbis. The first byte chooses which decoders are skipped, so each one
// sees every input.
#include <cstddef>
#include <cstdint>

#include "core/base/tracked_allocator.h"
#include "core/files/stream_memory.h"
#include "sound/sound_decoder.h"
#include "sound/sound_state.h"

namespace {

void UsePlatformAcm() {
  AcmEntryPoints& acm = SoundSystem().acm;
  acm = AcmEntryPoints{acmStreamOpen,          acmFormatSuggest, acmStreamClose,           acmMetrics,
                       acmStreamPrepareHeader, acmStreamConvert, acmStreamUnprepareHeader, acmStreamSize};
  SoundSystem().oggSampleWidth = 2;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static const bool ready = (UsePlatformAcm(), true);
  (void)ready;
  if (size < 1) return 0;
  // Never the media subsystem's conversion.
  SoundSystem().decoderSkipMask = (bytes[0] & 0x0F) | kSkipDirectShow;
  const StreamSource source{*GetMemoryStreamFunctions(),
                            OpenMemoryStream(bytes + 1, static_cast<LONG>(size - 1))};
  SoundDecoder decoder{};
  if (SetupSoundDecoder(&source, &decoder) == 0) {
    WAVEFORMATEX format{};
    void* pcm = nullptr;
    std::uint32_t pcmBytes = 0;
    if (DecodeSoundToMemory(&decoder, &format, &pcm, &pcmBytes) == 0) TrackedFree(pcm);
    const std::uint32_t block = decoder.format.nBlockAlign;
    const auto middle = static_cast<std::int32_t>(block == 0 ? 0 : pcmBytes / 2 / block);
    std::uint8_t piece[4096];
    SeekSoundDecoder(&decoder, middle);
    ReadSoundDecoder(&decoder, piece, sizeof piece);
    SeekSoundDecoder(&decoder, 0);
    ReadSoundDecoder(&decoder, piece, sizeof piece);
    CloseSoundDecoder(&decoder);
  }
  CloseMemoryStream(source.handle);
  return 0;
}
