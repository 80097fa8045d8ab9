// The in-place transform: both pins share one allocator where they can, so
// a sample passes through without a copy.
#include <algorithm>
#include <cstring>

#include "media/filters/allocator.h"
#include "media/filters/transform_filter.h"

// ---- Input pin --------------------------------------------------------------------

D_CTransInPlaceInputPin::D_CTransInPlaceInputPin(const char* objectName, D_CTransInPlaceFilter* filter,
                                                 HRESULT* result, LPCWSTR pinName)
    : D_CTransformInputPin(objectName, filter, result, pinName), inPlace_(filter) {}

HRESULT D_CTransInPlaceInputPin::GetAllocator(D_IMemAllocator** allocator) {
  D_CAutoLock lock(lock_);
  if (allocator == nullptr) return E_POINTER;
  D_CTransformOutputPin* output = inPlace_->OutputPin();
  if (output->IsConnected()) {
    const HRESULT result = output->InputPin()->GetAllocator(allocator);
    if (SUCCEEDED(result)) output->SetAllocator(*allocator);
    return result;
  }
  return D_CTransformInputPin::GetAllocator(allocator);
}

HRESULT D_CTransInPlaceInputPin::NotifyAllocator(D_IMemAllocator* allocator, BOOL readOnly) {
  D_CAutoLock lock(lock_);
  if (allocator == nullptr) return E_POINTER;
  upstreamReadOnly_ = readOnly;
  D_CTransformOutputPin* output = inPlace_->OutputPin();
  if (!output->IsConnected()) return D_CBaseInputPin::NotifyAllocator(allocator, readOnly);
  HRESULT result = S_OK;
  if (!readOnly || !inPlace_->ModifiesData()) {
    result = output->InputPin()->NotifyAllocator(allocator, readOnly);
    if (FAILED(result)) return result;
    output->SetAllocator(allocator);
  } else {
    // The data may not be changed where they lie: the output gets buffers
    // of its own with the same properties.
    D_IMemAllocator* own = nullptr;
    result = output->InputPin()->GetAllocator(&own);
    if (FAILED(result)) result = CreateMemoryAllocator(&own);
    if (FAILED(result)) return result;
    if (own == allocator) {
      own->Release();
      return E_FAIL;
    }
    D_ALLOCATOR_PROPERTIES requested{};
    D_ALLOCATOR_PROPERTIES actual{};
    result = allocator->GetProperties(&requested);
    if (SUCCEEDED(result)) result = own->SetProperties(&requested, &actual);
    if (SUCCEEDED(result) && (actual.cBuffers < requested.cBuffers || actual.cbBuffer < requested.cbBuffer ||
                              actual.cbAlign < requested.cbAlign))
      result = E_FAIL;
    if (SUCCEEDED(result)) result = output->InputPin()->NotifyAllocator(own, FALSE);
    if (SUCCEEDED(result)) output->SetAllocator(own);
    own->Release();
    if (FAILED(result)) return result;
  }
  return D_CBaseInputPin::NotifyAllocator(allocator, readOnly);
}

HRESULT D_CTransInPlaceInputPin::EnumMediaTypes(D_IEnumMediaTypes** types) {
  D_CTransformOutputPin* output = inPlace_->OutputPin();
  if (output == nullptr || !output->IsConnected()) return D_VFW_E_NOT_CONNECTED;
  return output->GetConnected()->EnumMediaTypes(types);
}

HRESULT D_CTransInPlaceInputPin::CheckMediaType(const D_CMediaType* type) {
  const HRESULT result = inPlace_->CheckInputType(type);
  if (result != S_OK) return result;
  D_CTransformOutputPin* output = inPlace_->OutputPin();
  if (output != nullptr && output->IsConnected()) return output->GetConnected()->QueryAccept(type);
  return S_OK;
}

HRESULT D_CTransInPlaceInputPin::GetAllocatorRequirements(D_ALLOCATOR_PROPERTIES* properties) {
  D_CTransformOutputPin* output = inPlace_->OutputPin();
  if (output == nullptr || !output->IsConnected()) return E_NOTIMPL;
  return output->InputPin()->GetAllocatorRequirements(properties);
}

