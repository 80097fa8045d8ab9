// The audio stream parser: pulls a byte stream through the upstream pin's
// IAsyncReader, and FFmpeg decodes its first audio stream into 16-bit PCM
// at the stream's own rate and channel count (at most two). A stream
// without audio connects and offers no output.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
}

#include <memory>

#include "quartz/ffmpeg_decode_loop.h"
#include "platform/mmsystem.h"
#include "ole32/com_class_table.h"
#include "quartz/audio_pull_parser.h"
#include "quartz/quartz_filter.h"
#include "quartz/streaming_thread.h"

namespace wqplat {
namespace {

// {8D2C4A91-3E5B-4F60-B7A8-1C9E0D3F5A24}: the layer's own class.
constexpr CLSID kAudioParserClsid = {
    0x8D2C4A91, 0x3E5B, 0x4F60, {0xB7, 0xA8, 0x1C, 0x9E, 0x0D, 0x3F, 0x5A, 0x24}};

constexpr int kIoBufferBytes = 32 * 1024;

// FFmpeg's reads and seeks, served by the upstream reader.
struct ReaderIo {
  D_IAsyncReader* reader;
  LONGLONG position = 0;

  LONGLONG Total() const {
    LONGLONG total = 0;
    LONGLONG available = 0;
    reader->Length(&total, &available);
    return total;
  }
  static int Read(void* opaque, uint8_t* buffer, int size) {
    auto* io = static_cast<ReaderIo*>(opaque);
    const LONGLONG left = io->Total() - io->position;
    const LONG count = static_cast<LONG>(std::min<LONGLONG>(size, left));
    if (count <= 0) return AVERROR_EOF;
    if (FAILED(io->reader->SyncRead(io->position, count, buffer))) return AVERROR(EIO);
    io->position += count;
    return count;
  }
  static int64_t Seek(void* opaque, int64_t offset, int whence) {
    auto* io = static_cast<ReaderIo*>(opaque);
    const LONGLONG total = io->Total();
    switch (whence & ~AVSEEK_FORCE) {
      case AVSEEK_SIZE: return total;
      case SEEK_SET: io->position = offset; break;
      case SEEK_CUR: io->position += offset; break;
      case SEEK_END: io->position = total + offset; break;
      default: return -1;
    }
    return io->position;
  }
};

class AudioPullParser final : public QuartzFilter {
 public:
  AudioPullParser() : QuartzFilter(kAudioParserClsid), input_(this), output_(this) {}
  ~AudioPullParser() override { Close(); }

  int PinCount() override { return decoder_ ? 2 : 1; }
  QuartzPin* Pin(int index) override {
    if (index == 0) return &input_;
    return index == 1 && decoder_ ? &output_ : nullptr;
  }

 protected:
  HRESULT OnPause(D_FILTER_STATE old) override {
    if (old == D_State_Stopped && output_.IsConnected()) thread_.Start([this] { Stream(); });
    return S_OK;
  }
  void OnStop() override { thread_.Stop(); }

 private:
  class InputPin final : public QuartzPin {
   public:
    explicit InputPin(AudioPullParser* parser) : QuartzPin(parser, D_PINDIR_INPUT, u"Input"), parser_(parser) {}

   protected:
    HRESULT CheckMediaType(const D_AM_MEDIA_TYPE& type) override {
      return type.majortype == D_MEDIATYPE_Stream ? S_OK : S_FALSE;
    }
    HRESULT CompleteConnect(D_IPin* peer) override { return parser_->Open(peer); }
    void BreakConnect() override { parser_->Close(); }

   private:
    AudioPullParser* const parser_;
  };

  class OutputPin final : public QuartzOutputPin {
   public:
    explicit OutputPin(AudioPullParser* parser) : QuartzOutputPin(parser, u"Audio"), parser_(parser) {}

