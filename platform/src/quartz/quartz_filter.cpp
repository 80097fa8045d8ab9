#include "quartz/quartz_filter.h"

#include <cstring>

#include "quartz/media_type_copy.h"
#include "quartz/quartz_enumerators.h"

namespace wqplat {

bool IsPartialMediaType(const D_AM_MEDIA_TYPE* type) {
  return type == nullptr || type->majortype == GUID_NULL || type->formattype == GUID_NULL;
}

bool MatchesPartialMediaType(const D_AM_MEDIA_TYPE& type, const D_AM_MEDIA_TYPE& partial) {
  if (partial.majortype != GUID_NULL && partial.majortype != type.majortype) return false;
  if (partial.subtype != GUID_NULL && partial.subtype != type.subtype) return false;
  if (partial.formattype == GUID_NULL) return true;
  return partial.formattype == type.formattype && partial.cbFormat == type.cbFormat &&
         (type.cbFormat == 0 || std::memcmp(partial.pbFormat, type.pbFormat, type.cbFormat) == 0);
}

LPWSTR TaskMemoryString(const std::u16string& text) {
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(WCHAR)));
  if (copy) std::memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(WCHAR));
  return copy;
}

namespace {

// Rejections that let the negotiation go on with the next type.
bool IsPlainRefusal(HRESULT result) {
  return result == E_FAIL || result == E_INVALIDARG || result == D_VFW_E_TYPE_NOT_ACCEPTED || result == S_FALSE;
}

void CopyName(const std::u16string& name, WCHAR (&target)[128]) {
  const size_t length = std::min<size_t>(name.size(), 127);
  std::memcpy(target, name.data(), length * sizeof(WCHAR));
  target[length] = 0;
}

}  // namespace

// ---- Pins ----------------------------------------------------------------------

QuartzPin::QuartzPin(QuartzFilter* filter, D_PIN_DIRECTION direction, std::u16string name)
    : filter_(filter), direction_(direction), name_(std::move(name)) {}

QuartzPin::~QuartzPin() {
  if (peer_) peer_->Release();
  FreeMediaTypeContents(type_);
}

