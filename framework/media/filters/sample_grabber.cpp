// The sample grabber filter, its input pin and the allocator over the
// owner's delivery buffer.
#include "media/filters/sample_grabber.h"

#include "media/filters/enumerators.h"

// ---- Allocator --------------------------------------------------------------------

D_CSampleGrabberAllocator::D_CSampleGrabberAllocator(D_CSampleGrabberInPin* pin, HRESULT* result)
    : D_CMemAllocator("SampleGrabberAllocator", nullptr, result), pin_(pin) {}

D_CSampleGrabberAllocator::~D_CSampleGrabberAllocator() {
  // The block is the owner's: only the samples go.
  while (D_CMediaSample* sample = PopFree()) delete sample;
  allocated_ = 0;
  block_ = nullptr;
}

HRESULT D_CSampleGrabberAllocator::SetProperties(D_ALLOCATOR_PROPERTIES* request, D_ALLOCATOR_PROPERTIES* actual) {
  const HRESULT result = D_CMemAllocator::SetProperties(request, actual);
  if (FAILED(result)) return result;
  const D_ALLOCATOR_PROPERTIES& delivery = pin_->DeliveryProperties();
  if (request->cbAlign != delivery.cbAlign) return D_VFW_E_BADALIGN;
  if (request->cbPrefix != delivery.cbPrefix || request->cbBuffer > delivery.cbBuffer ||
      request->cBuffers > delivery.cBuffers)
    return E_FAIL;
  *actual = delivery;
  D_CAutoLock lock(&lock_);
  count_ = delivery.cBuffers;
  size_ = delivery.cbBuffer;
  alignment_ = delivery.cbAlign;
  prefix_ = delivery.cbPrefix;
  return S_OK;
}

HRESULT D_CSampleGrabberAllocator::Alloc() {
  D_CAutoLock lock(&lock_);
  const HRESULT checked = D_CBaseAllocator::Alloc();
  if (FAILED(checked)) return checked;
  if (checked == S_FALSE) return S_OK;
  if (block_ != nullptr) {
    while (D_CMediaSample* sample = PopFree()) delete sample;
    allocated_ = 0;
  }
  block_ = pin_->DeliveryBuffer();
  if (block_ == nullptr) return E_OUTOFMEMORY;
  const HRESULT result = MakeSamples(AlignedBufferSize());
  if (FAILED(result)) return result;
  changed_ = FALSE;
  return S_OK;
}

// ---- Input pin --------------------------------------------------------------------

D_CSampleGrabberInPin::D_CSampleGrabberInPin(D_CSampleGrabber* filter, HRESULT* result)
    : D_CTransInPlaceInputPin("SampleGrabberInputPin", filter, result, u"Input"), grabber_(filter) {}

D_CSampleGrabberInPin::~D_CSampleGrabberInPin() { delete ownAllocator_; }

HRESULT D_CSampleGrabberInPin::SetDeliveryBuffer(D_ALLOCATOR_PROPERTIES properties, BYTE* buffer) {
  if (properties.cBuffers != 1) return E_INVALIDARG;
  if (buffer == nullptr) return E_POINTER;
  deliveryBuffer_ = buffer;
  deliveryProperties_ = properties;
  if (ownAllocator_ != nullptr) {
    ownAllocator_->AsAllocator()->Release();
    ownAllocator_ = nullptr;
  }
  HRESULT result = S_OK;
  ownAllocator_ = new D_CSampleGrabberAllocator(this, &result);
  if (ownAllocator_ == nullptr) return E_OUTOFMEMORY;
  ownAllocator_->AsAllocator()->AddRef();
  return result;
}

HRESULT D_CSampleGrabberInPin::GetAllocator(D_IMemAllocator** allocator) {
  if (ownAllocator_ == nullptr) return D_CTransInPlaceInputPin::GetAllocator(allocator);
  if (allocator == nullptr) return E_POINTER;
  *allocator = ownAllocator_->AsAllocator();
  (*allocator)->AddRef();
  return S_OK;
}

HRESULT D_CSampleGrabberInPin::NotifyAllocator(D_IMemAllocator* allocator, BOOL readOnly) {
  if (ownAllocator_ != nullptr) {
    if (allocator != ownAllocator_->AsAllocator()) return E_FAIL;
    if (readOnly && grabber_->ModifiesData()) return E_FAIL;
  }
  return D_CTransInPlaceInputPin::NotifyAllocator(allocator, readOnly);
}

HRESULT D_CSampleGrabberInPin::GetAllocatorRequirements(D_ALLOCATOR_PROPERTIES* properties) {
  if (properties == nullptr) return E_POINTER;
  if (ownAllocator_ == nullptr) return D_CTransInPlaceInputPin::GetAllocatorRequirements(properties);
  *properties = deliveryProperties_;
  return S_OK;
}

HRESULT D_CSampleGrabberInPin::EnumMediaTypes(D_IEnumMediaTypes** types) {
  if (types == nullptr) return E_POINTER;
  D_CTransformOutputPin* output = grabber_->OutputPin();
  if (output != nullptr && output->IsConnected()) return output->GetConnected()->EnumMediaTypes(types);
  *types = new D_CEnumMediaTypes(this, nullptr);
  return *types == nullptr ? E_OUTOFMEMORY : S_OK;
}

