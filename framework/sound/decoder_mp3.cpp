// MP3 through the audio compression manager: the tags are stepped over,
// the frames counted, and the first frame describes the source format.
#include <algorithm>
#include <cstring>

#include "core/base/tracked_allocator.h"
#include "sound/mp3_frame_header.h"
#include "sound/sound_decoder.h"
#include "sound/sound_state.h"

namespace {

constexpr LONG kTrailerTagBytes = 128;
constexpr std::uint32_t kFallbackFormatBytes = 30;
constexpr WORD kCodecDelay = 700;

// Reads the stream a block at a time for the byte-wise sync search.
class ByteScanner {
 public:
  explicit ByteScanner(const StreamSource& source) : source_(source) {}

  void MoveTo(LONG position) {
    source_.functions.seek(source_.handle, position, SEEK_SET);
    position_ = position;
    held_ = 0;
    next_ = 0;
  }
  LONG Position() const { return position_; }
  // False at the end of the stream.
  bool Next(std::uint8_t* byte) {
    if (next_ == held_) {
      const std::int64_t read = source_.functions.read(block_, 1, sizeof block_, source_.handle);
      if (read <= 0) return false;
      held_ = static_cast<std::size_t>(read);
      next_ = 0;
    }
    *byte = block_[next_++];
    ++position_;
    return true;
  }

 private:
  const StreamSource& source_;
  std::uint8_t block_[4096];
  std::size_t held_ = 0;
  std::size_t next_ = 0;
  LONG position_ = 0;
};

LONG AudioStart(const StreamSource& source) {
  std::uint8_t tag[10];
  source.functions.seek(source.handle, 0, SEEK_SET);
  if (source.functions.read(tag, 1, 10, source.handle) != 10 || std::memcmp(tag, "ID3", 3) != 0) return 0;
  const LONG size = (tag[6] & 0x7F) << 21 | (tag[7] & 0x7F) << 14 | (tag[8] & 0x7F) << 7 | (tag[9] & 0x7F);
  const bool footer = tag[3] == 4 && (tag[5] & 0x10) != 0;
  return 10 + size + (footer ? 10 : 0);
}

struct FrameScan {
  LONG firstFrame = -1;
  Mp3FrameHeader first{};
  LONG audioEnd = 0;
  std::int64_t samples = 0;
};

// -1 when a header is refused or no frame is found.
int ScanFrames(const StreamSource& source, LONG start, FrameScan* scan) {
  ByteScanner scanner(source);
  scanner.MoveTo(start);
  std::uint8_t header[4];
  bool haveFirst = false;
  // Frames start inside the audio: never in a trailing tag.
  while (scanner.Position() < scan->audioEnd && scanner.Next(&header[0])) {
    if (header[0] != 0xFF) continue;
    if (!scanner.Next(&header[1])) break;
    if ((header[1] & 0xF0) != 0xF0) continue;
    if (!scanner.Next(&header[2]) || !scanner.Next(&header[3])) break;
    Mp3FrameHeader frame{};
    if (ParseMp3FrameHeader(header, &frame) != 0 || frame.frameBytes == 0) return -1;
    const LONG at = scanner.Position() - 4;
    if (!haveFirst) {
      scan->firstFrame = at;
      scan->first = frame;
      haveFirst = true;
    }
    scan->samples += frame.samplesPerFrame;
    const std::int64_t frameEnd = std::int64_t{at} + frame.frameBytes;
    if (frameEnd < scan->audioEnd) {
      scanner.MoveTo(static_cast<LONG>(frameEnd));
      continue;
    }
    scan->audioEnd = static_cast<LONG>(std::min<std::int64_t>(frameEnd, scan->audioEnd));
    break;
  }
  return haveFirst ? 0 : -1;
}

}  // namespace

int SetupMp3Decoder(SoundDecoder* decoder) {
  const StreamSource& source = decoder->source;
  source.functions.seek(source.handle, 0, SEEK_END);
  const LONG size = source.functions.tell(source.handle);
  source.functions.seek(source.handle, 0, SEEK_SET);
  if (size <= kTrailerTagBytes) return -1;
  FrameScan scan;
  scan.audioEnd = size;
  char trailer[3] = {};
  source.functions.seek(source.handle, size - kTrailerTagBytes, SEEK_SET);
  if (source.functions.read(trailer, 1, 3, source.handle) == 3 && std::memcmp(trailer, "TAG", 3) == 0)
    scan.audioEnd = size - kTrailerTagBytes;
  const LONG start = AudioStart(source);
  if (start >= scan.audioEnd || ScanFrames(source, start, &scan) != 0) return -1;

  DWORD formatBytes = 0;
  const AcmEntryPoints& acm = SoundSystem().acm;
  if (acm.metrics == nullptr || acm.metrics(nullptr, ACM_METRIC_MAX_SIZE_FORMAT, &formatBytes) != 0 ||
      formatBytes < sizeof(MPEGLAYER3WAVEFORMAT)) {
    formatBytes = kFallbackFormatBytes;
  }
  auto* format = static_cast<MPEGLAYER3WAVEFORMAT*>(TrackedAllocZero(formatBytes, __FILE__, __LINE__));
  if (format == nullptr) return -1;
  format->wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  format->wfx.nChannels = static_cast<WORD>(scan.first.channels);
  format->wfx.nSamplesPerSec = static_cast<DWORD>(scan.first.sampleRate);
  format->wfx.nAvgBytesPerSec = static_cast<DWORD>(scan.first.kbitPerSecond * 1000 / 8);
  format->wfx.nBlockAlign = 1;
  format->wfx.cbSize = sizeof(MPEGLAYER3WAVEFORMAT) - sizeof(WAVEFORMATEX);
  format->wID = MPEGLAYER3_ID_MPEG;
  format->fdwFlags = scan.first.padding ? MPEGLAYER3_FLAG_PADDING_ON : MPEGLAYER3_FLAG_PADDING_ISO;
  format->nBlockSize = static_cast<WORD>(scan.first.frameBytes);
  format->nFramesPerBlock = 1;
  format->nCodecDelay = kCodecDelay;

  decoder->acm = AcmDecoderState{};
  decoder->acm.sourceFormat = &format->wfx;
  decoder->acm.totalSamples = static_cast<std::int32_t>(std::min<std::int64_t>(scan.samples, 0x7FFFFFFF));
  decoder->dataStart = static_cast<std::uint32_t>(scan.firstFrame);
  decoder->dataBytes = static_cast<std::uint32_t>(scan.audioEnd - scan.firstFrame);
  if (SetupAcmConversion(decoder, 4, 3) != 0) {
    CloseAcmDecoder(decoder);
    return -1;
  }
  return 0;
}