HRESULT QuartzPin::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == D_IID_IPin) {
    *object = static_cast<D_IPin*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG QuartzPin::AddRef() { return filter_->AddRef(); }
ULONG QuartzPin::Release() { return filter_->Release(); }

bool QuartzPin::GetMediaType(int, D_AM_MEDIA_TYPE*) { return false; }

HRESULT QuartzPin::CompleteConnect(D_IPin*) { return S_OK; }

void QuartzPin::ClearConnection() {
  if (peer_) peer_->Release();
  peer_ = nullptr;
  FreeMediaTypeContents(type_);
  type_ = D_AM_MEDIA_TYPE{};
}

HRESULT QuartzPin::TryConnection(D_IPin* receive_pin, const D_AM_MEDIA_TYPE& type) {
  const HRESULT check = CheckMediaType(type);
  if (check != S_OK) return FAILED(check) ? check : D_VFW_E_TYPE_NOT_ACCEPTED;
  peer_ = receive_pin;
  peer_->AddRef();
  if (!CopyMediaType(type_, type)) {
    ClearConnection();
    return E_OUTOFMEMORY;
  }
  HRESULT result = receive_pin->ReceiveConnection(this, &type);
  if (SUCCEEDED(result)) {
    result = CompleteConnect(receive_pin);
    if (FAILED(result)) {
      receive_pin->Disconnect();
      BreakConnect();
    }
  }
  if (FAILED(result)) ClearConnection();
  return result;
}

HRESULT QuartzPin::TryTypes(D_IPin* receive_pin, const D_AM_MEDIA_TYPE* partial, D_IEnumMediaTypes* types) {
  HRESULT kept = D_VFW_E_NO_ACCEPTABLE_TYPES;
  D_AM_MEDIA_TYPE* type = nullptr;
  while (types->Next(1, &type, nullptr) == S_OK) {
    HRESULT result = D_VFW_E_TYPE_NOT_ACCEPTED;
    if (partial == nullptr || MatchesPartialMediaType(*type, *partial)) result = TryConnection(receive_pin, *type);
    DeleteMediaTypeCopy(type);
    if (result == S_OK) return S_OK;
    if (!IsPlainRefusal(result) && kept == D_VFW_E_NO_ACCEPTABLE_TYPES) kept = result;
  }
  return kept;
}

HRESULT QuartzPin::Connect(D_IPin* receive_pin, const D_AM_MEDIA_TYPE* type) {
  if (receive_pin == nullptr) return E_POINTER;
  std::lock_guard hold(filter_->lock());
  if (peer_) return D_VFW_E_ALREADY_CONNECTED;
  if (filter_->state() != D_State_Stopped) return D_VFW_E_NOT_STOPPED;
  if (direction_ != D_PINDIR_OUTPUT) return D_VFW_E_INVALID_DIRECTION;
  D_PIN_DIRECTION other{};
  if (FAILED(receive_pin->QueryDirection(&other)) || other != D_PINDIR_INPUT) return D_VFW_E_INVALID_DIRECTION;
  if (!IsPartialMediaType(type)) return TryConnection(receive_pin, *type);

  HRESULT kept = D_VFW_E_NO_ACCEPTABLE_TYPES;
  for (bool own : {false, true}) {
    D_IEnumMediaTypes* types = nullptr;
    const HRESULT listed = own ? EnumMediaTypes(&types) : receive_pin->EnumMediaTypes(&types);
    if (FAILED(listed) || types == nullptr) continue;
    const HRESULT result = TryTypes(receive_pin, type, types);
    types->Release();
    if (result == S_OK) return S_OK;
    if (result != D_VFW_E_NO_ACCEPTABLE_TYPES && kept == D_VFW_E_NO_ACCEPTABLE_TYPES) kept = result;
  }
  return kept;
}

HRESULT QuartzPin::ReceiveConnection(D_IPin* connector, const D_AM_MEDIA_TYPE* type) {
  if (connector == nullptr || type == nullptr) return E_POINTER;
  std::lock_guard hold(filter_->lock());
  if (peer_) return D_VFW_E_ALREADY_CONNECTED;
  if (filter_->state() != D_State_Stopped) return D_VFW_E_NOT_STOPPED;
  D_PIN_DIRECTION other{};
  if (FAILED(connector->QueryDirection(&other)) || other == direction_) return D_VFW_E_INVALID_DIRECTION;
  const HRESULT check = CheckMediaType(*type);
  if (check != S_OK) return (FAILED(check) && !IsPlainRefusal(check)) ? check : D_VFW_E_TYPE_NOT_ACCEPTED;
  peer_ = connector;
  peer_->AddRef();
  if (!CopyMediaType(type_, *type)) {
    ClearConnection();
    return E_OUTOFMEMORY;
  }
  const HRESULT result = CompleteConnect(connector);
  if (FAILED(result)) {
    BreakConnect();
    ClearConnection();
  }
  return result;
}

HRESULT QuartzPin::Disconnect() {
  std::lock_guard hold(filter_->lock());
  if (filter_->state() != D_State_Stopped) return D_VFW_E_NOT_STOPPED;
  if (peer_ == nullptr) return S_FALSE;
  BreakConnect();
  ClearConnection();
  return S_OK;
}

HRESULT QuartzPin::ConnectedTo(D_IPin** pin) {
  if (pin == nullptr) return E_POINTER;
  std::lock_guard hold(filter_->lock());
  *pin = peer_;
  if (peer_ == nullptr) return D_VFW_E_NOT_CONNECTED;
  peer_->AddRef();
  return S_OK;
}

HRESULT QuartzPin::ConnectionMediaType(D_AM_MEDIA_TYPE* type) {
  if (type == nullptr) return E_POINTER;
  std::lock_guard hold(filter_->lock());
  if (peer_ == nullptr) {
    *type = D_AM_MEDIA_TYPE{};
    return D_VFW_E_NOT_CONNECTED;
  }
  return CopyMediaType(*type, type_) ? S_OK : E_OUTOFMEMORY;
}

HRESULT QuartzPin::QueryPinInfo(D_PIN_INFO* info) {
  if (info == nullptr) return E_POINTER;
  info->pFilter = filter_;
  filter_->AddRef();
  info->dir = direction_;
  CopyName(name_, info->achName);
  return S_OK;
}

HRESULT QuartzPin::QueryDirection(D_PIN_DIRECTION* direction) {
  if (direction == nullptr) return E_POINTER;
  *direction = direction_;
  return S_OK;
}

HRESULT QuartzPin::QueryId(LPWSTR* id) {
  if (id == nullptr) return E_POINTER;
  *id = TaskMemoryString(name_);
  return *id ? S_OK : E_OUTOFMEMORY;
}

HRESULT QuartzPin::QueryAccept(const D_AM_MEDIA_TYPE* type) {
  if (type == nullptr) return E_POINTER;
  const HRESULT result = CheckMediaType(*type);
  return FAILED(result) ? S_FALSE : result;
}

HRESULT QuartzPin::EnumMediaTypes(D_IEnumMediaTypes** types) {
  if (types == nullptr) return E_POINTER;
  std::vector<D_AM_MEDIA_TYPE*> proposals;
  for (int index = 0;; ++index) {
    D_AM_MEDIA_TYPE type{};
    if (!GetMediaType(index, &type)) break;
    D_AM_MEDIA_TYPE* copy = CreateMediaTypeCopy(type);
    FreeMediaTypeContents(type);
    if (copy) proposals.push_back(copy);
  }
  *types = new MediaTypeEnumerator(std::move(proposals));
  return S_OK;
}

HRESULT QuartzPin::QueryInternalConnections(D_IPin**, ULONG*) { return E_NOTIMPL; }

// ---- Output pins -------------------------------------------------------------------

QuartzOutputPin::QuartzOutputPin(QuartzFilter* filter, std::u16string name)
    : QuartzPin(filter, D_PINDIR_OUTPUT, std::move(name)) {}

QuartzOutputPin::~QuartzOutputPin() { BreakConnect(); }

HRESULT QuartzOutputPin::TryAllocator(D_IMemAllocator* allocator, D_ALLOCATOR_PROPERTIES properties) {
  DecideBufferSize(&properties);
  D_ALLOCATOR_PROPERTIES actual{};
  HRESULT result = allocator->SetProperties(&properties, &actual);
  if (SUCCEEDED(result) && actual.cbBuffer < properties.cbBuffer) result = E_FAIL;
  if (SUCCEEDED(result)) result = input_->NotifyAllocator(allocator, FALSE);
  return result;
}

HRESULT QuartzOutputPin::CompleteConnect(D_IPin* peer) {
  if (FAILED(peer->QueryInterface(D_IID_IMemInputPin, reinterpret_cast<void**>(&input_)))) {
    input_ = nullptr;
    return E_NOINTERFACE;
  }
  D_ALLOCATOR_PROPERTIES wanted{};
  input_->GetAllocatorRequirements(&wanted);
  if (wanted.cbAlign == 0) wanted.cbAlign = 1;
  D_IMemAllocator* allocator = nullptr;
  if (SUCCEEDED(input_->GetAllocator(&allocator)) && allocator) {
    if (SUCCEEDED(TryAllocator(allocator, wanted))) {
      allocator_ = allocator;
      return S_OK;
    }
    allocator->Release();
    allocator = nullptr;
  }
  HRESULT result = CoCreateInstance(D_CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, D_IID_IMemAllocator,
                                    reinterpret_cast<void**>(&allocator));
  if (SUCCEEDED(result)) result = TryAllocator(allocator, wanted);
  if (FAILED(result)) {
    if (allocator) allocator->Release();
    BreakConnect();
    return result;
  }
  allocator_ = allocator;
  return S_OK;
}

void QuartzOutputPin::BreakConnect() {
  if (allocator_) {
    allocator_->Decommit();
    allocator_->Release();
    allocator_ = nullptr;
  }
  if (input_) input_->Release();
  input_ = nullptr;
}

HRESULT QuartzOutputPin::Active() { return allocator_ ? allocator_->Commit() : D_VFW_E_NO_ALLOCATOR; }
HRESULT QuartzOutputPin::Inactive() { return allocator_ ? allocator_->Decommit() : D_VFW_E_NO_ALLOCATOR; }

HRESULT QuartzOutputPin::GetDeliveryBuffer(D_IMediaSample** sample) {
  if (allocator_ == nullptr) return E_NOINTERFACE;
  return allocator_->GetBuffer(sample, nullptr, nullptr, 0);
}

HRESULT QuartzOutputPin::Deliver(D_IMediaSample* sample) {
  return input_ ? input_->Receive(sample) : D_VFW_E_NOT_CONNECTED;
}

HRESULT QuartzOutputPin::DeliverEndOfStream() { return peer() ? peer()->EndOfStream() : D_VFW_E_NOT_CONNECTED; }
HRESULT QuartzOutputPin::DeliverBeginFlush() { return peer() ? peer()->BeginFlush() : D_VFW_E_NOT_CONNECTED; }
HRESULT QuartzOutputPin::DeliverEndFlush() { return peer() ? peer()->EndFlush() : D_VFW_E_NOT_CONNECTED; }
HRESULT QuartzOutputPin::DeliverNewSegment(D_REFERENCE_TIME start, D_REFERENCE_TIME stop, double rate) {
  return peer() ? peer()->NewSegment(start, stop, rate) : D_VFW_E_NOT_CONNECTED;
}

// ---- Input pins --------------------------------------------------------------------

QuartzInputPin::QuartzInputPin(QuartzFilter* filter, std::u16string name)
    : QuartzPin(filter, D_PINDIR_INPUT, std::move(name)) {}

QuartzInputPin::~QuartzInputPin() {
  if (allocator_) allocator_->Release();
}

HRESULT QuartzInputPin::QueryInterface(REFIID iid, void** object) {
  if (object && iid == D_IID_IMemInputPin) {
    *object = static_cast<D_IMemInputPin*>(this);
    AddRef();
    return S_OK;
  }
  return QuartzPin::QueryInterface(iid, object);
}

HRESULT QuartzInputPin::GetAllocator(D_IMemAllocator** allocator) {
  if (allocator == nullptr) return E_POINTER;
  std::lock_guard hold(filter_->lock());
  if (allocator_ == nullptr) {
    const HRESULT result = CoCreateInstance(D_CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                            D_IID_IMemAllocator, reinterpret_cast<void**>(&allocator_));
    if (FAILED(result)) {
      allocator_ = nullptr;
      *allocator = nullptr;
      return result;
    }
  }
  allocator_->AddRef();
  *allocator = allocator_;
  return S_OK;
}

HRESULT QuartzInputPin::NotifyAllocator(D_IMemAllocator* allocator, BOOL) {
  if (allocator == nullptr) return E_POINTER;
  std::lock_guard hold(filter_->lock());
  allocator->AddRef();
  if (allocator_) allocator_->Release();
  allocator_ = allocator;
  return S_OK;
}

HRESULT QuartzInputPin::ReceiveMultiple(D_IMediaSample** samples, LONG count, LONG* processed) {
  if (samples == nullptr || processed == nullptr) return E_POINTER;
  *processed = 0;
  HRESULT result = S_OK;
  while (*processed < count && (result = Receive(samples[*processed])) == S_OK) ++*processed;
  return result;
}

HRESULT QuartzInputPin::BeginFlush() {
  flushing_ = true;
  return S_OK;
}

HRESULT QuartzInputPin::EndFlush() {
  flushing_ = false;
  return S_OK;
}

HRESULT QuartzInputPin::Inactive() {
  flushing_ = false;
  return allocator_ ? allocator_->Decommit() : D_VFW_E_NO_ALLOCATOR;
}

HRESULT QuartzInputPin::CheckStreaming() {
  if (filter_->state() == D_State_Stopped) return D_VFW_E_WRONG_STATE;
  return flushing_ ? S_FALSE : S_OK;
}

void QuartzInputPin::BreakConnect() {
  if (allocator_) {
    allocator_->Decommit();
    allocator_->Release();
    allocator_ = nullptr;
  }
}

// ---- Filters ---------------------------------------------------------------------

QuartzFilter::QuartzFilter(const CLSID& clsid) : clsid_(clsid) {}

QuartzFilter::~QuartzFilter() {
  if (clock_) clock_->Release();
}

ULONG QuartzFilter::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT QuartzFilter::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IPersist || iid == D_IID_IMediaFilter || iid == D_IID_IBaseFilter) {
    *object = static_cast<D_IBaseFilter*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT QuartzFilter::GetClassID(CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  *clsid = clsid_;
  return S_OK;
}

HRESULT QuartzFilter::Stop() {
  std::lock_guard hold(lock_);
  if (state_ == D_State_Stopped) return S_OK;
  state_ = D_State_Stopped;
  OnStop();
  HRESULT result = S_OK;
  for (int index = 0; index < PinCount(); ++index) {
    QuartzPin* pin = Pin(index);
    if (pin && pin->IsConnected()) {
      const HRESULT inactive = pin->Inactive();
      if (FAILED(inactive) && SUCCEEDED(result)) result = inactive;
    }
  }
  return result;
}

HRESULT QuartzFilter::Pause() {
  std::lock_guard hold(lock_);
  const D_FILTER_STATE old = state_;
  if (old == D_State_Stopped) {
    for (int index = 0; index < PinCount(); ++index) {
      QuartzPin* pin = Pin(index);
      if (pin && pin->IsConnected()) {
        const HRESULT result = pin->Active();
        if (FAILED(result)) return result;
      }
    }
  }
  state_ = D_State_Paused;
  const HRESULT result = OnPause(old);
  if (FAILED(result)) state_ = old;
  return result;
}

HRESULT QuartzFilter::Run(D_REFERENCE_TIME start) {
  std::lock_guard hold(lock_);
  if (state_ == D_State_Stopped) {
    const HRESULT paused = Pause();
    if (FAILED(paused)) return paused;
  }
  start_time_ = start;
  state_ = D_State_Running;
  return OnRun(start);
}

HRESULT QuartzFilter::GetState(DWORD, D_FILTER_STATE* state) {
  if (state == nullptr) return E_POINTER;
  *state = state_;
  return S_OK;
}

HRESULT QuartzFilter::SetSyncSource(D_IReferenceClock* clock) {
  std::lock_guard hold(lock_);
  if (clock) clock->AddRef();
  if (clock_) clock_->Release();
  clock_ = clock;
  return S_OK;
}

HRESULT QuartzFilter::GetSyncSource(D_IReferenceClock** clock) {
  if (clock == nullptr) return E_POINTER;
  std::lock_guard hold(lock_);
  *clock = clock_;
  if (clock_) clock_->AddRef();
  return S_OK;
}

bool QuartzFilter::StreamTime(D_REFERENCE_TIME* time) {
  D_IReferenceClock* clock = clock_;
  if (clock == nullptr) return false;
  D_REFERENCE_TIME now = 0;
  clock->GetTime(&now);
  *time = now - start_time_;
  return true;
}

HRESULT QuartzFilter::EnumPins(D_IEnumPins** pins) {
  if (pins == nullptr) return E_POINTER;
  std::lock_guard hold(lock_);
  std::vector<D_IPin*> list;
  for (int index = 0; index < PinCount(); ++index) {
    QuartzPin* pin = Pin(index);
    if (pin == nullptr) continue;
    pin->AddRef();
    list.push_back(pin);
  }
  *pins = new PinEnumerator(std::move(list));
  return S_OK;
}

HRESULT QuartzFilter::FindPin(LPCWSTR id, D_IPin** pin) {
  if (id == nullptr || pin == nullptr) return E_POINTER;
  std::lock_guard hold(lock_);
  *pin = nullptr;
  for (int index = 0; index < PinCount(); ++index) {
    QuartzPin* candidate = Pin(index);
    LPWSTR name = nullptr;
    if (candidate == nullptr || FAILED(candidate->QueryId(&name))) continue;
    const bool same = std::u16string_view(name) == std::u16string_view(id);
    CoTaskMemFree(name);
    if (same) {
      candidate->AddRef();
      *pin = candidate;
      return S_OK;
    }
  }
  return D_VFW_E_NOT_FOUND;
}

HRESULT QuartzFilter::QueryFilterInfo(D_FILTER_INFO* info) {
  if (info == nullptr) return E_POINTER;
  std::lock_guard hold(lock_);
  CopyName(name_, info->achName);
  info->pGraph = graph_;
  if (graph_) graph_->AddRef();
  return S_OK;
}

HRESULT QuartzFilter::JoinFilterGraph(D_IFilterGraph* graph, LPCWSTR name) {
  std::lock_guard hold(lock_);
  graph_ = graph;
  sink_ = nullptr;
  if (graph && SUCCEEDED(graph->QueryInterface(D_IID_IMediaEventSink, reinterpret_cast<void**>(&sink_)))) {
    sink_->Release();  // a weak pointer: the graph outlives its filters' membership
  }
  name_ = name ? std::u16string(name) : std::u16string();
  return S_OK;
}

void QuartzFilter::NotifyEvent(LONG code, LONG_PTR parameter1, LONG_PTR parameter2) {
  D_IMediaEventSink* sink = sink_;
  if (sink) sink->Notify(code, parameter1, parameter2);
}

}  // namespace wqplat
