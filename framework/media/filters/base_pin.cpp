// The base pin: connection, media-type agreement and the pin's queries.
#include "media/filters/base_pin.h"

#include "media/filters/enumerators.h"

namespace {

constexpr int kInfoNameChars = 128;

// Failures that only mean "not this type": the agreement goes on to the
// next one.
bool IsTypeRefusal(HRESULT result) {
  return result == E_FAIL || result == E_INVALIDARG || result == D_VFW_E_TYPE_NOT_ACCEPTED;
}

}  // namespace

D_CBasePin::D_CBasePin(const char* objectName, D_CBaseFilter* filter, CRITICAL_SECTION* lock, HRESULT*,
                       LPCWSTR pinName, D_PIN_DIRECTION direction)
    : D_CUnknown(objectName, nullptr),
      name_(DuplicateWideText(pinName)),
      direction_(direction),
      lock_(lock),
      filter_(filter) {}

D_CBasePin::~D_CBasePin() { FreeWideText(name_); }

HRESULT D_CBasePin::NonDelegatingQueryInterface(REFIID iid, void** object) {
  if (iid == D_IID_IPin) return ReturnInterface(static_cast<D_IPin*>(this), object);
  if (iid == D_IID_IQualityControl) return ReturnInterface(static_cast<D_IQualityControl*>(this), object);
  return D_CUnknown::NonDelegatingQueryInterface(iid, object);
}

// A pin lives exactly as long as its filter.
ULONG D_CBasePin::NonDelegatingAddRef() { return filter_->AsBaseFilter()->AddRef(); }
ULONG D_CBasePin::NonDelegatingRelease() { return filter_->AsBaseFilter()->Release(); }

LONG D_CBasePin::GetMediaTypeVersion() { return typeVersion_; }

HRESULT D_CBasePin::SetMediaType(const D_CMediaType* type) {
  const HRESULT result = mediaType_.Set(*type);
  return FAILED(result) ? result : S_OK;
}

