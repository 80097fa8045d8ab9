// The media-type and pin enumerators.
#include "media/filters/enumerators.h"

#include "media/filters/base_pin.h"

namespace {

// Enumerators hand out one item per call when the caller does not ask how
// many came back.
HRESULT CheckFetchedArgument(ULONG count, ULONG* fetched) {
  if (fetched != nullptr) {
    *fetched = 0;
  } else if (count > 1) {
    return E_INVALIDARG;
  }
  return S_OK;
}

}  // namespace

// ---- Media types ---------------------------------------------------------------

D_CEnumMediaTypes::D_CEnumMediaTypes(D_CBasePin* pin, const D_CEnumMediaTypes* other)
    : position_(other != nullptr ? other->position_ : 0),
      pin_(pin),
      version_(other != nullptr ? other->version_ : pin->GetMediaTypeVersion()) {
  pin_->AsPin()->AddRef();
}

D_CEnumMediaTypes::~D_CEnumMediaTypes() { pin_->AsPin()->Release(); }

HRESULT D_CEnumMediaTypes::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == D_IID_IEnumMediaTypes || iid == IID_IUnknown) return ReturnInterface(this, object);
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG D_CEnumMediaTypes::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG D_CEnumMediaTypes::Release() {
  const LONG count = InterlockedDecrement(&references_);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

bool D_CEnumMediaTypes::AreWeOutOfSync() const { return pin_->GetMediaTypeVersion() != version_; }

HRESULT D_CEnumMediaTypes::Next(ULONG count, D_AM_MEDIA_TYPE** types, ULONG* fetched) {
  if (types == nullptr) return E_POINTER;
  if (AreWeOutOfSync()) return D_VFW_E_ENUM_OUT_OF_SYNC;
  const HRESULT checked = CheckFetchedArgument(count, fetched);
  if (FAILED(checked)) return checked;
  if (count == 0) return S_OK;
  ULONG got = 0;
  while (got < count) {
    D_CMediaType type;
    if (pin_->GetMediaType(position_++, &type) != S_OK) break;
    auto* handed = static_cast<D_AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(D_AM_MEDIA_TYPE)));
    if (handed == nullptr) break;
    // The format block and object pass to the handed-out type.
    *handed = type;
    type.cbFormat = 0;
    type.pbFormat = nullptr;
    type.pUnk = nullptr;
    types[got++] = handed;
  }
  if (fetched != nullptr) *fetched = got;
  return got == count ? S_OK : S_FALSE;
}

HRESULT D_CEnumMediaTypes::Skip(ULONG count) {
  if (count == 0) return S_OK;
  if (AreWeOutOfSync()) return D_VFW_E_ENUM_OUT_OF_SYNC;
  position_ += static_cast<LONG>(count);
  D_CMediaType type;
  return pin_->GetMediaType(position_ - 1, &type) == S_OK ? S_OK : S_FALSE;
}

HRESULT D_CEnumMediaTypes::Reset() {
  position_ = 0;
  version_ = pin_->GetMediaTypeVersion();
  return S_OK;
}

HRESULT D_CEnumMediaTypes::Clone(D_IEnumMediaTypes** clone) {
  if (clone == nullptr) return E_POINTER;
  if (AreWeOutOfSync()) {
    *clone = nullptr;
    return D_VFW_E_ENUM_OUT_OF_SYNC;
  }
  *clone = new D_CEnumMediaTypes(pin_, this);
  return *clone == nullptr ? E_OUTOFMEMORY : S_OK;
}

// ---- Pins ------------------------------------------------------------------------

D_CEnumPins::D_CEnumPins(D_CBaseFilter* filter, const D_CEnumPins* other)
    : position_(other != nullptr ? other->position_ : 0),
      pinCount_(other != nullptr ? other->pinCount_ : filter->GetPinCount()),
      filter_(filter),
      version_(other != nullptr ? other->version_ : filter->GetPinVersion()),
      handedOut_("Pins handed out") {
  filter_->AsBaseFilter()->AddRef();
  if (other != nullptr) handedOut_.D_CBaseList::AddTail(other->handedOut_);
}

D_CEnumPins::~D_CEnumPins() { filter_->AsBaseFilter()->Release(); }

HRESULT D_CEnumPins::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == D_IID_IEnumPins || iid == IID_IUnknown) return ReturnInterface(this, object);
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG D_CEnumPins::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG D_CEnumPins::Release() {
  const LONG count = InterlockedDecrement(&references_);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

bool D_CEnumPins::AreWeOutOfSync() const { return filter_->GetPinVersion() != version_; }

void D_CEnumPins::Refresh() {
  version_ = filter_->GetPinVersion();
  pinCount_ = filter_->GetPinCount();
  position_ = 0;
}

HRESULT D_CEnumPins::Next(ULONG count, D_IPin** pins, ULONG* fetched) {
  if (pins == nullptr) return E_POINTER;
  const HRESULT checked = CheckFetchedArgument(count, fetched);
  if (FAILED(checked)) return checked;
  // A changed pin set is followed here; the pins already handed out stay
  // known, so none comes twice.
  if (AreWeOutOfSync()) Refresh();
  const int left = pinCount_ - position_;
  int wanted = static_cast<int>(count) < left ? static_cast<int>(count) : left;
  if (wanted <= 0) return S_FALSE;
  ULONG got = 0;
  while (wanted > 0 && position_ < pinCount_) {
    D_CBasePin* pin = filter_->GetPin(position_++);
    if (pin == nullptr) {
      if (fetched != nullptr) *fetched = got;
      return D_VFW_E_ENUM_OUT_OF_SYNC;
    }
    if (handedOut_.Find(pin) != nullptr) continue;
    pins[got] = pin->AsPin();
    pins[got]->AddRef();
    ++got;
    handedOut_.AddTail(pin);
    --wanted;
  }
  if (fetched != nullptr) *fetched = got;
  return got == count ? S_OK : S_FALSE;
}

HRESULT D_CEnumPins::Skip(ULONG count) {
  if (AreWeOutOfSync()) return D_VFW_E_ENUM_OUT_OF_SYNC;
  if (static_cast<LONG>(count) > pinCount_ - position_) return S_FALSE;
  position_ += static_cast<int>(count);
  return S_OK;
}

HRESULT D_CEnumPins::Reset() {
  Refresh();
  handedOut_.RemoveAll();
  return S_OK;
}

HRESULT D_CEnumPins::Clone(D_IEnumPins** clone) {
  if (clone == nullptr) return E_POINTER;
  if (AreWeOutOfSync()) {
    *clone = nullptr;
    return D_VFW_E_ENUM_OUT_OF_SYNC;
  }
  *clone = new D_CEnumPins(filter_, this);
  return *clone == nullptr ? E_OUTOFMEMORY : S_OK;
}
