// The base filter's state changes, clock, graph membership and pins.
#include "media/filters/base_filter.h"

#include "media/filters/base_pin.h"
#include "media/filters/enumerators.h"
#include "media/filters/filter_registration.h"

namespace {

constexpr int kInfoNameChars = 128;

}  // namespace

D_CBaseFilter::D_CBaseFilter(const char* name, IUnknown* outer, CRITICAL_SECTION* lock, REFCLSID clsid)
    : D_CUnknown(name, outer), clsid_(clsid), lock_(lock) {}

D_CBaseFilter::D_CBaseFilter(const char* name, IUnknown* outer, CRITICAL_SECTION* lock, REFCLSID clsid,
                             HRESULT*)
    : D_CBaseFilter(name, outer, lock, clsid) {}

D_CBaseFilter::~D_CBaseFilter() {
  FreeWideText(name_);
  if (clock_ != nullptr) clock_->Release();
}

HRESULT D_CBaseFilter::NonDelegatingQueryInterface(REFIID iid, void** object) {
  if (iid == D_IID_IBaseFilter || iid == D_IID_IMediaFilter || iid == IID_IPersist)
    return ReturnInterface(static_cast<D_IBaseFilter*>(this), object);
  if (iid == D_IID_IAMovieSetup) return ReturnInterface(static_cast<D_IAMovieSetup*>(this), object);
  return D_CUnknown::NonDelegatingQueryInterface(iid, object);
}

HRESULT D_CBaseFilter::StreamTime(D_REFERENCE_TIME& time) {
  if (clock_ == nullptr) return D_VFW_E_NO_CLOCK;
  const HRESULT result = clock_->GetTime(&time);
  if (FAILED(result)) return result;
  time -= streamStart_;
  return S_OK;
}

LONG D_CBaseFilter::GetPinVersion() { return pinVersion_; }

HRESULT D_CBaseFilter::GetClassID(CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  *clsid = clsid_;
  return S_OK;
}

HRESULT D_CBaseFilter::GetState(DWORD, D_FILTER_STATE* state) {
  if (state == nullptr) return E_POINTER;
  *state = state_;
  return S_OK;
}

HRESULT D_CBaseFilter::SetSyncSource(D_IReferenceClock* clock) {
  D_CAutoLock lock(lock_);
  if (clock != nullptr) clock->AddRef();
  if (clock_ != nullptr) clock_->Release();
  clock_ = clock;
  return S_OK;
}

HRESULT D_CBaseFilter::GetSyncSource(D_IReferenceClock** clock) {
  if (clock == nullptr) return E_POINTER;
  D_CAutoLock lock(lock_);
  *clock = clock_;
  if (clock_ != nullptr) clock_->AddRef();
  return S_OK;
}

HRESULT D_CBaseFilter::Stop() {
  D_CAutoLock lock(lock_);
  HRESULT kept = S_OK;
  if (state_ != kFilterStopped) {
    const int count = GetPinCount();
    for (int n = 0; n < count; ++n) {
      D_CBasePin* pin = GetPin(n);
      if (pin == nullptr || !pin->IsConnected()) continue;
      const HRESULT result = pin->Inactive();
      if (FAILED(result) && SUCCEEDED(kept)) kept = result;
    }
  }
  state_ = kFilterStopped;
  return kept;
}

HRESULT D_CBaseFilter::Pause() {
  D_CAutoLock lock(lock_);
  if (state_ == kFilterStopped) {
    const int count = GetPinCount();
    for (int n = 0; n < count; ++n) {
      D_CBasePin* pin = GetPin(n);
      if (pin == nullptr || !pin->IsConnected()) continue;
      const HRESULT result = pin->Active();
      if (FAILED(result)) return result;
    }
  }
  state_ = kFilterPaused;
  return S_OK;
}

HRESULT D_CBaseFilter::Run(D_REFERENCE_TIME start) {
  D_CAutoLock lock(lock_);
  streamStart_ = start;
  if (state_ == kFilterStopped) {
    const HRESULT result = Pause();
    if (FAILED(result)) return result;
  }
  if (state_ != kFilterRunning) {
    const int count = GetPinCount();
    for (int n = 0; n < count; ++n) {
      D_CBasePin* pin = GetPin(n);
      if (pin == nullptr || !pin->IsConnected()) continue;
      const HRESULT result = pin->Run(start);
      if (FAILED(result)) return result;
    }
  }
  state_ = kFilterRunning;
  return S_OK;
}