HRESULT D_CSampleGrabberInPin::GetMediaType(int position, D_CMediaType* type) {
  if (type == nullptr) return E_POINTER;
  if (position < 0) return E_INVALIDARG;
  if (position > 0) return D_VFW_S_NO_MORE_ITEMS;
  type->Clear();
  *type = grabber_->AcceptedType();
  return S_OK;
}

HRESULT D_CSampleGrabberInPin::SetMediaType(const D_CMediaType* type) {
  typeChanged_ = TRUE;
  return D_CTransInPlaceInputPin::SetMediaType(type);
}

// ---- Filter -----------------------------------------------------------------------

D_CSampleGrabber* D_CSampleGrabber::Create(IUnknown* outer, HRESULT* result) {
  auto* grabber = new D_CSampleGrabber(outer, result);
  if (grabber == nullptr && result != nullptr) *result = E_OUTOFMEMORY;
  return grabber;
}

D_CSampleGrabber::D_CSampleGrabber(IUnknown* outer, HRESULT* result)
    : D_CTransInPlaceFilter("SampleGrabber", outer, kSampleGrabberClassId, result, false) {
  InitializeCriticalSection(&grabberLock_);
  HRESULT made = S_OK;
  input_ = new D_CSampleGrabberInPin(this, &made);
  if (input_ == nullptr) {
    if (result != nullptr) *result = E_OUTOFMEMORY;
    return;
  }
  output_ = new D_CTransInPlaceOutputPin("TransInPlace output pin", this, &made, u"Output");
  if (output_ == nullptr && result != nullptr) *result = E_OUTOFMEMORY;
}

D_CSampleGrabber::~D_CSampleGrabber() { DeleteCriticalSection(&grabberLock_); }

HRESULT D_CSampleGrabber::NonDelegatingQueryInterface(REFIID iid, void** object) {
  if (iid == kSampleGrabberInterfaceId) return ReturnInterface(&grabberInterface_, object);
  return D_CTransInPlaceFilter::NonDelegatingQueryInterface(iid, object);
}

HRESULT D_CSampleGrabber::CheckInputType(const D_CMediaType* type) {
  if (type == nullptr) return E_POINTER;
  D_CAutoLock lock(&grabberLock_);
  if (accepted_.majortype == GUID{}) return S_OK;
  if (accepted_.majortype != type->majortype) return D_VFW_E_INVALID_MEDIA_TYPE;
  if (accepted_.subtype == GUID{}) return S_OK;
  if (accepted_.subtype != type->subtype) return D_VFW_E_INVALID_MEDIA_TYPE;
  if (accepted_.formattype == GUID{}) return S_OK;
  if (accepted_.formattype != type->formattype) return D_VFW_E_INVALID_MEDIA_TYPE;
  return S_OK;
}

HRESULT D_CSampleGrabber::Receive(D_IMediaSample* sample) { return D_CTransInPlaceFilter::Receive(sample); }

HRESULT D_CSampleGrabber::Transform(D_IMediaSample* sample) {
  if (sample == nullptr) return E_POINTER;
  D_CAutoLock lock(&grabberLock_);
  if (callback_ == nullptr) return S_OK;
  D_REFERENCE_TIME start = 0;
  D_REFERENCE_TIME stop = 0;
  sample->GetTime(&start, &stop);
  start += input_->CurrentStartTime();
  stop += input_->CurrentStartTime();
  auto* pin = static_cast<D_CSampleGrabberInPin*>(input_);
  const BOOL typeChanged = pin->TakeTypeChanged();
  return callback_(sample, &start, &stop, typeChanged, context_);
}

HRESULT D_CSampleGrabber::SetAcceptedMediaType(const D_AM_MEDIA_TYPE* type) {
  D_CAutoLock lock(&grabberLock_);
  if (type == nullptr) {
    accepted_.Clear();
    return S_OK;
  }
  return accepted_.Set(*type);
}

HRESULT D_CSampleGrabber::GetConnectedMediaType(D_AM_MEDIA_TYPE* type) {
  if (input_ == nullptr || !input_->IsConnected()) return D_VFW_E_NOT_CONNECTED;
  return input_->ConnectionMediaType(type);
}

HRESULT D_CSampleGrabber::SetCallback(D_SampleGrabberCallback callback, void* context) {
  D_CAutoLock lock(&grabberLock_);
  callback_ = callback;
  context_ = context;
  return S_OK;
}

HRESULT D_CSampleGrabber::SetDeliveryBuffer(D_ALLOCATOR_PROPERTIES properties, BYTE* buffer) {
  if (input_ == nullptr || output_ == nullptr) return E_POINTER;
  if (input_->IsConnected() || output_->IsConnected()) return E_INVALIDARG;
  return static_cast<D_CSampleGrabberInPin*>(input_)->SetDeliveryBuffer(properties, buffer);
}
