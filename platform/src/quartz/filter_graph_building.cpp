// Graph building: direct and intelligent connection, rendering a pin or a
// file, and reconnections deferred until the building call returns.
#include <algorithm>

#include "quartz/filter_catalog.h"
#include "quartz/filter_graph.h"
#include "quartz/graph_pins.h"
#include "quartz/media_type_copy.h"

namespace wqplat {
namespace {

// How many filters the builder may chain between two pins.
constexpr int kMaxChain = 4;

bool OutputOffers(D_IPin* output, const CatalogFilter& candidate) {
  D_IEnumMediaTypes* types = nullptr;
  if (FAILED(output->EnumMediaTypes(&types)) || types == nullptr) return false;
  bool offered = false;
  D_AM_MEDIA_TYPE* type = nullptr;
  while (!offered && types->Next(1, &type, nullptr) == S_OK) {
    offered = candidate.takes(*type);
    DeleteMediaTypeCopy(type);
  }
  types->Release();
  return offered;
}

bool ConnectToFirstInput(D_IPin* output, D_IBaseFilter* filter) {
  PinList pins(filter);
  for (D_IPin* pin : pins.pins()) {
    if (PinDirection(pin) == D_PINDIR_INPUT) return output->Connect(pin, nullptr) == S_OK;
  }
  return false;
}

}  // namespace

class FilterGraph::BuildScope {
 public:
  explicit BuildScope(FilterGraph* graph) : graph_(graph), hold_(graph->lock_), before_(graph->Filters()) {
    ++graph_->build_depth_;
  }
  ~BuildScope() {
    if (--graph_->build_depth_ == 0) graph_->RunPendingReconnects();
  }
  // Removes what the call added when it failed.
  HRESULT Finish(HRESULT result) {
    if (FAILED(result)) {
      for (D_IBaseFilter* filter : graph_->Filters()) {
        if (std::find(before_.begin(), before_.end(), filter) == before_.end()) graph_->RemoveFilter(filter);
      }
    }
    return result;
  }

