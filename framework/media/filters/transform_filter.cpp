// The copy transform filter and its two pins.
#include "media/filters/transform_filter.h"

#include "media/filters/allocator.h"

// ---- Input pin --------------------------------------------------------------------

D_CTransformInputPin::D_CTransformInputPin(const char* objectName, D_CTransformFilter* filter, HRESULT* result,
                                           LPCWSTR pinName)
    : D_CBaseInputPin(objectName, filter, filter->FilterLock(), result, pinName), transform_(filter) {}

HRESULT D_CTransformInputPin::QueryId(LPWSTR* id) { return CopyWideStringToTaskMemory(u"In", id); }

HRESULT D_CTransformInputPin::CheckConnect(D_IPin* pin) {
  const HRESULT result = transform_->CheckConnect(D_PINDIR_INPUT, pin);
  if (FAILED(result)) return result;
  return D_CBaseInputPin::CheckConnect(pin);
}

HRESULT D_CTransformInputPin::BreakConnect() {
  transform_->BreakConnect(D_PINDIR_INPUT);
  return D_CBaseInputPin::BreakConnect();
}

HRESULT D_CTransformInputPin::CompleteConnect(D_IPin* pin) {
  const HRESULT result = transform_->CompleteConnect(D_PINDIR_INPUT, pin);
  if (FAILED(result)) return result;
  return D_CBaseInputPin::CompleteConnect(pin);
}

HRESULT D_CTransformInputPin::CheckMediaType(const D_CMediaType* type) {
  HRESULT result = transform_->CheckInputType(type);
  if (result != S_OK) return result;
  D_CTransformOutputPin* output = transform_->OutputPin();
  if (output != nullptr && output->IsConnected())
    result = transform_->CheckTransform(type, &output->CurrentMediaType());
  return result;
}

HRESULT D_CTransformInputPin::SetMediaType(const D_CMediaType* type) {
  const HRESULT result = D_CBaseInputPin::SetMediaType(type);
  if (FAILED(result)) return result;
  return transform_->SetMediaType(D_PINDIR_INPUT, type);
}

HRESULT D_CTransformInputPin::CheckStreaming() {
  D_CTransformOutputPin* output = transform_->OutputPin();
  if (output == nullptr || !output->IsConnected()) return D_VFW_E_NOT_CONNECTED;
  if (flushing_) return S_FALSE;
  if (IsStopped()) return D_VFW_E_WRONG_STATE;
  if (runTimeError_) return D_VFW_E_RUNTIME_ERROR;
  return S_OK;
}

HRESULT D_CTransformInputPin::Receive(D_IMediaSample* sample) {
  D_CAutoLock lock(transform_->ReceiveLock());
  const HRESULT result = D_CBaseInputPin::Receive(sample);
  if (result != S_OK) return result;
  return transform_->Receive(sample);
}

HRESULT D_CTransformInputPin::EndOfStream() {
  D_CAutoLock lock(transform_->ReceiveLock());
  const HRESULT result = CheckStreaming();
  if (result != S_OK) return result;
  return transform_->EndOfStream();
}

HRESULT D_CTransformInputPin::BeginFlush() {
  D_CAutoLock lock(lock_);
  if (!IsConnected() || transform_->OutputPin() == nullptr || !transform_->OutputPin()->IsConnected())
    return D_VFW_E_NOT_CONNECTED;
  const HRESULT result = D_CBaseInputPin::BeginFlush();
  if (FAILED(result)) return result;
  return transform_->BeginFlush();
}

HRESULT D_CTransformInputPin::EndFlush() {
  D_CAutoLock lock(lock_);
  if (!IsConnected() || transform_->OutputPin() == nullptr || !transform_->OutputPin()->IsConnected())
    return D_VFW_E_NOT_CONNECTED;
  const HRESULT result = transform_->EndFlush();
  if (FAILED(result)) return result;
  return D_CBaseInputPin::EndFlush();
}

HRESULT D_CTransformInputPin::NewSegment(D_REFERENCE_TIME start, D_REFERENCE_TIME stop, double rate) {
  D_CBasePin::NewSegment(start, stop, rate);
  return transform_->NewSegment(start, stop, rate);
}