   protected:
    HRESULT CheckMediaType(const D_AM_MEDIA_TYPE& type) override {
      if (type.majortype != D_MEDIATYPE_Audio || type.subtype != D_MEDIASUBTYPE_PCM ||
          type.formattype != D_FORMAT_WaveFormatEx || type.cbFormat < sizeof(WAVEFORMATEX)) {
        return S_FALSE;
      }
      const auto* format = reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat);
      const WAVEFORMATEX own = parser_->Format();
      return format->nChannels == own.nChannels && format->nSamplesPerSec == own.nSamplesPerSec &&
                     format->wBitsPerSample == 16
                 ? S_OK
                 : S_FALSE;
    }
    bool GetMediaType(int index, D_AM_MEDIA_TYPE* type) override {
      if (index != 0 || parser_->decoder_ == nullptr) return false;
      const WAVEFORMATEX format = parser_->Format();
      *type = D_AM_MEDIA_TYPE{};
      type->majortype = D_MEDIATYPE_Audio;
      type->subtype = D_MEDIASUBTYPE_PCM;
      type->bFixedSizeSamples = TRUE;
      type->lSampleSize = format.nBlockAlign;
      type->formattype = D_FORMAT_WaveFormatEx;
      type->cbFormat = sizeof(WAVEFORMATEX);
      type->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(sizeof(WAVEFORMATEX)));
      std::memcpy(type->pbFormat, &format, sizeof(format));
      return true;
    }
    void DecideBufferSize(D_ALLOCATOR_PROPERTIES* properties) override {
      properties->cBuffers = std::max<LONG>(properties->cBuffers, 4);
      properties->cbBuffer = std::max<LONG>(properties->cbBuffer, kSampleBytes);
    }

   private:
    AudioPullParser* const parser_;
  };

  static constexpr LONG kSampleBytes = 16 * 1024;

  WAVEFORMATEX Format() const;
  HRESULT Open(D_IPin* peer);
  void Close();
  void Stream();
  // Sends the converted PCM downstream in buffer-sized pieces; false when
  // the stream should end.
  bool Deliver(const uint8_t* data, size_t bytes);

  InputPin input_;
  OutputPin output_;
  StreamingThread thread_;
  D_IAsyncReader* reader_ = nullptr;
  std::unique_ptr<ReaderIo> io_;
  AVIOContext* avio_ = nullptr;
  AVFormatContext* format_ = nullptr;
  AVCodecContext* decoder_ = nullptr;
  SwrContext* resampler_ = nullptr;
  int stream_index_ = -1;
  int channels_ = 0;
  int64_t frames_delivered_ = 0;
};

WAVEFORMATEX AudioPullParser::Format() const {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = static_cast<WORD>(channels_);
  format.nSamplesPerSec = static_cast<DWORD>(decoder_ ? decoder_->sample_rate : 0);
  format.wBitsPerSample = 16;
  format.nBlockAlign = static_cast<WORD>(channels_ * 2);
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  return format;
}

HRESULT AudioPullParser::Open(D_IPin* peer) {
  if (FAILED(peer->QueryInterface(D_IID_IAsyncReader, reinterpret_cast<void**>(&reader_)))) {
    reader_ = nullptr;
    return E_NOINTERFACE;
  }
  io_ = std::make_unique<ReaderIo>(ReaderIo{reader_});
  auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferBytes));
  avio_ = avio_alloc_context(buffer, kIoBufferBytes, 0, io_.get(), &ReaderIo::Read, nullptr, &ReaderIo::Seek);
  format_ = avformat_alloc_context();
  format_->pb = avio_;
  if (avformat_open_input(&format_, nullptr, nullptr, nullptr) < 0 || avformat_find_stream_info(format_, nullptr) < 0) {
    Close();
    return D_VFW_E_TYPE_NOT_ACCEPTED;
  }
  for (unsigned index = 0; index < format_->nb_streams && stream_index_ < 0; ++index) {
    if (format_->streams[index]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) stream_index_ = static_cast<int>(index);
  }
  if (stream_index_ < 0) return S_OK;  // connected, nothing to offer
  decoder_ = OpenStreamDecoder(*format_->streams[stream_index_]);
  if (decoder_ == nullptr || decoder_->sample_rate <= 0) {
    Close();
    return D_VFW_E_TYPE_NOT_ACCEPTED;
  }
  channels_ = std::min(decoder_->ch_layout.nb_channels, 2);
  AVChannelLayout layout{};
  av_channel_layout_default(&layout, channels_);
  swr_alloc_set_opts2(&resampler_, &layout, AV_SAMPLE_FMT_S16, decoder_->sample_rate, &decoder_->ch_layout,
                      decoder_->sample_fmt, decoder_->sample_rate, 0, nullptr);
  if (resampler_ == nullptr || swr_init(resampler_) < 0) {
    Close();
    return D_VFW_E_TYPE_NOT_ACCEPTED;
  }
  return S_OK;
}

