#include "msacm32/wave_format_layout.h"

#include <cstring>

namespace wqplat {
namespace {

constexpr WORD kMaxChannels = 8;

bool IsPcmTag(const WAVEFORMATEX& format) {
  if (format.wFormatTag == WAVE_FORMAT_PCM) return true;
  if (format.wFormatTag != WAVE_FORMAT_EXTENSIBLE) return false;
  constexpr WORD kExtensionBytes = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
  if (format.cbSize < kExtensionBytes) return false;
  const auto& extensible = reinterpret_cast<const WAVEFORMATEXTENSIBLE&>(format);
  return std::memcmp(&extensible.SubFormat, &KSDATAFORMAT_SUBTYPE_PCM, sizeof(GUID)) == 0;
}

}  // namespace

std::optional<PcmLayout> PcmLayoutOf(const WAVEFORMATEX& format) {
  if (!IsPcmTag(format)) return std::nullopt;
  const PcmLayout layout{format.nChannels, format.wBitsPerSample, format.nSamplesPerSec};
  const bool bits_known =
      layout.bits == 8 || layout.bits == 16 || layout.bits == 24 || layout.bits == 32;
  if (!bits_known || layout.channels == 0 || layout.channels > kMaxChannels || layout.rate == 0 ||
      format.nBlockAlign != layout.BlockAlign()) {
    return std::nullopt;
  }
  return layout;
}

WAVEFORMATEX MakePcmFormat(const PcmLayout& layout) {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = layout.channels;
  format.nSamplesPerSec = layout.rate;
  format.nBlockAlign = layout.BlockAlign();
  format.nAvgBytesPerSec = layout.rate * format.nBlockAlign;
  format.wBitsPerSample = layout.bits;
  format.cbSize = 0;
  return format;
}

bool HasPlayableChannelsAndRate(const WAVEFORMATEX& format) {
  return (format.nChannels == 1 || format.nChannels == 2) && format.nSamplesPerSec > 0;
}

}  // namespace wqplat