HRESULT D_CTransInPlaceInputPin::CompleteConnect(D_IPin* pin) {
  const HRESULT result = D_CBaseInputPin::CompleteConnect(pin);
  if (FAILED(result)) return result;
  return inPlace_->CompleteConnect(D_PINDIR_INPUT, pin);
}

// ---- Output pin -------------------------------------------------------------------

D_CTransInPlaceOutputPin::D_CTransInPlaceOutputPin(const char* objectName, D_CTransInPlaceFilter* filter,
                                                   HRESULT* result, LPCWSTR pinName)
    : D_CTransformOutputPin(objectName, filter, result, pinName), inPlace_(filter) {}

HRESULT D_CTransInPlaceOutputPin::EnumMediaTypes(D_IEnumMediaTypes** types) {
  D_CTransformInputPin* input = inPlace_->InputPin();
  if (input == nullptr || !input->IsConnected()) return D_VFW_E_NOT_CONNECTED;
  return input->GetConnected()->EnumMediaTypes(types);
}

HRESULT D_CTransInPlaceOutputPin::CheckMediaType(const D_CMediaType* type) {
  if (inPlace_->UsingDifferentAllocators() && !inPlace_->IsStopped())
    return *type == CurrentMediaType() ? S_OK : D_VFW_E_TYPE_NOT_ACCEPTED;
  const HRESULT result = inPlace_->CheckInputType(type);
  if (result != S_OK) return result;
  D_CTransformInputPin* input = inPlace_->InputPin();
  if (input != nullptr && input->IsConnected()) return input->GetConnected()->QueryAccept(type);
  return S_OK;
}

HRESULT D_CTransInPlaceOutputPin::CompleteConnect(D_IPin* pin) {
  const HRESULT result = D_CBaseOutputPin::CompleteConnect(pin);
  if (FAILED(result)) return result;
  return inPlace_->CompleteConnect(D_PINDIR_OUTPUT, pin);
}

// ---- Filter -----------------------------------------------------------------------

D_CTransInPlaceFilter::D_CTransInPlaceFilter(const char* name, IUnknown* outer, REFCLSID clsid, HRESULT*,
                                             bool modifiesData)
    : D_CTransformFilter(name, outer, clsid), modifiesData_(modifiesData ? 1 : 0) {}

void D_CTransInPlaceFilter::MakePins() {
  HRESULT result = S_OK;
  input_ = new D_CTransInPlaceInputPin("TransInPlace input pin", this, &result, u"Input");
  if (input_ == nullptr) return;
  output_ = new D_CTransInPlaceOutputPin("TransInPlace output pin", this, &result, u"Output");
  if (output_ == nullptr) {
    delete input_;
    input_ = nullptr;
  }
}

bool D_CTransInPlaceFilter::UsingDifferentAllocators() const {
  return InPlaceInput()->PeekAllocator() != output_->Allocator();
}

HRESULT D_CTransInPlaceFilter::CompleteConnect(D_PIN_DIRECTION direction, D_IPin*) {
  if (graph_ == nullptr) return D_VFW_E_NOT_IN_GRAPH;
  if (direction == D_PINDIR_OUTPUT) {
    if (input_->IsConnected()) return ReconnectPin(input_, &output_->CurrentMediaType());
    return S_OK;
  }
  if (output_->IsConnected() && input_->CurrentMediaType() != output_->CurrentMediaType())
    return ReconnectPin(output_, &input_->CurrentMediaType());
  return S_OK;
}

