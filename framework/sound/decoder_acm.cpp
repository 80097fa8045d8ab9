// Compressed data through the audio compression manager: the set-up shared
// by compressed WAVE and MP3, the block conversion, seeking and sizes.
#include <algorithm>

#include "core/base/tracked_allocator.h"
#include "sound/sound_decoder.h"
#include "sound/sound_state.h"
#include "sound/wave_chunks.h"

namespace {

// Compressed bytes handed to one conversion.
constexpr std::uint32_t kSourceBytesPerConvert = 2048;
// The header size a 32-bit caller passes.
constexpr DWORD kStreamHeaderBytes = 84;

bool HaveAcm() {
  const AcmEntryPoints& acm = SoundSystem().acm;
  return acm.streamOpen != nullptr && acm.formatSuggest != nullptr && acm.streamClose != nullptr &&
         acm.prepareHeader != nullptr && acm.convert != nullptr && acm.unprepareHeader != nullptr &&
         acm.streamSize != nullptr;
}

int OpenStream(SoundDecoder* decoder, HACMSTREAM* stream) {
  return SoundSystem().acm.streamOpen(stream, nullptr, decoder->acm.sourceFormat, &decoder->format, nullptr,
                                      0, 0, ACM_STREAMOPENF_NONREALTIME) == 0
             ? 0
             : -1;
}

void CloseStream(HACMSTREAM* stream) {
  if (*stream != nullptr) SoundSystem().acm.streamClose(*stream, 0);
  *stream = nullptr;
}

// Converts the next compressed block into `destination`: 0 with the bytes
// made, -1 at the end of the compressed data.
int ConvertBlock(SoundDecoder* decoder, BYTE* destination, std::uint32_t* made) {
  AcmDecoderState& acm = decoder->acm;
  const AcmEntryPoints& entry = SoundSystem().acm;
  if (acm.mainReadPosition >= acm.compressedBytes) return -1;
  ACMSTREAMHEADER header{};
  header.cbStruct = kStreamHeaderBytes;
  header.pbSrc = acm.compressed + acm.mainReadPosition;
  header.cbSrcLength = std::min(kSourceBytesPerConvert, acm.compressedBytes - acm.mainReadPosition);
  header.pbDst = destination;
  header.cbDstLength = decoder->readUnit;
  if (entry.prepareHeader(acm.mainStream, &header, 0) != 0) return -1;
  entry.convert(acm.mainStream, &header, ACM_STREAMCONVERTF_BLOCKALIGN);
  *made = header.cbDstLengthUsed;
  acm.mainReadPosition += header.cbSrcLengthUsed;
  entry.unprepareHeader(acm.mainStream, &header, 0);
  if (*made == 0) {
    acm.mainReadPosition = acm.compressedBytes;
    return -1;
  }
  return 0;
}

}  // namespace

int SetupAcmConversion(SoundDecoder* decoder, std::uint32_t readUnitNumerator,
                       std::uint32_t readUnitDenominator) {
  if (!HaveAcm()) return -1;
  AcmDecoderState& acm = decoder->acm;
  const AcmEntryPoints& entry = SoundSystem().acm;
  decoder->format = WAVEFORMATEX{};
  decoder->format.wFormatTag = WAVE_FORMAT_PCM;
  if (entry.formatSuggest(nullptr, acm.sourceFormat, &decoder->format, sizeof(WAVEFORMATEX),
                          ACM_FORMATSUGGESTF_WFORMATTAG) != 0 ||
      decoder->format.nBlockAlign == 0 || decoder->format.nAvgBytesPerSec == 0) {
    return -1;
  }
  acm.compressedBytes = decoder->dataBytes;
  acm.compressed =
      static_cast<BYTE*>(TrackedAlloc(std::max<std::uint32_t>(acm.compressedBytes, 1), __FILE__, __LINE__));
  if (acm.compressed == nullptr) return -1;
  const StreamSource& source = decoder->source;
  source.functions.seek(source.handle, static_cast<LONG>(decoder->dataStart), SEEK_SET);
  const std::int64_t read = source.functions.read(acm.compressed, 1, acm.compressedBytes, source.handle);
  acm.compressedBytes = read < 0 ? 0 : static_cast<std::uint32_t>(read);
  source.functions.seek(source.handle, static_cast<LONG>(decoder->dataStart), SEEK_SET);
  acm.mainReadPosition = 0;
  if (OpenStream(decoder, &acm.mainStream) != 0 || OpenStream(decoder, &acm.spareStream) != 0) return -1;
  const std::uint64_t unit =
      std::uint64_t{decoder->format.nAvgBytesPerSec} * readUnitNumerator / readUnitDenominator;
  decoder->readUnit =
      static_cast<std::uint32_t>(std::min<std::uint64_t>(static_cast<std::uint32_t>(unit), kLargestReadUnit));
  acm.scratch =
      static_cast<BYTE*>(TrackedAlloc(std::max<std::uint32_t>(decoder->readUnit, 1), __FILE__, __LINE__));
  if (acm.scratch == nullptr) return -1;
  decoder->kind = kDecoderAcm;
  return 0;
}