 private:
  FilterGraph* const graph_;
  std::lock_guard<std::recursive_mutex> hold_;
  const std::vector<D_IBaseFilter*> before_;
};

HRESULT FilterGraph::ConnectDirect(D_IPin* output, D_IPin* input, const D_AM_MEDIA_TYPE* type) {
  if (output == nullptr || input == nullptr) return E_POINTER;
  BuildScope scope(this);
  if (!Contains(PinOwner(output)) || !Contains(PinOwner(input))) return D_VFW_E_NOT_IN_GRAPH;
  if (state_ != D_State_Stopped) return D_VFW_E_NOT_STOPPED;
  return output->Connect(input, type);
}

HRESULT FilterGraph::Disconnect(D_IPin* pin) {
  if (pin == nullptr) return E_POINTER;
  return pin->Disconnect();
}

HRESULT FilterGraph::Reconnect(D_IPin* pin) { return ReconnectEx(pin, nullptr); }

HRESULT FilterGraph::ReconnectEx(D_IPin* pin, const D_AM_MEDIA_TYPE* type) {
  if (pin == nullptr) return E_POINTER;
  std::lock_guard hold(lock_);
  if (state_ != D_State_Stopped) return D_VFW_E_WRONG_STATE;
  if (!PinIsConnected(pin)) return D_VFW_E_NOT_CONNECTED;
  if (build_depth_ == 0) return DoReconnect(pin, type);
  D_AM_MEDIA_TYPE* copy = type ? CreateMediaTypeCopy(*type) : nullptr;
  if (type && copy == nullptr) return E_OUTOFMEMORY;
  pin->AddRef();
  pending_.push_back({pin, copy});
  return S_OK;
}

HRESULT FilterGraph::DoReconnect(D_IPin* pin, const D_AM_MEDIA_TYPE* type) {
  D_IPin* peer = nullptr;
  if (FAILED(pin->ConnectedTo(&peer)) || peer == nullptr) return D_VFW_E_NOT_CONNECTED;
  D_IPin* output = PinDirection(pin) == D_PINDIR_OUTPUT ? pin : peer;
  D_IPin* input = output == pin ? peer : pin;
  output->Disconnect();
  input->Disconnect();
  const HRESULT result = output->Connect(input, type);
  peer->Release();
  return result;
}

void FilterGraph::RunPendingReconnects() {
  ++build_depth_;  // a reconnection that asks for another is queued behind it
  while (!pending_.empty()) {
    const PendingReconnect next = pending_.front();
    pending_.erase(pending_.begin());
    if (PinIsConnected(next.pin)) DoReconnect(next.pin, next.type);
    next.pin->Release();
    DeleteMediaTypeCopy(next.type);
  }
  --build_depth_;
}

HRESULT FilterGraph::AddCatalogFilter(size_t index, D_IBaseFilter** filter) {
  const CatalogFilter& entry = FilterCatalog()[index];
  HRESULT result = entry.create(D_IID_IBaseFilter, reinterpret_cast<void**>(filter));
  if (FAILED(result)) return result;
  std::u16string name = entry.name;
  for (int suffix = 2; (result = AddFilter(*filter, name.c_str())) == D_VFW_E_DUPLICATE_NAME; ++suffix) {
    const std::string number = std::to_string(suffix);
    name = std::u16string(entry.name) + u" " + std::u16string(number.begin(), number.end());
  }
  if (FAILED(result)) {
    (*filter)->Release();
    *filter = nullptr;
  }
  return result;
}

// Through filters of the catalog: the first whose input takes the output
// and whose outputs reach the input (maybe through more of them).
HRESULT FilterGraph::ConnectThrough(D_IPin* output, D_IPin* input, int depth) {
  if (depth >= kMaxChain) return D_VFW_E_CANNOT_CONNECT;
  const auto catalog = FilterCatalog();
  for (size_t index = 0; index < catalog.size(); ++index) {
    if (!OutputOffers(output, catalog[index])) continue;
    D_IBaseFilter* middle = nullptr;
    if (FAILED(AddCatalogFilter(index, &middle))) continue;
    bool reached = false;
    if (ConnectToFirstInput(output, middle)) {
      PinList pins(middle);  // read again: a parser's outputs appear once it is connected
      for (D_IPin* pin : pins.pins()) {
        if (reached || PinDirection(pin) != D_PINDIR_OUTPUT || PinIsConnected(pin)) continue;
        reached = pin->Connect(input, nullptr) == S_OK || SUCCEEDED(ConnectThrough(pin, input, depth + 1));
      }
    }
    middle->Release();
    if (reached) return S_OK;
    RemoveFilter(middle);
  }
  return D_VFW_E_CANNOT_CONNECT;
}

HRESULT FilterGraph::Connect(D_IPin* output, D_IPin* input) {
  if (output == nullptr || input == nullptr) return E_POINTER;
  BuildScope scope(this);
  if (!Contains(PinOwner(output)) || !Contains(PinOwner(input))) return D_VFW_E_NOT_IN_GRAPH;
  if (state_ != D_State_Stopped) return D_VFW_E_NOT_STOPPED;
  if (PinDirection(output) != D_PINDIR_OUTPUT) std::swap(output, input);
  const HRESULT direct = output->Connect(input, nullptr);
  if (SUCCEEDED(direct) || direct == D_VFW_E_ALREADY_CONNECTED) return direct;
  return scope.Finish(ConnectThrough(output, input, 0));
}

// Every unconnected output of a filter rendered: S_OK for all (or none to
// render), D_VFW_S_PARTIAL_RENDER for some.
HRESULT FilterGraph::RenderOutputs(D_IBaseFilter* filter, int depth) {
  int tried = 0;
  int rendered = 0;
  PinList pins(filter);
  for (D_IPin* pin : pins.pins()) {
    if (PinDirection(pin) != D_PINDIR_OUTPUT || PinIsConnected(pin)) continue;
    ++tried;
    if (SUCCEEDED(RenderPin(pin, depth))) ++rendered;
  }
  if (rendered == tried) return S_OK;
  return rendered > 0 ? D_VFW_S_PARTIAL_RENDER : D_VFW_E_CANNOT_RENDER;
}

// Filters already in the graph are tried before the catalog's.
HRESULT FilterGraph::RenderPin(D_IPin* output, int depth) {
  if (PinIsConnected(output)) return D_VFW_E_ALREADY_CONNECTED;
  if (depth >= kMaxChain) return D_VFW_E_CANNOT_RENDER;
  D_IBaseFilter* const owner = PinOwner(output);
  for (D_IBaseFilter* filter : Filters()) {
    if (filter == owner) continue;
    PinList pins(filter);
    for (D_IPin* pin : pins.pins()) {
      if (PinDirection(pin) != D_PINDIR_INPUT || PinIsConnected(pin)) continue;
      if (output->Connect(pin, nullptr) != S_OK) continue;
      if (SUCCEEDED(RenderOutputs(filter, depth + 1))) return S_OK;
      output->Disconnect();
      pin->Disconnect();
    }
  }
  const auto catalog = FilterCatalog();
  for (size_t index = 0; index < catalog.size(); ++index) {
    if (!OutputOffers(output, catalog[index])) continue;
    D_IBaseFilter* added = nullptr;
    if (FAILED(AddCatalogFilter(index, &added))) continue;
    const HRESULT result =
        ConnectToFirstInput(output, added) ? RenderOutputs(added, depth + 1) : D_VFW_E_CANNOT_RENDER;
    added->Release();
    if (SUCCEEDED(result)) return result;
    RemoveFilter(added);
  }
  return D_VFW_E_CANNOT_RENDER;
}

HRESULT FilterGraph::Render(D_IPin* output) {
  if (output == nullptr) return E_POINTER;
  BuildScope scope(this);
  if (!Contains(PinOwner(output))) return D_VFW_E_NOT_IN_GRAPH;
  if (state_ != D_State_Stopped) return D_VFW_E_NOT_STOPPED;
  if (PinDirection(output) != D_PINDIR_OUTPUT) return D_VFW_E_INVALID_DIRECTION;
  return scope.Finish(RenderPin(output, 0));
}

HRESULT FilterGraph::RenderEx(D_IPin* output, DWORD, DWORD*) { return Render(output); }

HRESULT FilterGraph::AddSourceFilter(LPCWSTR file, LPCWSTR filter_name, D_IBaseFilter** filter) {
  if (file == nullptr || filter == nullptr) return E_POINTER;
  std::lock_guard hold(lock_);
  HRESULT result = CreateMovieFileSource(file, filter);
  if (FAILED(result)) return result;
  result = AddFilter(*filter, filter_name ? filter_name : file);
  if (FAILED(result)) {
    (*filter)->Release();
    *filter = nullptr;
  }
  return result;
}

HRESULT FilterGraph::RenderFile(LPCWSTR file, LPCWSTR) {
  if (file == nullptr) return E_POINTER;
  BuildScope scope(this);
  if (state_ != D_State_Stopped) return D_VFW_E_NOT_STOPPED;
  D_IBaseFilter* source = nullptr;
  HRESULT result = AddSourceFilter(file, nullptr, &source);
  if (FAILED(result)) return result;
  result = RenderOutputs(source, 0);
  source->Release();
  return scope.Finish(result);
}

}  // namespace wqplat