void AudioPullParser::Close() {
  thread_.Stop();
  swr_free(&resampler_);
  avcodec_free_context(&decoder_);
  if (format_) avformat_close_input(&format_);
  if (avio_) {
    av_freep(&avio_->buffer);
    avio_context_free(&avio_);
  }
  io_.reset();
  if (reader_) reader_->Release();
  reader_ = nullptr;
  stream_index_ = -1;
  channels_ = 0;
}

bool AudioPullParser::Deliver(const uint8_t* data, size_t bytes) {
  const size_t block = static_cast<size_t>(channels_) * 2;
  while (bytes > 0 && !thread_.stopping()) {
    D_IMediaSample* sample = nullptr;
    if (FAILED(output_.GetDeliveryBuffer(&sample))) return false;
    BYTE* buffer = nullptr;
    sample->GetPointer(&buffer);
    const size_t piece = std::min(bytes, static_cast<size_t>(sample->GetSize()) / block * block);
    std::memcpy(buffer, data, piece);
    const int64_t frames = static_cast<int64_t>(piece / block);
    D_REFERENCE_TIME start = av_rescale(frames_delivered_, 10'000'000, decoder_->sample_rate);
    D_REFERENCE_TIME stop = av_rescale(frames_delivered_ + frames, 10'000'000, decoder_->sample_rate);
    sample->SetTime(&start, &stop);
    sample->SetActualDataLength(static_cast<LONG>(piece));
    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(frames_delivered_ == 0 ? TRUE : FALSE);
    const HRESULT delivered = output_.Deliver(sample);
    sample->Release();
    if (delivered != S_OK) return false;
    frames_delivered_ += frames;
    data += piece;
    bytes -= piece;
  }
  return bytes == 0;
}

void AudioPullParser::Stream() {
  frames_delivered_ = 0;
  av_seek_frame(format_, stream_index_, 0, AVSEEK_FLAG_BACKWARD);
  avcodec_flush_buffers(decoder_);
  output_.DeliverNewSegment(0, INT64_MAX, 1.0);
  std::vector<uint8_t> converted;
  const bool ended = DecodeStream(
      format_, decoder_, stream_index_, [this] { return thread_.stopping(); },
      [&](const AVFrame& frame) {
        const int capacity = swr_get_out_samples(resampler_, frame.nb_samples);
        converted.resize(static_cast<size_t>(std::max(capacity, 0)) * channels_ * 2);
        uint8_t* out = converted.data();
        const int made = swr_convert(resampler_, &out, capacity, const_cast<const uint8_t**>(frame.extended_data),
                                     frame.nb_samples);
        return made <= 0 || Deliver(converted.data(), static_cast<size_t>(made) * channels_ * 2);
      });
  if (ended) output_.DeliverEndOfStream();
}

}  // namespace

HRESULT CreateAudioPullParser(REFIID iid, void** object) { return CreateComClassObject<AudioPullParser>(iid, object); }

}  // namespace wqplat
