// The output pin: allocator decision and delivery downstream.
#include "media/filters/base_pin.h"

D_CBaseOutputPin::D_CBaseOutputPin(const char* objectName, D_CBaseFilter* filter, CRITICAL_SECTION* lock,
                                   HRESULT* result, LPCWSTR pinName)
    : D_CBasePin(objectName, filter, lock, result, pinName, D_PINDIR_OUTPUT) {}

void D_CBaseOutputPin::SetAllocator(D_IMemAllocator* allocator) {
  if (allocator != nullptr) allocator->AddRef();
  if (allocator_ != nullptr) allocator_->Release();
  allocator_ = allocator;
}

HRESULT D_CBaseOutputPin::CheckConnect(D_IPin* pin) {
  HRESULT result = D_CBasePin::CheckConnect(pin);
  if (FAILED(result)) return result;
  result = pin->QueryInterface(D_IID_IMemInputPin, reinterpret_cast<void**>(&inputPin_));
  if (FAILED(result)) inputPin_ = nullptr;
  return result;
}

HRESULT D_CBaseOutputPin::CompleteConnect(D_IPin*) { return DecideAllocator(inputPin_, &allocator_); }

HRESULT D_CBaseOutputPin::BreakConnect() {
  if (allocator_ != nullptr) {
    const HRESULT result = allocator_->Decommit();
    if (FAILED(result)) return result;
    allocator_->Release();
    allocator_ = nullptr;
  }
  if (inputPin_ != nullptr) {
    inputPin_->Release();
    inputPin_ = nullptr;
  }
  return S_OK;
}

HRESULT D_CBaseOutputPin::Active() {
  if (allocator_ == nullptr) return D_VFW_E_NO_ALLOCATOR;
  return allocator_->Commit();
}

HRESULT D_CBaseOutputPin::Inactive() {
  runTimeError_ = 0;
  if (allocator_ == nullptr) return D_VFW_E_NO_ALLOCATOR;
  return allocator_->Decommit();
}

HRESULT D_CBaseOutputPin::DecideAllocator(D_IMemInputPin* pin, D_IMemAllocator** allocator) {
  *allocator = nullptr;
  D_ALLOCATOR_PROPERTIES properties{};
  pin->GetAllocatorRequirements(&properties);
  if (properties.cbAlign == 0) properties.cbAlign = 1;
  // The input pin's own allocator first, else one of this pin's making.
  const auto settle = [&](HRESULT result) {
    if (SUCCEEDED(result)) result = DecideBufferSize(*allocator, &properties);
    if (SUCCEEDED(result)) result = pin->NotifyAllocator(*allocator, FALSE);
    if (FAILED(result) && *allocator != nullptr) {
      (*allocator)->Release();
      *allocator = nullptr;
    }
    return result;
  };
  if (SUCCEEDED(settle(pin->GetAllocator(allocator)))) return S_OK;
  const HRESULT result = settle(InitAllocator(allocator));
  return FAILED(result) ? result : S_OK;
}

HRESULT D_CBaseOutputPin::InitAllocator(D_IMemAllocator** allocator) { return CreateMemoryAllocator(allocator); }

HRESULT D_CBaseOutputPin::GetDeliveryBuffer(D_IMediaSample** sample, D_REFERENCE_TIME* start,
                                            D_REFERENCE_TIME* stop, DWORD flags) {
  if (allocator_ == nullptr) return E_NOINTERFACE;
  return allocator_->GetBuffer(sample, start, stop, flags);
}

HRESULT D_CBaseOutputPin::Deliver(D_IMediaSample* sample) {
  if (inputPin_ == nullptr) return D_VFW_E_NOT_CONNECTED;
  return inputPin_->Receive(sample);
}

HRESULT D_CBaseOutputPin::DeliverEndOfStream() {
  if (connected_ == nullptr) return D_VFW_E_NOT_CONNECTED;
  return connected_->EndOfStream();
}

HRESULT D_CBaseOutputPin::DeliverBeginFlush() {
  if (connected_ == nullptr) return D_VFW_E_NOT_CONNECTED;
  return connected_->BeginFlush();
}

HRESULT D_CBaseOutputPin::DeliverEndFlush() {
  if (connected_ == nullptr) return D_VFW_E_NOT_CONNECTED;
  return connected_->EndFlush();
}

HRESULT D_CBaseOutputPin::DeliverNewSegment(D_REFERENCE_TIME start, D_REFERENCE_TIME stop, double rate) {
  if (connected_ == nullptr) return D_VFW_E_NOT_CONNECTED;
  return connected_->NewSegment(start, stop, rate);
}