// ---- Output pin -------------------------------------------------------------------

D_CTransformOutputPin::D_CTransformOutputPin(const char* objectName, D_CTransformFilter* filter,
                                             HRESULT* result, LPCWSTR pinName)
    : D_CBaseOutputPin(objectName, filter, filter->FilterLock(), result, pinName), transform_(filter) {}

D_CTransformOutputPin::~D_CTransformOutputPin() {
  if (position_ != nullptr) position_->Release();
}

HRESULT D_CTransformOutputPin::QueryId(LPWSTR* id) { return CopyWideStringToTaskMemory(u"Out", id); }

HRESULT D_CTransformOutputPin::NonDelegatingQueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == D_IID_IMediaPosition || iid == D_IID_IMediaSeeking) {
    if (position_ == nullptr) {
      // The system's pass-through answers seeking for this pin by asking
      // the pin upstream of the filter's input.
      HRESULT result = CoCreateInstance(D_CLSID_SeekingPassThru, GetOwner(), CLSCTX_INPROC_SERVER, IID_IUnknown,
                                        reinterpret_cast<void**>(&position_));
      if (FAILED(result)) {
        position_ = nullptr;
        return result;
      }
      D_ISeekingPassThru* passThru = nullptr;
      result = position_->QueryInterface(D_IID_ISeekingPassThru, reinterpret_cast<void**>(&passThru));
      if (SUCCEEDED(result)) {
        result = passThru->Init(FALSE, transform_->InputPin());
        passThru->Release();
      }
      if (FAILED(result)) {
        position_->Release();
        position_ = nullptr;
        return result;
      }
    }
    return position_->QueryInterface(iid, object);
  }
  return D_CBaseOutputPin::NonDelegatingQueryInterface(iid, object);
}

HRESULT D_CTransformOutputPin::CheckConnect(D_IPin* pin) {
  D_CTransformInputPin* input = transform_->InputPin();
  if (input == nullptr || !input->IsConnected()) return E_UNEXPECTED;
  const HRESULT result = transform_->CheckConnect(D_PINDIR_OUTPUT, pin);
  if (FAILED(result)) return result;
  return D_CBaseOutputPin::CheckConnect(pin);
}

HRESULT D_CTransformOutputPin::BreakConnect() {
  transform_->BreakConnect(D_PINDIR_OUTPUT);
  return D_CBaseOutputPin::BreakConnect();
}

HRESULT D_CTransformOutputPin::CompleteConnect(D_IPin* pin) {
  const HRESULT result = transform_->CompleteConnect(D_PINDIR_OUTPUT, pin);
  if (FAILED(result)) return result;
  return D_CBaseOutputPin::CompleteConnect(pin);
}

HRESULT D_CTransformOutputPin::SetMediaType(const D_CMediaType* type) {
  const HRESULT result = D_CBaseOutputPin::SetMediaType(type);
  if (FAILED(result)) return result;
  return transform_->SetMediaType(D_PINDIR_OUTPUT, type);
}

HRESULT D_CTransformOutputPin::CheckMediaType(const D_CMediaType* type) {
  D_CTransformInputPin* input = transform_->InputPin();
  if (input == nullptr || !input->IsConnected()) return E_INVALIDARG;
  return transform_->CheckTransform(&input->CurrentMediaType(), type);
}

HRESULT D_CTransformOutputPin::DecideBufferSize(D_IMemAllocator* allocator, D_ALLOCATOR_PROPERTIES* properties) {
  return transform_->DecideBufferSize(allocator, properties);
}

HRESULT D_CTransformOutputPin::GetMediaType(int position, D_CMediaType* type) {
  D_CTransformInputPin* input = transform_->InputPin();
  if (input == nullptr || !input->IsConnected()) return D_VFW_S_NO_MORE_ITEMS;
  return transform_->GetMediaType(position, type);
}

