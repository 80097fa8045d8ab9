// The video renderer's quality management: frame statistics, quality
// messages upstream and the decision to draw a late frame at once, to
// schedule it, or to drop it. Times are in 100 ns units unless named ms.
#include <algorithm>

#include "media/filters/base_renderer.h"

namespace {

constexpr LONGLONG kLatenessLimit = 500000000;
constexpr LONGLONG kEarlyStartShift = 80000;
constexpr LONGLONG kLongestSinceDraw = 10000000;
constexpr LONGLONG kDropRenderAverageLimit = 80000;
constexpr int kLatenessLimitMs = 1000;

LONGLONG Clamp(LONGLONG value, LONGLONG limit) { return std::clamp(value, -limit, limit); }

// Integer square root by Newton's iteration.
LONGLONG IntegerSquareRoot(LONGLONG value) {
  if (value <= 0) return 0;
  if (value > (1LL << 30)) return 32768;
  LONGLONG root = value;
  LONGLONG next = (root + 1) / 2;
  while (next < root) {
    root = next;
    next = (root + value / root) / 2;
  }
  return root;
}

// sum * sum / n, held at the 64-bit limits.
LONGLONG SquareOverCount(LONGLONG sum, LONGLONG n) {
  const __int128 product = static_cast<__int128>(sum) * sum / n;
  if (product > INT64_MAX) return INT64_MAX;
  return static_cast<LONGLONG>(product);
}

int StandardDeviation(LONGLONG n, LONGLONG squares, LONGLONG sum) {
  if (n <= 1) return 0;
  const LONGLONG spread = squares - SquareOverCount(sum, n);
  return static_cast<int>(IntegerSquareRoot(spread / (n - 1)));
}

}  // namespace

D_CBaseVideoRenderer::D_CBaseVideoRenderer(REFCLSID clsid, const char* name, IUnknown* outer, HRESULT* result)
    : D_CBaseRenderer(clsid, name, outer, result) {
  ResetStreamingTimes();
}

D_CBaseVideoRenderer::~D_CBaseVideoRenderer() = default;

HRESULT D_CBaseVideoRenderer::NonDelegatingQueryInterface(REFIID iid, void** object) {
  if (iid == D_IID_IQualProp) return ReturnInterface(static_cast<D_IQualProp*>(this), object);
  if (iid == D_IID_IQualityControl) return ReturnInterface(static_cast<D_IQualityControl*>(this), object);
  return D_CBaseRenderer::NonDelegatingQueryInterface(iid, object);
}

HRESULT D_CBaseVideoRenderer::ResetStreamingTimes() {
  lastDraw_ = -1000;
  framesDropped_ = 0;
  framesDrawn_ = 0;
  latenessSum_ = 0;
  latenessSquares_ = 0;
  intervalSum_ = 0;
  intervalSquares_ = 0;
  earliness_ = -300000;
  frameDurationAverage_ = -1;
  renderAverage2_ = 0;
  waitAverage_ = 0;
  framesDroppedInRow_ = 0;
  pendingLateness_ = 0;
  pendingInterval_ = 0;
  streamingStart_ = static_cast<int>(timeGetTime());
  return S_OK;
}

HRESULT D_CBaseVideoRenderer::OnStartStreaming() { return ResetStreamingTimes(); }

HRESULT D_CBaseVideoRenderer::OnStopStreaming() {
  streamingStart_ = static_cast<int>(timeGetTime()) - streamingStart_;
  return S_OK;
}

BOOL D_CBaseVideoRenderer::ScheduleSample(D_IMediaSample* sample) {
  const BOOL scheduled = D_CBaseRenderer::ScheduleSample(sample);
  if (!scheduled) ++framesDropped_;
  return scheduled;
}

void D_CBaseVideoRenderer::RecordFrameLateness(int lateMs, int intervalMs) {
  if (lateMs > kLatenessLimitMs || lateMs < -kLatenessLimitMs) {
    lateMs = framesDrawn_ > 1 ? (lateMs > 0 ? kLatenessLimitMs : -kLatenessLimitMs) : 0;
  }
  if (framesDrawn_ >= 1) {
    latenessSum_ += lateMs;
    latenessSquares_ += static_cast<LONGLONG>(lateMs) * lateMs;
  }
  if (framesDrawn_ >= 2) {
    if (intervalMs < 0 || intervalMs > kLatenessLimitMs) intervalMs = kLatenessLimitMs;
    intervalSum_ += intervalMs;
    intervalSquares_ += static_cast<LONGLONG>(intervalMs) * intervalMs;
  }
  ++framesDrawn_;
}

