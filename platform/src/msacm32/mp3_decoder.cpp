// MPEG layer 3 through libmpg123 fed with whatever bytes arrive. Every frame
// decodes to its full sample count (no gapless trimming, the info frame is
// a silent frame), as a caller counting frames expects.
#include <mpg123.h>

#include <algorithm>
#include <mutex>

#include "msacm32/acm_codecs.h"

namespace wqplat {
namespace {

// The smallest frame and its samples at a rate: 32 kbit/s for MPEG-1
// (32 kHz and up), 8 kbit/s for MPEG-2 and 2.5.
struct SmallestFrame {
  DWORD bytes;
  DWORD samples;
};
SmallestFrame SmallestFrameAt(DWORD rate) {
  if (rate >= 32000) return {144000u * 32 / rate, 1152};
  return {std::max<DWORD>(72000u * 8 / rate, 1), 576};
}

bool IsMpegRate(DWORD rate) {
  constexpr DWORD kRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
  return std::find(std::begin(kRates), std::end(kRates), rate) != std::end(kRates);
}

class Mp3Decoder final : public AcmConverter {
 public:
  explicit Mp3Decoder(const WAVEFORMATEX& source)
      : channels_(source.nChannels),
        rate_(source.nSamplesPerSec),
        source_bytes_per_second_(source.nAvgBytesPerSec) {}
  ~Mp3Decoder() override { mpg123_delete(handle_); }
  Mp3Decoder(const Mp3Decoder&) = delete;
  Mp3Decoder& operator=(const Mp3Decoder&) = delete;

  bool Open() {
    static std::once_flag library_ready;
    std::call_once(library_ready, [] { mpg123_init(); });
    mpg123_delete(handle_);
    foreign_rate_ = false;
    handle_ = mpg123_new(nullptr, nullptr);
    if (handle_ == nullptr) return false;
    const long channel_flag = channels_ == 1 ? MPG123_MONO_MIX : MPG123_FORCE_STEREO;
    if (mpg123_param(handle_, MPG123_FLAGS, MPG123_QUIET | MPG123_IGNORE_INFOFRAME | channel_flag,
                     0) != MPG123_OK ||
        mpg123_format_none(handle_) != MPG123_OK) {
      return false;
    }
    // Every rate is allowed: a frame the library may not decode is reported
    // on stderr whatever the quiet flag says. A frame at another rate than
    // the source format's ends the output instead (see ReadDecoded).
    const long* rates = nullptr;
    std::size_t rate_count = 0;
    mpg123_rates(&rates, &rate_count);
    for (std::size_t i = 0; i < rate_count; ++i) {
      mpg123_format(handle_, rates[i], channels_ == 1 ? MPG123_MONO : MPG123_STEREO,
                    MPG123_ENC_SIGNED_16);
    }
    return mpg123_open_feed(handle_) == MPG123_OK;
  }

  // Input is taken only while the output of one more frame fits, in pieces
  // shorter than the smallest frame so that a piece completes at most one:
  // what the decoder holds is never decoded output the caller has not
  // received, so a caller that stops at the end of its input loses nothing.
  ConvertedSpan Convert(std::span<const BYTE> source, std::span<BYTE> destination) override {
    ConvertedSpan result;
    if (handle_ == nullptr || foreign_rate_) return result;
    const SmallestFrame frame = SmallestFrameAt(rate_);
    const std::size_t frame_output = std::size_t{frame.samples} * 2 * channels_;
    const std::size_t piece = std::max<DWORD>(frame.bytes - 1, 1);
    ReadDecoded(destination, result);
    while (!foreign_rate_ && result.source_used < source.size() &&
           destination.size() - result.destination_used >= frame_output) {
      const std::size_t bytes = std::min(piece, source.size() - result.source_used);
      if (mpg123_feed(handle_, source.data() + result.source_used, bytes) != MPG123_OK) break;
      result.source_used += static_cast<DWORD>(bytes);
      ReadDecoded(destination, result);
    }
    return result;
  }

  void Restart() override { Open(); }

  DWORD DestinationBytesFor(DWORD source_bytes) const override {
    const SmallestFrame frame = SmallestFrameAt(rate_);
    const std::uint64_t frames = source_bytes / frame.bytes + 1;
    return SaturatedBytes(frames * frame.samples * 2 * channels_);
  }

  DWORD SourceBytesFor(DWORD destination_bytes) const override {
    const std::uint64_t samples = destination_bytes / (2u * channels_);
    return SaturatedBytes(samples * source_bytes_per_second_ / rate_);
  }

 private:
  // Moves decoded output into what is left of `destination`, until the
  // decoder needs more input (or meets data it cannot decode).
  void ReadDecoded(std::span<BYTE> destination, ConvertedSpan& result) {
    while (result.destination_used < destination.size()) {
      std::size_t done = 0;
      const int status = mpg123_read(handle_, destination.data() + result.destination_used,
                                     destination.size() - result.destination_used, &done);
      result.destination_used += static_cast<DWORD>(done);
      if (status == MPG123_NEW_FORMAT && !StreamRateIsTheSources()) {
        foreign_rate_ = true;
        return;
      }
      if (status != MPG123_OK && status != MPG123_NEW_FORMAT) return;
    }
  }

  bool StreamRateIsTheSources() const {
    long rate = 0;
    int channels = 0, encoding = 0;
    return mpg123_getformat(handle_, &rate, &channels, &encoding) == MPG123_OK &&
           rate == static_cast<long>(rate_);
  }

  WORD channels_;
  DWORD rate_;
  DWORD source_bytes_per_second_;
  mpg123_handle* handle_ = nullptr;
  // The stream turned out to be at another rate than its format says.
  bool foreign_rate_ = false;
};

}  // namespace

std::unique_ptr<AcmConverter> CreateMp3Decoder(const WAVEFORMATEX& source) {
  if (!HasPlayableChannelsAndRate(source) || !IsMpegRate(source.nSamplesPerSec)) return nullptr;
  auto decoder = std::make_unique<Mp3Decoder>(source);
  if (!decoder->Open()) return nullptr;
  return decoder;
}

}  // namespace wqplat