HRESULT D_CBaseFilter::EnumPins(D_IEnumPins** pins) {
  if (pins == nullptr) return E_POINTER;
  *pins = new D_CEnumPins(this, nullptr);
  return *pins == nullptr ? E_OUTOFMEMORY : S_OK;
}

HRESULT D_CBaseFilter::FindPin(LPCWSTR id, D_IPin** pin) {
  if (pin == nullptr) return E_POINTER;
  D_CAutoLock lock(lock_);
  const int count = GetPinCount();
  for (int n = 0; n < count; ++n) {
    D_CBasePin* candidate = GetPin(n);
    if (candidate != nullptr && lstrcmpW(candidate->Name(), id) == 0) {
      *pin = candidate->AsPin();
      (*pin)->AddRef();
      return S_OK;
    }
  }
  *pin = nullptr;
  return D_VFW_E_NOT_FOUND;
}

HRESULT D_CBaseFilter::QueryFilterInfo(D_FILTER_INFO* info) {
  if (info == nullptr) return E_POINTER;
  CopyWideText(info->achName, name_, kInfoNameChars);
  info->pGraph = graph_;
  if (graph_ != nullptr) graph_->AddRef();
  return S_OK;
}

HRESULT D_CBaseFilter::JoinFilterGraph(D_IFilterGraph* graph, LPCWSTR name) {
  D_CAutoLock lock(lock_);
  graph_ = graph;
  eventSink_ = nullptr;
  if (graph != nullptr) {
    // Kept without a reference: the graph holds this filter, not the other
    // way round.
    if (SUCCEEDED(graph->QueryInterface(D_IID_IMediaEventSink, reinterpret_cast<void**>(&eventSink_))))
      eventSink_->Release();
  }
  FreeWideText(name_);
  name_ = DuplicateWideText(name);
  return S_OK;
}

HRESULT D_CBaseFilter::QueryVendorInfo(LPWSTR*) { return E_NOTIMPL; }

HRESULT D_CBaseFilter::NotifyEvent(LONG code, LONG_PTR parameter1, LONG_PTR parameter2) {
  if (eventSink_ == nullptr) return E_NOTIMPL;
  if (code == D_EC_COMPLETE) parameter2 = reinterpret_cast<LONG_PTR>(static_cast<D_IBaseFilter*>(this));
  return eventSink_->Notify(code, parameter1, parameter2);
}

HRESULT D_CBaseFilter::ReconnectPin(D_IPin* pin, const D_AM_MEDIA_TYPE* type) {
  if (graph_ == nullptr) return E_NOINTERFACE;
  D_IFilterGraph2* graph2 = nullptr;
  if (SUCCEEDED(graph_->QueryInterface(D_IID_IFilterGraph2, reinterpret_cast<void**>(&graph2)))) {
    const HRESULT result = graph2->ReconnectEx(pin, type);
    graph2->Release();
    return result;
  }
  return graph_->Reconnect(pin);
}

HRESULT D_CBaseFilter::Register() { return RegisterWithMapper(TRUE); }

HRESULT D_CBaseFilter::Unregister() { return RegisterWithMapper(FALSE); }

HRESULT D_CBaseFilter::RegisterWithMapper(BOOL registering) {
  const D_AMOVIESETUP_FILTER* setup = GetSetupData();
  if (setup == nullptr) return S_FALSE;
  const HRESULT initialised = CoInitialize(nullptr);
  D_IFilterMapper* mapper = nullptr;
  HRESULT result = CoCreateInstance(D_CLSID_FilterMapper, nullptr, CLSCTX_INPROC_SERVER, D_IID_IFilterMapper,
                                    reinterpret_cast<void**>(&mapper));
  if (SUCCEEDED(result)) {
    result = RegisterFilterWithMapper(setup, mapper, registering);
    mapper->Release();
  }
  if (SUCCEEDED(initialised)) CoUninitialize();
  if (!registering && result == kFileNotFoundResult) return S_OK;
  return result;
}