HRESULT D_CTransformOutputPin::Notify(D_IBaseFilter*, D_Quality quality) {
  const HRESULT result = transform_->AlterQuality(quality);
  if (result != S_FALSE) return result;
  return transform_->InputPin()->PassNotify(quality);
}

// ---- Filter -----------------------------------------------------------------------

D_CTransformFilter::D_CTransformFilter(const char* name, IUnknown* outer, REFCLSID clsid)
    : D_CBaseFilter(name, outer, &filterLock_, clsid) {
  InitializeCriticalSection(&filterLock_);
  InitializeCriticalSection(&receiveLock_);
}

D_CTransformFilter::~D_CTransformFilter() {
  delete input_;
  delete output_;
  DeleteCriticalSection(&receiveLock_);
  DeleteCriticalSection(&filterLock_);
}

void D_CTransformFilter::MakePins() {
  HRESULT result = S_OK;
  input_ = new D_CTransformInputPin("Transform input pin", this, &result, u"XForm In");
  if (input_ == nullptr) return;
  output_ = new D_CTransformOutputPin("Transform output pin", this, &result, u"XForm Out");
  if (output_ == nullptr) {
    delete input_;
    input_ = nullptr;
  }
}

D_CBasePin* D_CTransformFilter::GetPin(int n) {
  if (input_ == nullptr) MakePins();
  if (n == 0) return input_;
  if (n == 1) return output_;
  return nullptr;
}

HRESULT D_CTransformFilter::FindPin(LPCWSTR id, D_IPin** pin) {
  if (pin == nullptr) return E_POINTER;
  int n = -1;
  if (lstrcmpW(id, u"In") == 0) n = 0;
  if (lstrcmpW(id, u"Out") == 0) n = 1;
  if (n < 0) {
    *pin = nullptr;
    return D_VFW_E_NOT_FOUND;
  }
  D_CBasePin* found = GetPin(n);
  if (found == nullptr) {
    *pin = nullptr;
    return E_OUTOFMEMORY;
  }
  *pin = found->AsPin();
  (*pin)->AddRef();
  return S_OK;
}

HRESULT D_CTransformFilter::Stop() {
  D_CAutoLock lock(&filterLock_);
  if (state_ == kFilterStopped) return S_OK;
  if (input_ == nullptr || output_ == nullptr || !input_->IsConnected() || !output_->IsConnected()) {
    state_ = kFilterStopped;
    eosDelivered_ = FALSE;
    return S_OK;
  }
  input_->Inactive();
  D_CAutoLock receiving(&receiveLock_);
  output_->Inactive();
  const HRESULT result = StopStreaming();
  if (SUCCEEDED(result)) {
    state_ = kFilterStopped;
    eosDelivered_ = FALSE;
  }
  return result;
}

HRESULT D_CTransformFilter::Pause() {
  D_CAutoLock lock(&filterLock_);
  HRESULT result = S_OK;
  if (state_ != kFilterPaused) {
    if (input_ != nullptr && input_->IsConnected()) {
      if (output_ != nullptr && output_->IsConnected()) {
        if (state_ == kFilterStopped) {
          D_CAutoLock receiving(&receiveLock_);
          result = StartStreaming();
        }
        if (SUCCEEDED(result)) result = D_CBaseFilter::Pause();
      } else {
        state_ = kFilterPaused;
      }
    } else {
      // Nothing will come in: downstream hears of the end at once.
      if (output_ != nullptr && !eosDelivered_) {
        output_->DeliverEndOfStream();
        eosDelivered_ = TRUE;
      }
      state_ = kFilterPaused;
    }
  }
  sampleSkipped_ = FALSE;
  qualityChanged_ = FALSE;
  return result;
}

HRESULT D_CTransformFilter::EndOfStream() { return output_ != nullptr ? output_->DeliverEndOfStream() : S_OK; }
HRESULT D_CTransformFilter::BeginFlush() { return output_ != nullptr ? output_->DeliverBeginFlush() : S_OK; }
HRESULT D_CTransformFilter::EndFlush() { return output_ != nullptr ? output_->DeliverEndFlush() : S_OK; }