HRESULT D_CBasePin::CheckConnect(D_IPin* pin) {
  D_PIN_DIRECTION other;
  const HRESULT result = pin->QueryDirection(&other);
  if (FAILED(result)) return result;
  return other == direction_ ? D_VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT D_CBasePin::GetMediaType(int, D_CMediaType*) { return E_UNEXPECTED; }

HRESULT D_CBasePin::DisconnectInternal() {
  if (connected_ == nullptr) return S_FALSE;
  const HRESULT result = BreakConnect();
  if (FAILED(result)) return result;
  connected_->Release();
  connected_ = nullptr;
  return S_OK;
}

HRESULT D_CBasePin::CheckConnectable() {
  if (connected_ != nullptr) return D_VFW_E_ALREADY_CONNECTED;
  if (!IsStopped() && !canReconnectWhenActive_) return D_VFW_E_NOT_STOPPED;
  return S_OK;
}

HRESULT D_CBasePin::Connect(D_IPin* receivePin, const D_AM_MEDIA_TYPE* type) {
  if (receivePin == nullptr) return E_POINTER;
  D_CAutoLock lock(lock_);
  HRESULT result = CheckConnectable();
  if (FAILED(result)) return result;
  if (type != nullptr) {
    const D_CMediaType wanted(*type);
    result = AgreeMediaType(receivePin, &wanted);
  } else {
    result = AgreeMediaType(receivePin, nullptr);
  }
  if (FAILED(result)) {
    BreakConnect();
    return result;
  }
  return S_OK;
}

HRESULT D_CBasePin::ReceiveConnection(D_IPin* connector, const D_AM_MEDIA_TYPE* type) {
  if (connector == nullptr || type == nullptr) return E_POINTER;
  D_CAutoLock lock(lock_);
  HRESULT result = CheckConnectable();
  if (FAILED(result)) return result;
  result = CheckConnect(connector);
  if (FAILED(result)) {
    BreakConnect();
    return result;
  }
  const D_CMediaType offered(*type);
  result = CheckMediaType(&offered);
  if (result != S_OK) {
    BreakConnect();
    return SUCCEEDED(result) || result == E_FAIL || result == E_INVALIDARG ? D_VFW_E_TYPE_NOT_ACCEPTED : result;
  }
  connected_ = connector;
  connected_->AddRef();
  result = SetMediaType(&offered);
  if (SUCCEEDED(result)) result = CompleteConnect(connector);
  if (FAILED(result)) {
    connected_->Release();
    connected_ = nullptr;
    BreakConnect();
    return result;
  }
  return S_OK;
}

HRESULT D_CBasePin::Disconnect() {
  D_CAutoLock lock(lock_);
  if (!IsStopped()) return D_VFW_E_NOT_STOPPED;
  return DisconnectInternal();
}

HRESULT D_CBasePin::ConnectedTo(D_IPin** pin) {
  if (pin == nullptr) return E_POINTER;
  *pin = connected_;
  if (connected_ == nullptr) return D_VFW_E_NOT_CONNECTED;
  connected_->AddRef();
  return S_OK;
}

HRESULT D_CBasePin::ConnectionMediaType(D_AM_MEDIA_TYPE* type) {
  if (type == nullptr) return E_POINTER;
  D_CAutoLock lock(lock_);
  if (connected_ == nullptr) {
    FreeMediaType(type);
    *type = D_CMediaType();
    return D_VFW_E_NOT_CONNECTED;
  }
  return CopyMediaType(type, &mediaType_);
}

HRESULT D_CBasePin::QueryPinInfo(D_PIN_INFO* info) {
  if (info == nullptr) return E_POINTER;
  info->pFilter = filter_->AsBaseFilter();
  info->pFilter->AddRef();
  CopyWideText(info->achName, name_, kInfoNameChars);
  info->dir = direction_;
  return S_OK;
}

HRESULT D_CBasePin::QueryDirection(D_PIN_DIRECTION* direction) {
  if (direction == nullptr) return E_POINTER;
  *direction = direction_;
  return S_OK;
}

HRESULT D_CBasePin::QueryId(LPWSTR* id) {
  if (id == nullptr) return E_POINTER;
  return CopyWideStringToTaskMemory(name_ != nullptr ? name_ : u"", id);
}

HRESULT D_CBasePin::QueryAccept(const D_AM_MEDIA_TYPE* type) {
  if (type == nullptr) return E_POINTER;
  const D_CMediaType offered(*type);
  const HRESULT result = CheckMediaType(&offered);
  return FAILED(result) ? S_FALSE : result;
}

HRESULT D_CBasePin::EnumMediaTypes(D_IEnumMediaTypes** types) {
  if (types == nullptr) return E_POINTER;
  *types = new D_CEnumMediaTypes(this, nullptr);
  return *types == nullptr ? E_OUTOFMEMORY : S_OK;
}

HRESULT D_CBasePin::NewSegment(D_REFERENCE_TIME start, D_REFERENCE_TIME stop, double rate) {
  segmentStart_ = start;
  segmentStop_ = stop;
  segmentRate_ = rate;
  return S_OK;
}

HRESULT D_CBasePin::SetSink(D_IQualityControl* sink) {
  D_CAutoLock lock(lock_);
  qualitySink_ = sink;
  return S_OK;
}

// ---- Media-type agreement ----------------------------------------------------------

HRESULT D_CBasePin::AgreeMediaType(D_IPin* receivePin, const D_CMediaType* type) {
  if (type != nullptr && !type->IsPartiallySpecified()) return AttemptConnection(receivePin, type);
  HRESULT remembered = S_OK;
  for (int pass = 0; pass < 2; ++pass) {
    const bool useReceiver = (pass == 0) != (tryMyTypesFirst_ != 0);
    D_IEnumMediaTypes* types = nullptr;
    HRESULT result = useReceiver ? receivePin->EnumMediaTypes(&types) : EnumMediaTypes(&types);
    if (SUCCEEDED(result)) {
      result = TryMediaTypes(receivePin, type, types);
      types->Release();
      if (SUCCEEDED(result)) return S_OK;
      if (!IsTypeRefusal(result) && result != D_VFW_E_NO_ACCEPTABLE_TYPES) remembered = result;
    }
  }
  return FAILED(remembered) ? remembered : D_VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT D_CBasePin::TryMediaTypes(D_IPin* receivePin, const D_CMediaType* partial, D_IEnumMediaTypes* types) {
  HRESULT remembered = S_OK;
  if (FAILED(types->Reset())) return E_FAIL;
  D_AM_MEDIA_TYPE* offered = nullptr;
  ULONG fetched = 0;
  while (types->Next(1, &offered, &fetched) == S_OK && fetched == 1) {
    D_CMediaType candidate(*offered);
    DeleteMediaType(offered);
    if (partial != nullptr && !candidate.MatchesPartial(partial)) continue;
    const HRESULT result = AttemptConnection(receivePin, &candidate);
    if (result == S_OK) return S_OK;
    if (FAILED(result) && SUCCEEDED(remembered) && !IsTypeRefusal(result)) remembered = result;
  }
  return FAILED(remembered) ? remembered : D_VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT D_CBasePin::AttemptConnection(D_IPin* receivePin, const D_CMediaType* type) {
  HRESULT result = CheckConnect(receivePin);
  if (FAILED(result)) {
    BreakConnect();
    return result;
  }
  result = CheckMediaType(type);
  if (result != S_OK) {
    BreakConnect();
    return SUCCEEDED(result) || result == E_FAIL || result == E_INVALIDARG ? D_VFW_E_TYPE_NOT_ACCEPTED : result;
  }
  connected_ = receivePin;
  connected_->AddRef();
  bool accepted = false;
  result = SetMediaType(type);
  if (SUCCEEDED(result)) {
    result = receivePin->ReceiveConnection(this, type);
    accepted = SUCCEEDED(result);
    if (accepted) result = CompleteConnect(receivePin);
  }
  if (FAILED(result)) {
    if (accepted) receivePin->Disconnect();
    BreakConnect();
    connected_->Release();
    connected_ = nullptr;
    return result;
  }
  return S_OK;
}
