// The movie file source: FFmpeg reads and decodes the file's first video
// stream into bottom-up RGB24 frames (rows padded to 4 bytes) on its
// streaming thread; its output pin seeks.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <cstring>
#include <memory>

#include "kernel32/path_mapping.h"
#include "quartz/ffmpeg_decode_loop.h"
#include "kernel32/wide_text.h"
#include "quartz/filter_catalog.h"
#include "quartz/quartz_filter.h"
#include "quartz/streaming_thread.h"

namespace wqplat {
namespace {

// {5B8E3F2A-7C41-4D0E-9A63-2F1D8C4B7E90}: the layer's own class.
constexpr CLSID kMovieFileSourceClsid = {
    0x5B8E3F2A, 0x7C41, 0x4D0E, {0x9A, 0x63, 0x2F, 0x1D, 0x8C, 0x4B, 0x7E, 0x90}};

constexpr D_REFERENCE_TIME kUnitsPerSecond = 10'000'000;

// Containers that hold pictures, not movies.
bool IsPictureFormat(const AVFormatContext& format, const AVStream& stream) {
  const char* name = format.iformat->name;
  if (std::strstr(name, "_pipe") || std::strcmp(name, "image2") == 0 || std::strcmp(name, "gif") == 0 ||
      std::strcmp(name, "apng") == 0) {
    return true;
  }
  return (stream.disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
}

D_REFERENCE_TIME ToReferenceTime(int64_t value, AVRational base) {
  return av_rescale_q(value, base, AVRational{1, static_cast<int>(kUnitsPerSecond)});
}

class MovieFileSource final : public QuartzFilter {
 public:
  MovieFileSource() : QuartzFilter(kMovieFileSourceClsid), pin_(this) {}
  ~MovieFileSource() override {
    thread_.Stop();
    sws_freeContext(scaler_);
    avcodec_free_context(&decoder_);
    avformat_close_input(&format_);
  }

  HRESULT Open(const std::string& path);
  int PinCount() override { return 1; }
  QuartzPin* Pin(int index) override { return index == 0 ? &pin_ : nullptr; }

 protected:
  HRESULT OnPause(D_FILTER_STATE old) override {
    if (old == D_State_Stopped) StartStreaming();
    return S_OK;
  }
  void OnStop() override {
    thread_.Stop();  // renderers stop first, so no delivery still blocks
  }

 private:
  class OutputPin final : public QuartzOutputPin, public D_IMediaSeeking {
   public:
    explicit OutputPin(MovieFileSource* source) : QuartzOutputPin(source, u"Video"), source_(source) {}

    HRESULT QueryInterface(REFIID iid, void** object) override {
      if (object && iid == D_IID_IMediaSeeking) {
        *object = static_cast<D_IMediaSeeking*>(this);
        AddRef();
        return S_OK;
      }
      return QuartzOutputPin::QueryInterface(iid, object);
    }
    ULONG AddRef() override { return QuartzOutputPin::AddRef(); }
    ULONG Release() override { return QuartzOutputPin::Release(); }

    HRESULT GetCapabilities(DWORD* capabilities) override {
      if (capabilities == nullptr) return E_POINTER;
      *capabilities = kCapabilities;
      return S_OK;
    }
    HRESULT CheckCapabilities(DWORD* capabilities) override {
      if (capabilities == nullptr) return E_POINTER;
      const DWORD asked = *capabilities;
      *capabilities &= kCapabilities;
      return *capabilities == asked ? S_OK : (*capabilities ? S_FALSE : E_FAIL);
    }
    HRESULT IsFormatSupported(const GUID* format) override {
      if (format == nullptr) return E_POINTER;
      return *format == D_TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
    }
    HRESULT QueryPreferredFormat(GUID* format) override { return GetTimeFormat(format); }
    HRESULT GetTimeFormat(GUID* format) override {
      if (format == nullptr) return E_POINTER;
      *format = D_TIME_FORMAT_MEDIA_TIME;
      return S_OK;
    }
    HRESULT IsUsingTimeFormat(const GUID* format) override { return IsFormatSupported(format); }
    HRESULT SetTimeFormat(const GUID* format) override {
      return IsFormatSupported(format) == S_OK ? S_OK : E_INVALIDARG;
    }
    HRESULT GetDuration(LONGLONG* duration) override { return Answer(duration, source_->duration_); }
    HRESULT GetStopPosition(LONGLONG* stop) override { return Answer(stop, source_->stop_); }
    HRESULT GetCurrentPosition(LONGLONG* current) override { return Answer(current, source_->current_.load()); }
    HRESULT ConvertTimeFormat(LONGLONG* target, const GUID* target_format, LONGLONG value,
                              const GUID* source_format) override {
      if (target == nullptr) return E_POINTER;
      if ((target_format && *target_format != D_TIME_FORMAT_MEDIA_TIME) ||
          (source_format && *source_format != D_TIME_FORMAT_MEDIA_TIME)) {
        return E_INVALIDARG;
      }
      *target = value;
      return S_OK;
    }
    HRESULT SetPositions(LONGLONG* current, DWORD current_flags, LONGLONG* stop, DWORD stop_flags) override {
      return source_->Seek(current, current_flags, stop, stop_flags);
    }
    HRESULT GetPositions(LONGLONG* current, LONGLONG* stop) override {
      if (current) *current = source_->current_;
      if (stop) *stop = source_->stop_;
      return S_OK;
    }
    HRESULT GetAvailable(LONGLONG* earliest, LONGLONG* latest) override {
      if (earliest) *earliest = 0;
      if (latest) *latest = source_->duration_;
      return S_OK;
    }
    HRESULT SetRate(double rate) override { return rate == 1.0 ? S_OK : E_INVALIDARG; }
    HRESULT GetRate(double* rate) override { return Answer(rate, 1.0); }
    HRESULT GetPreroll(LONGLONG* preroll) override { return Answer(preroll, LONGLONG{0}); }

   protected:
    HRESULT CheckMediaType(const D_AM_MEDIA_TYPE& type) override {
      return type.majortype == D_MEDIATYPE_Video && type.subtype == D_MEDIASUBTYPE_RGB24 &&
                     type.formattype == D_FORMAT_VideoInfo
                 ? S_OK
                 : S_FALSE;
    }
    bool GetMediaType(int index, D_AM_MEDIA_TYPE* type) override {
      if (index != 0) return false;
      source_->DescribeOutput(type);
      return true;
    }
    void DecideBufferSize(D_ALLOCATOR_PROPERTIES* properties) override {
      properties->cBuffers = std::max<LONG>(properties->cBuffers, 2);
      properties->cbBuffer = std::max<LONG>(properties->cbBuffer, source_->FrameBytes());
    }

   private:
    static constexpr DWORD kCapabilities = D_AM_SEEKING_CanSeekAbsolute | D_AM_SEEKING_CanSeekForwards |
                                           D_AM_SEEKING_CanSeekBackwards | D_AM_SEEKING_CanGetCurrentPos |
                                           D_AM_SEEKING_CanGetStopPos | D_AM_SEEKING_CanGetDuration;
    template <class Value>
    static HRESULT Answer(Value* out, Value value) {
      if (out == nullptr) return E_POINTER;
      *out = value;
      return S_OK;
    }
    MovieFileSource* const source_;
  };

  LONG Pitch() const { return (width_ * 3 + 3) & ~3; }
  LONG FrameBytes() const { return Pitch() * height_; }
  void DescribeOutput(D_AM_MEDIA_TYPE* type) const;
  HRESULT Seek(LONGLONG* current, DWORD current_flags, LONGLONG* stop, DWORD stop_flags);
  void StartStreaming();
  void Stream();
  // False when the stream should end (stop, flush or a refused sample).
  bool DeliverFrame(const AVFrame& frame, bool* first);

  OutputPin pin_;
  StreamingThread thread_;
  AVFormatContext* format_ = nullptr;
  AVCodecContext* decoder_ = nullptr;
  SwsContext* scaler_ = nullptr;
  int stream_index_ = -1;
  int width_ = 0;
  int height_ = 0;
  D_REFERENCE_TIME frame_duration_ = 400'000;
  D_REFERENCE_TIME duration_ = 0;
  D_REFERENCE_TIME start_ = 0;  // where the current segment begins
  D_REFERENCE_TIME stop_ = 0;
  std::atomic<D_REFERENCE_TIME> current_{0};
};

HRESULT MovieFileSource::Open(const std::string& path) {
  if (avformat_open_input(&format_, path.c_str(), nullptr, nullptr) < 0) return D_VFW_E_UNKNOWN_FILE_TYPE;
  if (avformat_find_stream_info(format_, nullptr) < 0) return D_VFW_E_INVALID_FILE_FORMAT;
  stream_index_ = av_find_best_stream(format_, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (stream_index_ < 0) return D_VFW_E_UNSUPPORTED_STREAM;
  AVStream* stream = format_->streams[stream_index_];
  if (IsPictureFormat(*format_, *stream)) return D_VFW_E_UNKNOWN_FILE_TYPE;
  decoder_ = OpenStreamDecoder(*stream);
  if (decoder_ == nullptr) return D_VFW_E_UNSUPPORTED_STREAM;
  width_ = decoder_->width;
  height_ = decoder_->height;
  if (width_ <= 0 || height_ <= 0) return D_VFW_E_INVALID_FILE_FORMAT;
  const AVRational rate = av_guess_frame_rate(format_, stream, nullptr);
  if (rate.num > 0 && rate.den > 0) frame_duration_ = av_rescale(kUnitsPerSecond, rate.den, rate.num);
  if (stream->duration != AV_NOPTS_VALUE) {
    duration_ = ToReferenceTime(stream->duration, stream->time_base);
  } else if (format_->duration != AV_NOPTS_VALUE) {
    duration_ = av_rescale(format_->duration, kUnitsPerSecond, AV_TIME_BASE);
  }
  stop_ = duration_;
  return S_OK;
}

void MovieFileSource::DescribeOutput(D_AM_MEDIA_TYPE* type) const {
  *type = D_AM_MEDIA_TYPE{};
  type->majortype = D_MEDIATYPE_Video;
  type->subtype = D_MEDIASUBTYPE_RGB24;
  type->bFixedSizeSamples = TRUE;
  type->lSampleSize = static_cast<ULONG>(FrameBytes());
  type->formattype = D_FORMAT_VideoInfo;
  type->cbFormat = sizeof(D_VIDEOINFOHEADER);
  type->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(sizeof(D_VIDEOINFOHEADER)));
  auto* info = reinterpret_cast<D_VIDEOINFOHEADER*>(type->pbFormat);
  *info = D_VIDEOINFOHEADER{};
  info->rcSource = {0, 0, width_, height_};
  info->rcTarget = info->rcSource;
  info->AvgTimePerFrame = frame_duration_;
  info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info->bmiHeader.biWidth = width_;
  info->bmiHeader.biHeight = height_;  // positive: rows run bottom-up
  info->bmiHeader.biPlanes = 1;
  info->bmiHeader.biBitCount = 24;
  info->bmiHeader.biSizeImage = static_cast<DWORD>(FrameBytes());
}

void MovieFileSource::StartStreaming() {
  if (!pin_.IsConnected()) return;
  thread_.Start([this] { Stream(); });
}

HRESULT MovieFileSource::Seek(LONGLONG* current, DWORD current_flags, LONGLONG* stop, DWORD stop_flags) {
  const DWORD current_mode = current_flags & D_AM_SEEKING_PositioningBitsMask;
  const DWORD stop_mode = stop_flags & D_AM_SEEKING_PositioningBitsMask;
  if ((current_mode != D_AM_SEEKING_NoPositioning && current == nullptr) ||
      (stop_mode != D_AM_SEEKING_NoPositioning && stop == nullptr)) {
    return E_POINTER;
  }
  std::lock_guard hold(lock());
  const bool streaming = state() != D_State_Stopped && pin_.IsConnected();
  if (streaming) {
    pin_.DeliverBeginFlush();
    thread_.Stop();
    pin_.DeliverEndFlush();
  }
  if (stop_mode == D_AM_SEEKING_AbsolutePositioning) stop_ = *stop;
  if (stop_mode == D_AM_SEEKING_RelativePositioning) stop_ += *stop;
  if (current_mode != D_AM_SEEKING_NoPositioning) {
    start_ = current_mode == D_AM_SEEKING_AbsolutePositioning ? *current : current_ + *current;
    start_ = std::clamp<D_REFERENCE_TIME>(start_, 0, duration_);
    current_ = start_;
    const AVStream* stream = format_->streams[stream_index_];
    const int64_t target = av_rescale_q(start_, AVRational{1, static_cast<int>(kUnitsPerSecond)}, stream->time_base);
    avformat_seek_file(format_, stream_index_, INT64_MIN, target, target, AVSEEK_FLAG_BACKWARD);
    avcodec_flush_buffers(decoder_);
  }
  if (streaming) StartStreaming();
  return S_OK;
}

bool MovieFileSource::DeliverFrame(const AVFrame& frame, bool* first) {
  const AVStream* stream = format_->streams[stream_index_];
  const int64_t pts = frame.best_effort_timestamp;
  const D_REFERENCE_TIME time = pts == AV_NOPTS_VALUE ? current_.load() : ToReferenceTime(pts, stream->time_base);
  if (time + frame_duration_ <= start_) return true;  // decoded up to the sought position
  if (time >= stop_) return false;
  D_IMediaSample* sample = nullptr;
  if (FAILED(pin_.GetDeliveryBuffer(&sample))) return false;
  BYTE* buffer = nullptr;
  sample->GetPointer(&buffer);
  scaler_ = sws_getCachedContext(scaler_, frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), width_,
                                 height_, AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
  // Bottom-up: the first picture row goes last.
  uint8_t* rows[4] = {buffer + static_cast<size_t>(Pitch()) * (height_ - 1), nullptr, nullptr, nullptr};
  const int strides[4] = {-Pitch(), 0, 0, 0};
  if (scaler_) sws_scale(scaler_, frame.data, frame.linesize, 0, frame.height, rows, strides);
  D_REFERENCE_TIME begin = std::max<D_REFERENCE_TIME>(time - start_, 0);
  D_REFERENCE_TIME end = begin + frame_duration_;
  sample->SetTime(&begin, &end);
  sample->SetActualDataLength(FrameBytes());
  sample->SetSyncPoint(TRUE);
  sample->SetDiscontinuity(*first ? TRUE : FALSE);
  *first = false;
  const HRESULT delivered = pin_.Deliver(sample);
  sample->Release();
  current_ = time;
  return delivered == S_OK;
}

// At the stop position, or at the end of the file, the stream ends.
void MovieFileSource::Stream() {
  pin_.DeliverNewSegment(start_, stop_, 1.0);
  bool first = true;
  DecodeStream(
      format_, decoder_, stream_index_, [this] { return thread_.stopping(); },
      [&](const AVFrame& frame) { return DeliverFrame(frame, &first); });
  if (!thread_.stopping()) {
    current_ = stop_;
    pin_.DeliverEndOfStream();
  }
}

}  // namespace

HRESULT CreateMovieFileSource(LPCWSTR path, D_IBaseFilter** filter) {
  if (path == nullptr || filter == nullptr) return E_POINTER;
  *filter = nullptr;
  bool substituted = false;
  const std::string narrow = Utf16ToNarrow(path, "CP932", '?', substituted);
  MappedPath mapped;
  const DWORD error = MapExistingWindowsPath(narrow.c_str(), &mapped);
  if (error != 0) return HRESULT_FROM_WIN32(error);
  auto* source = new MovieFileSource();
  const HRESULT result = source->Open(mapped.linux_path);
  if (FAILED(result)) {
    source->Release();
    return result;
  }
  *filter = source;
  return S_OK;
}

}  // namespace wqplat