void D_CBaseVideoRenderer::ThrottleWait() { Sleep(throttle_ >= 1 ? static_cast<DWORD>(throttle_ / 10000) : 0); }

void D_CBaseVideoRenderer::OnRenderStart(D_IMediaSample*) {
  RecordFrameLateness(pendingLateness_, pendingInterval_);
  renderStart_ = timeGetTime();
}

void D_CBaseVideoRenderer::OnRenderEnd(D_IMediaSample*) {
  const int spent = static_cast<int>(timeGetTime() - renderStart_) * 10000;
  if (spent >= 2 * renderAverage_ && spent >= 2 * lastRenderTime_) {
    // A spike: it does not move the average.
    lastRenderTime_ = spent;
  } else {
    renderAverage_ = (3 * renderAverage_ + spent) / 4;
    lastRenderTime_ = spent;
  }
  ThrottleWait();
}

void D_CBaseVideoRenderer::OnDirectRender(D_IMediaSample*) {
  renderAverage_ = 0;
  lastRenderTime_ = 5000000;
  RecordFrameLateness(pendingLateness_, pendingInterval_);
  ThrottleWait();
}

HRESULT D_CBaseVideoRenderer::SendQuality(D_REFERENCE_TIME late, D_REFERENCE_TIME now) {
  LONG proportion = 1000;
  if (frameDurationAverage_ >= 0) {
    if (late <= 0) {
      if (renderAverage2_ >= frameDurationAverage_) {
        proportion = 2000;
      } else if (renderAverage2_ > 20000 && late < -20000) {
        const LONGLONG share =
            1000LL * frameDurationAverage_ / (frameDurationAverage_ - renderAverage2_ + 20000);
        proportion = static_cast<LONG>(std::min<LONGLONG>(share, 2000));
      }
    } else {
      proportion = static_cast<LONG>(std::max<LONGLONG>(1000 - late / 10000, 500));
    }
  }
  if (qualitySink_ == nullptr) {
    D_IPin* upstream = inputPin_ != nullptr ? inputPin_->GetConnected() : nullptr;
    if (upstream == nullptr ||
        FAILED(upstream->QueryInterface(D_IID_IQualityControl, reinterpret_cast<void**>(&qualitySink_)))) {
      qualitySink_ = nullptr;
      return S_FALSE;
    }
  }
  D_Quality quality{};
  quality.Type = late > 0 ? D_Famine : D_Flood;
  quality.Proportion = proportion;
  quality.Late = late + renderAverage_ / 2;
  quality.TimeStamp = now;
  return qualitySink_->Notify(static_cast<D_IBaseFilter*>(this), quality);
}

HRESULT D_CBaseVideoRenderer::ShouldDrawSampleNow(D_IMediaSample* sample, D_REFERENCE_TIME* start,
                                                  D_REFERENCE_TIME* stop) {
  if (*start >= kEarlyStartShift) {
    *start -= kEarlyStartShift;
    *stop -= kEarlyStartShift;
  }
  lastSampleStart_ = *start;
  D_REFERENCE_TIME clockTime = 0;
  clock_->GetTime(&clockTime);
  const LONGLONG now = clockTime - streamStart_;
  const LONGLONG late = Clamp(now - *start, kLatenessLimit);
  supplierHandlesQuality_ = SendQuality(late, now) == S_OK;
  const LONGLONG duration = *stop - *start;
  if (std::llabs(duration - previousDuration_) > previousDuration_ / 32) {
    frameDurationAverage_ = static_cast<int>(duration);
    previousDuration_ = static_cast<int>(duration);
  }
  const bool forced = (supplierHandlesQuality_ && sample->IsDiscontinuity() == S_OK) || framesDroppedInRow_ == -1;
  if (late >= 1) {
    waitAverage_ = 0;
  } else if (late >= waitAverage_ || forced) {
    waitAverage_ = static_cast<int>(late);
  } else {
    waitAverage_ -= waitAverage_ / 8;
  }
  const auto earliness = static_cast<int>((3LL * renderAverage2_ - (late < 0 ? late : 0)) / 4);
  const LONGLONG since = std::min(now - lastDraw_, kLongestSinceDraw);

  if (3LL * renderAverage_ > frameDurationAverage_) {
    // Rendering takes longer than a frame lasts: drop what cannot catch up.
    const bool canDraw = supplierHandlesQuality_ ? late <= 4 * duration : 2 * late < duration;
    if (!canDraw && renderAverage2_ <= kDropRenderAverageLimit && since <= kLongestSinceDraw) {
      framesDroppedInRow_ = -1;
      renderAverage2_ = earliness;
      return E_FAIL;
    }
  }
  const bool drawNow =
      forced || (frameDurationAverage_ > duration + duration / 16 && late > -10 * duration);
  if (late >= -9000000 && drawNow) {
    renderAverage2_ = 3 * renderAverage2_ / 4;
    frameDurationAverage_ = static_cast<int>((since + 3LL * frameDurationAverage_) / 4);
    framesDroppedInRow_ = 0;
    pendingLateness_ = static_cast<int>(late / 10000);
    pendingInterval_ = static_cast<int>(since / 10000);
    lastDraw_ = now;
    if (waitAverage_ > late) waitAverage_ = static_cast<int>(late);
    return S_OK;
  }
  ++framesDroppedInRow_;
  frameDurationAverage_ = static_cast<int>(duration);
  *start += std::max<LONGLONG>(waitAverage_, -duration);
  renderAverage2_ = earliness;
  if (late >= 0) {
    lastDraw_ = now;
    pendingLateness_ = static_cast<int>(late / 10000);
    pendingInterval_ = static_cast<int>(since / 10000);
    return S_OK;
  }
  const LONGLONG scheduledSince = Clamp(*start - lastDraw_, kLatenessLimit);
  const LONGLONG lateness = Clamp(*start - lastSampleStart_, kLatenessLimit);
  lastDraw_ = *start;
  pendingLateness_ = static_cast<int>(lateness / 10000);
  pendingInterval_ = static_cast<int>(scheduledSince / 10000);
  return S_FALSE;
}