HRESULT D_CTransInPlaceFilter::DecideBufferSize(D_IMemAllocator* allocator, D_ALLOCATOR_PROPERTIES*) {
  D_ALLOCATOR_PROPERTIES requested{1, 1, 0, 0};
  if (input_->IsConnected()) {
    D_IMemAllocator* upstream = InPlaceInput()->PeekAllocator();
    if (upstream != nullptr) {
      const HRESULT result = upstream->GetProperties(&requested);
      if (FAILED(result)) return result;
    }
  }
  requested.cBuffers = std::max<LONG>(requested.cBuffers, 1);
  requested.cbBuffer = std::max<LONG>(requested.cbBuffer, 1);
  D_ALLOCATOR_PROPERTIES actual{};
  const HRESULT result = allocator->SetProperties(&requested, &actual);
  if (FAILED(result)) return result;
  if (actual.cBuffers < requested.cBuffers || actual.cbBuffer < requested.cbBuffer ||
      actual.cbAlign < requested.cbAlign)
    return E_FAIL;
  return S_OK;
}

D_IMediaSample* D_CTransInPlaceFilter::Copy(D_IMediaSample* source) {
  D_REFERENCE_TIME start = 0;
  D_REFERENCE_TIME stop = 0;
  const bool timed = source->GetTime(&start, &stop) == S_OK;
  D_IMediaSample* copy = nullptr;
  HRESULT result = output_->GetDeliveryBuffer(&copy, timed ? &start : nullptr, timed ? &stop : nullptr,
                                              sampleSkipped_ ? D_AM_GBF_PREVFRAMESKIPPED : 0);
  if (FAILED(result)) return nullptr;
  D_IMediaSample2* copy2 = nullptr;
  if (SUCCEEDED(copy->QueryInterface(D_IID_IMediaSample2, reinterpret_cast<void**>(&copy2)))) {
    D_AM_SAMPLE2_PROPERTIES properties = input_->SampleProperties();
    properties.cbData = D_SAMPLE_PROPERTIES_THROUGH(pMediaType);
    result = copy2->SetProperties(properties.cbData, reinterpret_cast<const BYTE*>(&properties));
    copy2->Release();
    if (FAILED(result)) {
      copy->Release();
      return nullptr;
    }
  } else {
    if (timed) copy->SetTime(&start, &stop);
    if (source->IsSyncPoint() == S_OK) copy->SetSyncPoint(TRUE);
    if (source->IsDiscontinuity() == S_OK || sampleSkipped_) copy->SetDiscontinuity(TRUE);
    if (source->IsPreroll() == S_OK) copy->SetPreroll(TRUE);
    D_AM_MEDIA_TYPE* type = nullptr;
    if (source->GetMediaType(&type) == S_OK) {
      copy->SetMediaType(type);
      DeleteMediaType(type);
    }
  }
  LONGLONG mediaStart = 0;
  LONGLONG mediaEnd = 0;
  if (source->GetMediaTime(&mediaStart, &mediaEnd) == S_OK) copy->SetMediaTime(&mediaStart, &mediaEnd);
  // A destination smaller than the source keeps what fits.
  const LONG length = std::min(source->GetActualDataLength(), copy->GetSize());
  copy->SetActualDataLength(length);
  BYTE* from = nullptr;
  BYTE* to = nullptr;
  source->GetPointer(&from);
  copy->GetPointer(&to);
  if (length > 0) std::memcpy(to, from, static_cast<std::size_t>(length));
  return copy;
}

HRESULT D_CTransInPlaceFilter::Receive(D_IMediaSample* sample) {
  if (sample == nullptr) return E_POINTER;
  if (input_->SampleProperties().dwStreamId != kMediaStreamId)
    return output_->IsConnected() ? output_->Deliver(sample) : S_OK;
  D_IMediaSample* copy = nullptr;
  if (UsingDifferentAllocators()) {
    copy = Copy(sample);
    if (copy == nullptr) return E_UNEXPECTED;
  }
  D_IMediaSample* passed = copy != nullptr ? copy : sample;
  HRESULT result = Transform(passed);
  if (SUCCEEDED(result)) {
    // Only a plain S_OK passes the sample on; another success keeps it back.
    if (result == S_OK) result = output_->Deliver(passed);
  }
  if (copy != nullptr) copy->Release();
  return result;
}
