// Converts a RIFF WAVE file of any format tag to PCM through the ACM stream
// functions, in small pieces as a streaming reader does: the "fmt " chunk is
// the source format (so damaged ADPCM, mu-law, A-law and MP3 headers reach
// the converters) and the "data" chunk the bytes they decode.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/msacm.h"
#include "support/riff_wave.h"

namespace {

constexpr DWORD kPieceBytes = 1024;
// Enough output room for any piece while keeping one input cheap.
constexpr DWORD kMostRoom = 1 << 20;
constexpr int kMostCalls = 4096;

void ConvertAll(HACMSTREAM stream, const std::vector<std::uint8_t>& data) {
  DWORD room = 0;
  if (acmStreamSize(stream, kPieceBytes, &room, ACM_STREAMSIZEF_SOURCE) != MMSYSERR_NOERROR) return;
  std::vector<std::uint8_t> output(std::clamp<DWORD>(room, 1, kMostRoom));
  std::size_t at = 0;
  for (int call = 0; call < kMostCalls; ++call) {
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = const_cast<std::uint8_t*>(data.data()) + at;
    header.cbSrcLength = static_cast<DWORD>(std::min<std::size_t>(kPieceBytes, data.size() - at));
    header.pbDst = output.data();
    header.cbDstLength = static_cast<DWORD>(output.size());
    if (acmStreamPrepareHeader(stream, &header, 0) != MMSYSERR_NOERROR) return;
    const MMRESULT converted = acmStreamConvert(stream, &header, ACM_STREAMCONVERTF_BLOCKALIGN);
    acmStreamUnprepareHeader(stream, &header, 0);
    if (converted != MMSYSERR_NOERROR) return;
    if (header.cbSrcLengthUsed > header.cbSrcLength || header.cbDstLengthUsed > header.cbDstLength) {
      __builtin_trap();  // a converter claimed more than it was given
    }
    if (header.cbSrcLengthUsed == 0 && header.cbDstLengthUsed == 0) return;
    at += header.cbSrcLengthUsed;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const auto wave = wqtest::ParseRiffWave(std::string(reinterpret_cast<const char*>(bytes), size));
  if (!wave) return 0;
  // The format block a caller hands over holds the whole extension its
  // cbSize names; a short chunk is padded with zeros to that length.
  std::vector<std::uint8_t> format = wave->format;
  const auto* header = reinterpret_cast<const WAVEFORMATEX*>(format.data());
  format.resize(std::max(format.size(), sizeof(WAVEFORMATEX) + header->cbSize));
  auto* source = reinterpret_cast<WAVEFORMATEX*>(format.data());

  WAVEFORMATEX pcm{};
  pcm.wFormatTag = WAVE_FORMAT_PCM;
  if (acmFormatSuggest(nullptr, source, &pcm, sizeof pcm, ACM_FORMATSUGGESTF_WFORMATTAG) !=
      MMSYSERR_NOERROR) {
    return 0;
  }
  HACMSTREAM stream = nullptr;
  if (acmStreamOpen(&stream, nullptr, source, &pcm, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) !=
      MMSYSERR_NOERROR) {
    return 0;
  }
  ConvertAll(stream, wave->data);
  acmStreamClose(stream, 0);
  return 0;
}