HRESULT D_CBaseVideoRenderer::JoinFilterGraph(D_IFilterGraph* graph, LPCWSTR name) {
  if (graph == nullptr && graph_ != nullptr && eventSink_ != nullptr)
    eventSink_->Notify(D_EC_WINDOW_DESTROYED, reinterpret_cast<LONG_PTR>(static_cast<D_IBaseFilter*>(this)), 0);
  return D_CBaseRenderer::JoinFilterGraph(graph, name);
}

// ---- Statistics -------------------------------------------------------------------

HRESULT D_CBaseVideoRenderer::get_FramesDroppedInRenderer(int* frames) {
  if (frames == nullptr) return E_POINTER;
  D_CAutoLock lock(&objectLock_);
  *frames = framesDropped_;
  return S_OK;
}

HRESULT D_CBaseVideoRenderer::get_FramesDrawn(int* frames) {
  if (frames == nullptr) return E_POINTER;
  D_CAutoLock lock(&objectLock_);
  *frames = framesDrawn_;
  return S_OK;
}

HRESULT D_CBaseVideoRenderer::get_AvgFrameRate(int* rate) {
  if (rate == nullptr) return E_POINTER;
  D_CAutoLock lock(&objectLock_);
  const int elapsed = streaming_ ? static_cast<int>(timeGetTime()) - streamingStart_ : streamingStart_;
  // Frames per second times 100.
  *rate = elapsed <= 0 ? 0 : MulDiv(100000, framesDrawn_, elapsed);
  return S_OK;
}

HRESULT D_CBaseVideoRenderer::get_Jitter(int* jitter) {
  if (jitter == nullptr) return E_POINTER;
  D_CAutoLock lock(&objectLock_);
  *jitter = clock_ == nullptr ? 0 : StandardDeviation(framesDrawn_ - 2, intervalSquares_, intervalSum_);
  return S_OK;
}

HRESULT D_CBaseVideoRenderer::get_AvgSyncOffset(int* offset) {
  if (offset == nullptr) return E_POINTER;
  D_CAutoLock lock(&objectLock_);
  *offset = clock_ == nullptr || framesDrawn_ <= 1 ? 0 : static_cast<int>(latenessSum_ / (framesDrawn_ - 1));
  return S_OK;
}

HRESULT D_CBaseVideoRenderer::get_DevSyncOffset(int* deviation) {
  if (deviation == nullptr) return E_POINTER;
  D_CAutoLock lock(&objectLock_);
  *deviation = clock_ == nullptr ? 0 : StandardDeviation(framesDrawn_ - 1, latenessSquares_, latenessSum_);
  return S_OK;
}

HRESULT D_CBaseVideoRenderer::Notify(D_IBaseFilter*, D_Quality quality) {
  throttle_ = quality.Proportion < 1000 ? 388880000 / (quality.Proportion + 167) - 330000 : 0;
  return S_OK;
}

HRESULT D_CBaseVideoRenderer::SetSink(D_IQualityControl* sink) {
  D_CAutoLock lock(&objectLock_);
  // Held with a reference, like the sink taken from the connected pin.
  if (sink != nullptr) sink->AddRef();
  if (qualitySink_ != nullptr) qualitySink_->Release();
  qualitySink_ = sink;
  return S_OK;
}
