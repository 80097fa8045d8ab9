#include "quartz/renderer_filter.h"

#include <algorithm>

#include "ole32/com_class_table.h"
#include "platform/kernel32.h"

namespace wqplat {

class RendererFilter::InputPin final : public QuartzInputPin {
 public:
  explicit InputPin(RendererFilter* renderer) : QuartzInputPin(renderer, u"In"), renderer_(renderer) {}

  HRESULT Receive(D_IMediaSample* sample) override {
    if (sample == nullptr) return E_POINTER;
    const HRESULT streaming = CheckStreaming();
    if (streaming != S_OK) return streaming;
    return renderer_->Receive(sample);
  }
  HRESULT EndOfStream() override {
    const HRESULT streaming = CheckStreaming();
    if (streaming != S_OK) return streaming;
    return renderer_->EndOfStream();
  }
  HRESULT BeginFlush() override {
    QuartzInputPin::BeginFlush();
    renderer_->Flush(true);
    return S_OK;
  }
  HRESULT EndFlush() override {
    renderer_->Flush(false);
    return QuartzInputPin::EndFlush();
  }

 protected:
  HRESULT CheckMediaType(const D_AM_MEDIA_TYPE& type) override { return renderer_->CheckMediaType(type); }
  HRESULT CompleteConnect(D_IPin*) override {
    renderer_->OnConnected(connection_type());
    return S_OK;
  }

 private:
  RendererFilter* const renderer_;
};

RendererFilter::RendererFilter(const CLSID& clsid) : QuartzFilter(clsid), pin_(std::make_unique<InputPin>(this)) {}

RendererFilter::~RendererFilter() {
  if (seeking_) seeking_->Release();
}

QuartzPin* RendererFilter::Pin(int index) { return index == 0 ? pin_.get() : nullptr; }

HRESULT RendererFilter::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == D_IID_IAMFilterMiscFlags) {
    *object = static_cast<D_IAMFilterMiscFlags*>(this);
    AddRef();
    return S_OK;
  }
  if (iid == D_IID_IMediaSeeking) {
    std::lock_guard hold(lock());
    if (seeking_ == nullptr) {
      auto* outer = static_cast<IUnknown*>(static_cast<D_IBaseFilter*>(this));
      if (FAILED(CoCreateInstance(D_CLSID_SeekingPassThru, outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(&seeking_)))) {
        seeking_ = nullptr;
        *object = nullptr;
        return E_NOINTERFACE;
      }
      D_ISeekingPassThru* pass_through = nullptr;
      seeking_->QueryInterface(D_IID_ISeekingPassThru, reinterpret_cast<void**>(&pass_through));
      pass_through->Init(TRUE, pin_.get());
      pass_through->Release();
    }
    return seeking_->QueryInterface(iid, object);
  }
  return QuartzFilter::QueryInterface(iid, object);
}

HRESULT RendererFilter::Receive(D_IMediaSample* sample) {
  {
    std::lock_guard hold(wait_lock_);
    if (end_of_stream_) return E_UNEXPECTED;
  }
  if (!WaitForRenderTime(sample)) return S_OK;
  return Render(sample);
}

bool RendererFilter::WaitForRenderTime(D_IMediaSample* sample) {
  D_REFERENCE_TIME start = 0;
  D_REFERENCE_TIME stop = 0;
  const bool timed = SUCCEEDED(sample->GetTime(&start, &stop));
  std::unique_lock hold(wait_lock_);
  for (;;) {
    if (state() == D_State_Stopped || flushing_) return false;
    if (state() == D_State_Paused) {
      wake_.wait_for(hold, std::chrono::milliseconds(10));
      continue;
    }
    D_REFERENCE_TIME now = 0;
    if (!timed || !StreamTime(&now) || now >= start) return true;
    // Sleep follows the layer's clock, so a virtual clock moves on too.
    const auto wait_ms = static_cast<DWORD>(std::clamp<D_REFERENCE_TIME>((start - now) / 10'000, 1, 10));
    hold.unlock();
    Sleep(wait_ms);
    hold.lock();
  }
}

void RendererFilter::DeliverEndOfStreamIfDue() {
  bool send = false;
  {
    std::lock_guard hold(wait_lock_);
    if (state() == D_State_Running && (end_of_stream_ || !pin_->IsConnected()) && !complete_sent_) {
      complete_sent_ = true;
      send = true;
    }
  }
  if (send) NotifyEvent(D_EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<D_IBaseFilter*>(this)));
}

HRESULT RendererFilter::EndOfStream() {
  {
    std::lock_guard hold(wait_lock_);
    end_of_stream_ = true;
  }
  DeliverEndOfStreamIfDue();
  return S_OK;
}

void RendererFilter::Flush(bool begin) {
  std::lock_guard hold(wait_lock_);
  flushing_ = begin;
  if (begin) {
    end_of_stream_ = false;
    complete_sent_ = false;
  }
  wake_.notify_all();
}

HRESULT RendererFilter::OnPause(D_FILTER_STATE old) {
  std::lock_guard hold(wait_lock_);
  if (old == D_State_Stopped) {
    end_of_stream_ = false;
    complete_sent_ = false;
  }
  wake_.notify_all();
  return S_OK;
}

HRESULT RendererFilter::OnRun(D_REFERENCE_TIME) {
  {
    std::lock_guard hold(wait_lock_);
    wake_.notify_all();
  }
  DeliverEndOfStreamIfDue();
  return S_OK;
}

void RendererFilter::OnStop() {
  std::lock_guard hold(wait_lock_);
  end_of_stream_ = false;
  complete_sent_ = false;
  wake_.notify_all();
}

// ---- The null renderer: takes every type and drops the samples. -------------------

namespace {

class NullRenderer final : public RendererFilter {
 public:
  NullRenderer() : RendererFilter(D_CLSID_NullRenderer) {}

 protected:
  HRESULT CheckMediaType(const D_AM_MEDIA_TYPE&) override { return S_OK; }
  HRESULT Render(D_IMediaSample*) override { return S_OK; }
};

}  // namespace

HRESULT CreateNullRenderer(REFIID iid, void** object) { return CreateComClassObject<NullRenderer>(iid, object); }

}  // namespace wqplat
