// The input pin: allocator hand-shake, flushing and the receive checks.
#include "media/filters/base_pin.h"

HRESULT CreateMemoryAllocator(D_IMemAllocator** allocator) {
  return CoCreateInstance(D_CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, D_IID_IMemAllocator,
                          reinterpret_cast<void**>(allocator));
}

D_CBaseInputPin::D_CBaseInputPin(const char* objectName, D_CBaseFilter* filter, CRITICAL_SECTION* lock,
                                 HRESULT* result, LPCWSTR pinName)
    : D_CBasePin(objectName, filter, lock, result, pinName, D_PINDIR_INPUT) {}

D_CBaseInputPin::~D_CBaseInputPin() {
  if (allocator_ != nullptr) allocator_->Release();
  DeleteMediaType(ownedSampleType_);
}

HRESULT D_CBaseInputPin::NonDelegatingQueryInterface(REFIID iid, void** object) {
  if (iid == D_IID_IMemInputPin) return ReturnInterface(static_cast<D_IMemInputPin*>(this), object);
  return D_CBasePin::NonDelegatingQueryInterface(iid, object);
}

HRESULT D_CBaseInputPin::GetAllocator(D_IMemAllocator** allocator) {
  if (allocator == nullptr) return E_POINTER;
  D_CAutoLock lock(lock_);
  if (allocator_ == nullptr) {
    const HRESULT result = CreateMemoryAllocator(&allocator_);
    if (FAILED(result)) return result;
  }
  *allocator = allocator_;
  allocator_->AddRef();
  return S_OK;
}

HRESULT D_CBaseInputPin::NotifyAllocator(D_IMemAllocator* allocator, BOOL readOnly) {
  D_CAutoLock lock(lock_);
  if (allocator != nullptr) allocator->AddRef();
  if (allocator_ != nullptr) allocator_->Release();
  allocator_ = allocator;
  readOnly_ = static_cast<BYTE>(readOnly != 0);
  return S_OK;
}

HRESULT D_CBaseInputPin::BreakConnect() {
  if (allocator_ != nullptr) {
    const HRESULT result = allocator_->Decommit();
    if (FAILED(result)) return result;
    allocator_->Release();
    allocator_ = nullptr;
  }
  return S_OK;
}

HRESULT D_CBaseInputPin::Inactive() {
  runTimeError_ = 0;
  if (allocator_ == nullptr) return D_VFW_E_NO_ALLOCATOR;
  flushing_ = 0;
  return allocator_->Decommit();
}

HRESULT D_CBaseInputPin::CheckStreaming() {
  if (IsStopped()) return D_VFW_E_WRONG_STATE;
  if (flushing_) return S_FALSE;
  if (runTimeError_) return D_VFW_E_RUNTIME_ERROR;
  return S_OK;
}

HRESULT D_CBaseInputPin::BeginFlush() {
  D_CAutoLock lock(lock_);
  flushing_ = 1;
  return S_OK;
}

HRESULT D_CBaseInputPin::EndFlush() {
  D_CAutoLock lock(lock_);
  flushing_ = 0;
  runTimeError_ = 0;
  return S_OK;
}

HRESULT D_CBaseInputPin::Notify(D_IBaseFilter* sender, D_Quality) {
  return sender == nullptr ? E_POINTER : S_OK;
}

HRESULT D_CBaseInputPin::PassNotify(const D_Quality& quality) {
  if (qualitySink_ != nullptr) return qualitySink_->Notify(filter_->AsBaseFilter(), quality);
  if (connected_ == nullptr) return D_VFW_E_NOT_FOUND;
  D_IQualityControl* upstream = nullptr;
  if (FAILED(connected_->QueryInterface(D_IID_IQualityControl, reinterpret_cast<void**>(&upstream))))
    return D_VFW_E_NOT_FOUND;
  const HRESULT result = upstream->Notify(filter_->AsBaseFilter(), quality);
  upstream->Release();
  return result;
}