HRESULT D_CTransformFilter::NewSegment(D_REFERENCE_TIME start, D_REFERENCE_TIME stop, double rate) {
  return output_ != nullptr ? output_->DeliverNewSegment(start, stop, rate) : S_OK;
}

HRESULT D_CTransformFilter::InitializeOutputSample(D_IMediaSample* input, D_IMediaSample** output) {
  const D_AM_SAMPLE2_PROPERTIES& in = input_->SampleProperties();
  D_REFERENCE_TIME start = in.tStart;
  D_REFERENCE_TIME stop = in.tStop;
  DWORD flags = 0;
  if (sampleSkipped_) flags |= D_AM_GBF_PREVFRAMESKIPPED;
  if (!(in.dwSampleFlags & D_AM_SAMPLE_SPLICEPOINT)) flags |= D_AM_GBF_NOTASYNCPOINT;
  const bool hasStart = (in.dwSampleFlags & D_AM_SAMPLE_TIMEVALID) != 0;
  const bool hasStop = (in.dwSampleFlags & D_AM_SAMPLE_STOPVALID) != 0;
  D_IMediaSample* sample = nullptr;
  HRESULT result = output_->Allocator()->GetBuffer(&sample, hasStart ? &start : nullptr,
                                                   hasStop ? &stop : nullptr, flags);
  if (FAILED(result)) return result;
  *output = sample;
  D_IMediaSample2* sample2 = nullptr;
  if (SUCCEEDED(sample->QueryInterface(D_IID_IMediaSample2, reinterpret_cast<void**>(&sample2)))) {
    D_AM_SAMPLE2_PROPERTIES out{};
    sample2->GetProperties(D_SAMPLE_PROPERTIES_THROUGH(lActual), reinterpret_cast<BYTE*>(&out));
    out.cbData = D_SAMPLE_PROPERTIES_THROUGH(tStop);
    out.dwTypeSpecificFlags = in.dwTypeSpecificFlags;
    out.dwSampleFlags = (out.dwSampleFlags & D_AM_SAMPLE_TYPECHANGED) | (in.dwSampleFlags & ~D_AM_SAMPLE_TYPECHANGED);
    out.tStart = in.tStart;
    out.tStop = in.tStop;
    sample2->SetProperties(out.cbData, reinterpret_cast<const BYTE*>(&out));
    sample2->Release();
    if (in.dwSampleFlags & D_AM_SAMPLE_DATADISCONTINUITY) sampleSkipped_ = FALSE;
    return S_OK;
  }
  if (hasStart) sample->SetTime(&start, hasStop ? &stop : nullptr);
  if (in.dwSampleFlags & D_AM_SAMPLE_SPLICEPOINT) sample->SetSyncPoint(TRUE);
  if (in.dwSampleFlags & D_AM_SAMPLE_DATADISCONTINUITY) {
    sample->SetDiscontinuity(TRUE);
    sampleSkipped_ = FALSE;
  }
  LONGLONG mediaStart = 0;
  LONGLONG mediaEnd = 0;
  if (input->GetMediaTime(&mediaStart, &mediaEnd) == S_OK) sample->SetMediaTime(&mediaStart, &mediaEnd);
  return S_OK;
}

HRESULT D_CTransformFilter::Receive(D_IMediaSample* sample) {
  if (input_->SampleProperties().dwStreamId != kMediaStreamId) return output_->InputPin()->Receive(sample);
  D_IMediaSample* output = nullptr;
  HRESULT result = InitializeOutputSample(sample, &output);
  if (FAILED(result)) return result;
  result = Transform(sample, output);
  if (result == S_OK) {
    result = output_->InputPin()->Receive(output);
    sampleSkipped_ = FALSE;
  } else if (result == S_FALSE) {
    // A dropped frame: the graph hears once per pause that quality fell.
    sampleSkipped_ = TRUE;
    if (!qualityChanged_) {
      NotifyEvent(D_EC_QUALITY_CHANGE, 0, 0);
      qualityChanged_ = TRUE;
    }
    result = S_OK;
  }
  output->Release();
  return result;
}
