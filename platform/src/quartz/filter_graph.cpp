#include "quartz/filter_graph.h"

#include <algorithm>
#include <map>

#include "ole32/com_class_table.h"
#include "platform/kernel32.h"
#include "quartz/graph_pins.h"
#include "quartz/media_type_copy.h"
#include "quartz/quartz_controls.h"
#include "quartz/quartz_enumerators.h"

namespace wqplat {
namespace {

// Time given to the filters between Run and the first sample's due time.
constexpr D_REFERENCE_TIME kRunLatency = 100'000;

}  // namespace

HRESULT CreateFilterGraph(REFIID iid, void** object) { return CreateComClassObject<FilterGraph>(iid, object); }

FilterGraph::FilterGraph() { event_handle_ = CreateEventA(nullptr, TRUE, FALSE, nullptr); }

FilterGraph::~FilterGraph() {
  if (clock_) clock_->Release();
  if (event_handle_) CloseHandle(event_handle_);
}

// The last release stops the graph and lets every filter leave it;
// connections are broken first so that no filter keeps another alive.
ULONG FilterGraph::Release() {
  const ULONG left = --references_;
  if (left != 0) return left;
  references_ = 1;  // a filter's call back into the graph must not end it twice
  Stop();
  for (const Entry& entry : filters_) DisconnectAll(entry.filter);
  while (!filters_.empty()) {
    const Entry entry = filters_.back();
    filters_.pop_back();
    entry.filter->JoinFilterGraph(nullptr, nullptr);
    entry.filter->Release();
  }
  for (const PendingReconnect& pending : pending_) {
    pending.pin->Release();
    DeleteMediaTypeCopy(pending.type);
  }
  delete this;
  return 0;
}

HRESULT FilterGraph::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  void* found = nullptr;
  if (iid == IID_IUnknown || iid == D_IID_IFilterGraph || iid == D_IID_IGraphBuilder || iid == D_IID_IFilterGraph2) {
    found = static_cast<D_IFilterGraph2*>(this);
  } else if (iid == D_IID_IMediaControl || iid == IID_IDispatch) {
    found = static_cast<D_IMediaControl*>(this);
  } else if (iid == D_IID_IMediaSeeking) {
    found = static_cast<D_IMediaSeeking*>(this);
  } else if (iid == D_IID_IMediaEvent || iid == D_IID_IMediaEventEx) {
    found = static_cast<D_IMediaEventEx*>(this);
  } else if (iid == D_IID_IMediaEventSink) {
    found = static_cast<D_IMediaEventSink*>(this);
  } else if (iid == D_IID_IMediaFilter || iid == IID_IPersist) {
    found = static_cast<D_IMediaFilter*>(this);
  } else if (iid == D_IID_IBasicAudio) {
    found = static_cast<D_IBasicAudio*>(this);
  }
  *object = found;
  if (found == nullptr) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

// ---- Filter list -------------------------------------------------------------------

bool FilterGraph::Contains(D_IBaseFilter* filter) const {
  std::lock_guard hold(lock_);
  return std::any_of(filters_.begin(), filters_.end(), [&](const Entry& entry) { return entry.filter == filter; });
}

std::vector<D_IBaseFilter*> FilterGraph::Filters() const {
  std::lock_guard hold(lock_);
  std::vector<D_IBaseFilter*> list;
  for (const Entry& entry : filters_) list.push_back(entry.filter);
  return list;
}

HRESULT FilterGraph::AddFilter(D_IBaseFilter* filter, LPCWSTR name) {
  if (filter == nullptr) return E_POINTER;
  if (FilterGraphCallFails("AddFilter")) return E_FAIL;
  std::lock_guard hold(lock_);
  if (Contains(filter)) return E_INVALIDARG;
  std::u16string chosen;
  if (name) {
    chosen = name;
    if (std::any_of(filters_.begin(), filters_.end(), [&](const Entry& entry) { return entry.name == chosen; })) {
      return D_VFW_E_DUPLICATE_NAME;
    }
  } else {
    const std::string number = std::to_string(++unnamed_filters_);
    chosen = u"Filter " + std::u16string(number.begin(), number.end());
  }
  const HRESULT joined = filter->JoinFilterGraph(this, chosen.c_str());
  if (FAILED(joined)) return joined;
  filter->AddRef();
  filters_.push_back({filter, chosen});
  if (clock_chosen_) filter->SetSyncSource(clock_);
  return S_OK;
}

void FilterGraph::DisconnectAll(D_IBaseFilter* filter) {
  PinList list(filter);
  for (D_IPin* pin : list.pins()) {
    D_IPin* peer = nullptr;
    if (SUCCEEDED(pin->ConnectedTo(&peer)) && peer) {
      peer->Disconnect();
      peer->Release();
    }
    pin->Disconnect();
  }
}

HRESULT FilterGraph::RemoveFilter(D_IBaseFilter* filter) {
  if (filter == nullptr) return E_POINTER;
  std::lock_guard hold(lock_);
  const auto found =
      std::find_if(filters_.begin(), filters_.end(), [&](const Entry& entry) { return entry.filter == filter; });
  if (found == filters_.end()) return D_VFW_E_NOT_FOUND;
  if (state_ != D_State_Stopped) return D_VFW_E_NOT_STOPPED;
  DisconnectAll(filter);
  filters_.erase(found);
  filter->JoinFilterGraph(nullptr, nullptr);
  filter->Release();
  return S_OK;
}

HRESULT FilterGraph::EnumFilters(D_IEnumFilters** filters) {
  if (filters == nullptr) return E_POINTER;
  std::vector<D_IBaseFilter*> list = Filters();
  for (D_IBaseFilter* filter : list) filter->AddRef();
  *filters = new FilterEnumerator(std::move(list));
  return S_OK;
}

HRESULT FilterGraph::FindFilterByName(LPCWSTR name, D_IBaseFilter** filter) {
  if (name == nullptr || filter == nullptr) return E_POINTER;
  std::lock_guard hold(lock_);
  *filter = nullptr;
  for (const Entry& entry : filters_) {
    if (entry.name == name) {
      entry.filter->AddRef();
      *filter = entry.filter;
      return S_OK;
    }
  }
  return D_VFW_E_NOT_FOUND;
}

// ---- Clock ---------------------------------------------------------------------------

void FilterGraph::DistributeClock() {
  for (D_IBaseFilter* filter : Filters()) filter->SetSyncSource(clock_);
}

// A filter that offers a clock (an audio renderer) is chosen before the
// system clock.
HRESULT FilterGraph::SetDefaultSyncSource() {
  std::lock_guard hold(lock_);
  D_IReferenceClock* chosen = nullptr;
  for (D_IBaseFilter* filter : Filters()) {
    if (SUCCEEDED(filter->QueryInterface(D_IID_IReferenceClock, reinterpret_cast<void**>(&chosen)))) break;
    chosen = nullptr;
  }
  if (chosen == nullptr) {
    const HRESULT made = CoCreateInstance(D_CLSID_SystemClock, nullptr, CLSCTX_INPROC_SERVER, D_IID_IReferenceClock,
                                          reinterpret_cast<void**>(&chosen));
    if (FAILED(made)) return made;
  }
  const HRESULT result = SetSyncSource(chosen);
  chosen->Release();
  return result;
}

HRESULT FilterGraph::SetSyncSource(D_IReferenceClock* clock) {
  std::lock_guard hold(lock_);
  if (state_ != D_State_Stopped) return D_VFW_E_NOT_STOPPED;
  if (clock) clock->AddRef();
  if (clock_) clock_->Release();
  clock_ = clock;
  clock_chosen_ = true;
  DistributeClock();
  return S_OK;
}

HRESULT FilterGraph::GetSyncSource(D_IReferenceClock** clock) {
  if (clock == nullptr) return E_POINTER;
  std::lock_guard hold(lock_);
  *clock = clock_;
  if (clock_) clock_->AddRef();
  return S_OK;
}

D_REFERENCE_TIME FilterGraph::StartTimeFromNow() const {
  return clock_ ? ClockTime() + kRunLatency - paused_at_ : 0;
}

D_REFERENCE_TIME FilterGraph::ClockTime() const {
  D_REFERENCE_TIME now = 0;
  if (clock_) clock_->GetTime(&now);
  return now;
}

// ---- State ---------------------------------------------------------------------------

std::vector<D_IBaseFilter*> FilterGraph::FiltersDownstreamFirst() const {
  const std::vector<D_IBaseFilter*> list = Filters();
  // Depth: how many filters lie downstream; a connected output makes a
  // filter one deeper than the filter it feeds.
  std::map<D_IBaseFilter*, int> depth;
  for (D_IBaseFilter* filter : list) depth[filter] = 0;
  for (size_t pass = 0; pass < list.size(); ++pass) {
    bool changed = false;
    for (D_IBaseFilter* filter : list) {
      PinList pins(filter);
      for (D_IPin* pin : pins.pins()) {
        D_IPin* peer = nullptr;
        if (PinDirection(pin) != D_PINDIR_OUTPUT || FAILED(pin->ConnectedTo(&peer)) || peer == nullptr) continue;
        const auto downstream = depth.find(PinOwner(peer));
        peer->Release();
        if (downstream != depth.end() && depth[filter] < downstream->second + 1) {
          depth[filter] = downstream->second + 1;
          changed = true;
        }
      }
    }
    if (!changed) break;
  }
  std::vector<D_IBaseFilter*> ordered = list;
  std::stable_sort(ordered.begin(), ordered.end(),
                   [&](D_IBaseFilter* a, D_IBaseFilter* b) { return depth[a] < depth[b]; });
  return ordered;
}

void FilterGraph::ResetCompletion() {
  int renderers = 0;
  for (D_IBaseFilter* filter : Filters()) renderers += IsRendererFilter(filter) ? 1 : 0;
  std::lock_guard hold(event_lock_);
  renderers_total_ = renderers;
  renderers_completed_ = 0;
  completion_code_ = 0;
}

HRESULT FilterGraph::PauseFilters() {
  HRESULT result = S_OK;
  for (D_IBaseFilter* filter : FiltersDownstreamFirst()) {
    const HRESULT paused = filter->Pause();
    if (FAILED(paused)) return paused;
    if (paused == S_FALSE) result = S_FALSE;
  }
  return result;
}

HRESULT FilterGraph::RunFilters(D_REFERENCE_TIME start) {
  for (D_IBaseFilter* filter : FiltersDownstreamFirst()) {
    const HRESULT ran = filter->Run(start);
    if (FAILED(ran)) return ran;
  }
  return S_OK;
}

HRESULT FilterGraph::Pause() {
  std::lock_guard hold(lock_);
  if (state_ == D_State_Paused) return S_OK;
  if (state_ == D_State_Stopped) {
    if (!clock_chosen_) SetDefaultSyncSource();
    ResetCompletion();
  } else {
    paused_at_ = ClockTime() - start_time_;
  }
  const HRESULT result = PauseFilters();
  if (FAILED(result)) {
    Stop();
    return result;
  }
  state_ = D_State_Paused;
  return result;
}

HRESULT FilterGraph::Run() {
  if (FilterGraphCallFails("Run")) return E_FAIL;
  std::lock_guard hold(lock_);
  if (state_ == D_State_Running) return S_OK;
  if (state_ == D_State_Stopped) {
    const HRESULT paused = Pause();
    if (FAILED(paused)) return paused;
  }
  start_time_ = StartTimeFromNow();
  const HRESULT result = RunFilters(start_time_);
  if (FAILED(result)) {
    Stop();
    return result;
  }
  state_ = D_State_Running;
  return S_OK;
}

HRESULT FilterGraph::Stop() {
  std::lock_guard hold(lock_);
  HRESULT result = S_OK;
  for (D_IBaseFilter* filter : FiltersDownstreamFirst()) {
    const HRESULT stopped = filter->Stop();
    if (FAILED(stopped) && SUCCEEDED(result)) result = stopped;
  }
  state_ = D_State_Stopped;
  paused_at_ = 0;
  return result;
}

HRESULT FilterGraph::StopWhenReady() {
  Pause();
  return Stop();
}

HRESULT FilterGraph::GetState(LONG timeout_ms, D_OAFilterState* state) {
  if (state == nullptr) return E_POINTER;
  D_FILTER_STATE filter_state{};
  const HRESULT result = GetState(static_cast<DWORD>(timeout_ms), &filter_state);
  *state = filter_state;
  return result;
}

// Intermediate while any filter has not finished its change.
HRESULT FilterGraph::GetState(DWORD timeout_ms, D_FILTER_STATE* state) {
  if (state == nullptr) return E_POINTER;
  std::lock_guard hold(lock_);
  *state = state_;
  HRESULT result = S_OK;
  for (D_IBaseFilter* filter : Filters()) {
    D_FILTER_STATE filter_state{};
    const HRESULT asked = filter->GetState(timeout_ms, &filter_state);
    if (FAILED(asked)) return asked;
    if (asked == D_VFW_S_STATE_INTERMEDIATE) result = asked;
  }
  return result;
}

HRESULT FilterGraph::GetClassID(CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  *clsid = D_CLSID_FilterGraph;
  return S_OK;
}

HRESULT FilterGraph::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;  // the layer has no type library to describe the interfaces
  return S_OK;
}

}  // namespace wqplat