HRESULT D_CBaseInputPin::Receive(D_IMediaSample* sample) {
  if (sample == nullptr) return E_POINTER;
  const HRESULT streaming = CheckStreaming();
  if (streaming != S_OK) return streaming;
  D_IMediaSample2* sample2 = nullptr;
  if (SUCCEEDED(sample->QueryInterface(D_IID_IMediaSample2, reinterpret_cast<void**>(&sample2)))) {
    const HRESULT result =
        sample2->GetProperties(sizeof(sampleProperties_), reinterpret_cast<BYTE*>(&sampleProperties_));
    sample2->Release();
    if (FAILED(result)) return result;
  } else {
    DeleteMediaType(ownedSampleType_);
    ownedSampleType_ = nullptr;
    sampleProperties_ = D_AM_SAMPLE2_PROPERTIES{};
    sampleProperties_.cbData = sizeof(sampleProperties_);
    DWORD& flags = sampleProperties_.dwSampleFlags;
    if (sample->IsDiscontinuity() == S_OK) flags |= D_AM_SAMPLE_DATADISCONTINUITY;
    if (sample->IsPreroll() == S_OK) flags |= D_AM_SAMPLE_PREROLL;
    if (sample->IsSyncPoint() == S_OK) flags |= D_AM_SAMPLE_SPLICEPOINT;
    if (SUCCEEDED(sample->GetTime(&sampleProperties_.tStart, &sampleProperties_.tStop)))
      flags |= D_AM_SAMPLE_TIMEVALID | D_AM_SAMPLE_STOPVALID;
    if (sample->GetMediaType(&ownedSampleType_) == S_OK) flags |= D_AM_SAMPLE_TYPECHANGED;
    sampleProperties_.pMediaType = ownedSampleType_;
    sample->GetPointer(&sampleProperties_.pbBuffer);
    sampleProperties_.lActual = sample->GetActualDataLength();
    sampleProperties_.cbBuffer = sample->GetSize();
  }
  if (sampleProperties_.dwSampleFlags & D_AM_SAMPLE_TYPECHANGED) {
    const D_CMediaType offered(*sampleProperties_.pMediaType);
    // A type this pin refuses ends the stream with an error.
    if (CheckMediaType(&offered) != S_OK) {
      runTimeError_ = 1;
      EndOfStream();
      filter_->NotifyEvent(D_EC_ERRORABORT, D_VFW_E_TYPE_NOT_ACCEPTED, 0);
      return D_VFW_E_INVALIDMEDIATYPE;
    }
  }
  return S_OK;
}

HRESULT D_CBaseInputPin::ReceiveMultiple(D_IMediaSample** samples, LONG count, LONG* processed) {
  if (samples == nullptr || processed == nullptr) return E_POINTER;
  *processed = 0;
  HRESULT result = S_OK;
  while (count-- > 0) {
    result = Receive(samples[*processed]);
    if (result != S_OK) break;
    ++*processed;
  }
  return result;
}

HRESULT D_CBaseInputPin::ReceiveCanBlock() {
  const int count = filter_->GetPinCount();
  int connectedOutputs = 0;
  for (int n = 0; n < count; ++n) {
    D_CBasePin* pin = filter_->GetPin(n);
    if (pin == nullptr) continue;
    D_PIN_DIRECTION direction;
    const HRESULT result = pin->QueryDirection(&direction);
    if (FAILED(result)) return result;
    if (direction != D_PINDIR_OUTPUT || pin->GetConnected() == nullptr) continue;
    ++connectedOutputs;
    D_IMemInputPin* downstream = nullptr;
    if (FAILED(pin->GetConnected()->QueryInterface(D_IID_IMemInputPin, reinterpret_cast<void**>(&downstream))))
      return S_OK;
    const HRESULT blocks = downstream->ReceiveCanBlock();
    downstream->Release();
    if (blocks != S_FALSE) return S_OK;
  }
  return connectedOutputs > 0 ? S_FALSE : S_OK;
}