int SetupWaveAcmDecoder(SoundDecoder* decoder) {
  WaveChunks chunks;
  if (WalkWaveChunks(decoder, &chunks) != 0) return -1;
  WAVEFORMATEX checked{};
  if (WaveFormatFromChunk(chunks.format, &checked) != 0) return -1;
  // The source format whole; a 16-byte PCM chunk gains its bits and cbSize.
  // The block holds the whole extension its cbSize names (zeros where the
  // chunk stops short), since the converters read that far.
  const std::size_t bytes = std::max<std::size_t>(
      chunks.format.size(), sizeof(WAVEFORMATEX) + (chunks.format.size() == 16 ? 0 : checked.cbSize));
  auto* source = static_cast<BYTE*>(TrackedAllocZero(bytes, __FILE__, __LINE__));
  if (source == nullptr) return -1;
  std::copy(chunks.format.begin(), chunks.format.end(), source);
  if (chunks.format.size() == 16)
    std::copy_n(reinterpret_cast<const BYTE*>(&checked), sizeof checked, source);
  decoder->acm = AcmDecoderState{};
  decoder->acm.sourceFormat = reinterpret_cast<WAVEFORMATEX*>(source);
  decoder->acm.totalSamples = -1;
  if (SetupAcmConversion(decoder, 1, 1) != 0) {
    CloseAcmDecoder(decoder);
    return -1;
  }
  return 0;
}

int RefillAcmDecoder(SoundDecoder* decoder) {
  std::uint32_t made = 0;
  if (ConvertBlock(decoder, decoder->readBuffer, &made) != 0) return -1;
  decoder->bufferValid = made;
  return 0;
}

int SeekAcmDecoder(SoundDecoder* decoder, std::int32_t sample) {
  AcmDecoderState& acm = decoder->acm;
  const std::uint32_t target = decoder->format.nBlockAlign * static_cast<std::uint32_t>(sample);
  if (target < decoder->position) {
    // Back: the spare stream starts over from the first compressed byte and
    // the former main stream is opened afresh as the spare.
    std::swap(acm.mainStream, acm.spareStream);
    acm.mainReadPosition = 0;
    decoder->bufferValid = 0;
    decoder->bufferConsumed = 0;
    decoder->position = 0;
    CloseStream(&acm.spareStream);
    if (OpenStream(decoder, &acm.spareStream) != 0) return -1;
  }
  for (;;) {
    const std::uint32_t bufferEnd = decoder->position + decoder->bufferValid;
    if (target < bufferEnd) {
      const std::uint32_t skip = target - decoder->position;
      decoder->bufferConsumed += skip;
      decoder->bufferValid -= skip;
      decoder->position = target;
      return 0;
    }
    decoder->position = bufferEnd;
    decoder->bufferValid = 0;
    decoder->bufferConsumed = 0;
    std::uint32_t made = 0;
    if (ConvertBlock(decoder, decoder->readBuffer, &made) != 0) {
      decoder->endReached = 1;
      return 0;
    }
    decoder->bufferValid = made;
  }
}

void CloseAcmDecoder(SoundDecoder* decoder) {
  AcmDecoderState& acm = decoder->acm;
  CloseStream(&acm.mainStream);
  CloseStream(&acm.spareStream);
  TrackedFree(acm.sourceFormat);
  TrackedFree(acm.scratch);
  TrackedFree(acm.compressed);
  acm.sourceFormat = nullptr;
  acm.scratch = nullptr;
  acm.compressed = nullptr;
}

std::uint32_t GetAcmDecoderPcmSize(SoundDecoder* decoder) {
  if (decoder->acm.totalSamples >= 0)
    return decoder->format.nBlockAlign * static_cast<std::uint32_t>(decoder->acm.totalSamples);
  DWORD bytes = 0;
  SoundSystem().acm.streamSize(decoder->acm.mainStream, decoder->acm.compressedBytes, &bytes,
                               ACM_STREAMSIZEF_SOURCE);
  return bytes;
}
