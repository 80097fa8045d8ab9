// The filter graph manager (CLSID_FilterGraph): the filter list, graph
// building, state control, events, and seeking and volume passed to the
// renderers.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/dshow.h"

namespace wqplat {

HRESULT CreateFilterGraph(REFIID iid, void** object);

class FilterGraph final : public D_IFilterGraph2,
                          public D_IMediaControl,
                          public D_IMediaSeeking,
                          public D_IMediaEventEx,
                          public D_IMediaEventSink,
                          public D_IMediaFilter,
                          public D_IBasicAudio {
 public:
  FilterGraph();

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;

  // Filter list.
  HRESULT AddFilter(D_IBaseFilter* filter, LPCWSTR name) override;
  HRESULT RemoveFilter(D_IBaseFilter* filter) override;
  HRESULT EnumFilters(D_IEnumFilters** filters) override;
  HRESULT FindFilterByName(LPCWSTR name, D_IBaseFilter** filter) override;
  HRESULT SetDefaultSyncSource() override;

  // Building (filter_graph_building.cpp).
  HRESULT ConnectDirect(D_IPin* output, D_IPin* input, const D_AM_MEDIA_TYPE* type) override;
  HRESULT Reconnect(D_IPin* pin) override;
  HRESULT ReconnectEx(D_IPin* pin, const D_AM_MEDIA_TYPE* type) override;
  HRESULT Disconnect(D_IPin* pin) override;
  HRESULT Connect(D_IPin* output, D_IPin* input) override;
  HRESULT Render(D_IPin* output) override;
  HRESULT RenderFile(LPCWSTR file, LPCWSTR play_list) override;
  HRESULT AddSourceFilter(LPCWSTR file, LPCWSTR filter_name, D_IBaseFilter** filter) override;
  HRESULT SetLogFile(DWORD_PTR) override { return S_OK; }
  HRESULT Abort() override { return S_OK; }
  HRESULT ShouldOperationContinue() override { return S_OK; }
  HRESULT AddSourceFilterForMoniker(IUnknown*, IUnknown*, LPCWSTR, D_IBaseFilter**) override { return E_NOTIMPL; }
  HRESULT RenderEx(D_IPin* output, DWORD flags, DWORD* context) override;

  // Control.
  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
  HRESULT Run() override;
  HRESULT Pause() override;
  HRESULT Stop() override;
  HRESULT GetState(LONG timeout_ms, D_OAFilterState* state) override;
  HRESULT RenderFile(BSTR file) override { return RenderFile(file, nullptr); }
  HRESULT AddSourceFilter(BSTR, IDispatch**) override { return E_NOTIMPL; }
  HRESULT get_FilterCollection(IDispatch**) override { return E_NOTIMPL; }
  HRESULT get_RegFilterCollection(IDispatch**) override { return E_NOTIMPL; }
  HRESULT StopWhenReady() override;

  // The graph as a filter.
  HRESULT GetClassID(CLSID* clsid) override;
  HRESULT Run(D_REFERENCE_TIME) override { return Run(); }
  HRESULT GetState(DWORD timeout_ms, D_FILTER_STATE* state) override;
  HRESULT SetSyncSource(D_IReferenceClock* clock) override;
  HRESULT GetSyncSource(D_IReferenceClock** clock) override;

  // Events (filter_graph_events.cpp).
  HRESULT GetEventHandle(D_OAEVENT* event) override;
  HRESULT GetEvent(LONG* code, LONG_PTR* parameter1, LONG_PTR* parameter2, LONG timeout_ms) override;
  HRESULT WaitForCompletion(LONG timeout_ms, LONG* code) override;
  HRESULT CancelDefaultHandling(LONG) override { return S_OK; }
  HRESULT RestoreDefaultHandling(LONG) override { return S_OK; }
  HRESULT FreeEventParams(LONG, LONG_PTR, LONG_PTR) override { return S_OK; }
  HRESULT SetNotifyWindow(D_OAHWND, LONG, LONG_PTR) override { return E_NOTIMPL; }
  HRESULT SetNotifyFlags(LONG) override { return S_OK; }
  HRESULT GetNotifyFlags(LONG* no_notify) override;
  HRESULT Notify(LONG code, LONG_PTR parameter1, LONG_PTR parameter2) override;

  // Seeking and volume (filter_graph_seeking.cpp).
  HRESULT GetCapabilities(DWORD* capabilities) override;
  HRESULT CheckCapabilities(DWORD* capabilities) override;
  HRESULT IsFormatSupported(const GUID* format) override;
  HRESULT QueryPreferredFormat(GUID* format) override;
  HRESULT GetTimeFormat(GUID* format) override;
  HRESULT IsUsingTimeFormat(const GUID* format) override;
  HRESULT SetTimeFormat(const GUID* format) override;
  HRESULT GetDuration(LONGLONG* duration) override;
  HRESULT GetStopPosition(LONGLONG* stop) override;
  HRESULT GetCurrentPosition(LONGLONG* current) override;
  HRESULT ConvertTimeFormat(LONGLONG* target, const GUID* target_format, LONGLONG source,
                            const GUID* source_format) override;
  HRESULT SetPositions(LONGLONG* current, DWORD current_flags, LONGLONG* stop, DWORD stop_flags) override;
  HRESULT GetPositions(LONGLONG* current, LONGLONG* stop) override;
  HRESULT GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
  HRESULT SetRate(double rate) override;
  HRESULT GetRate(double* rate) override;
  HRESULT GetPreroll(LONGLONG* preroll) override;
  HRESULT put_Volume(LONG volume) override;
  HRESULT get_Volume(LONG* volume) override;
  HRESULT put_Balance(LONG balance) override;
  HRESULT get_Balance(LONG* balance) override;

 private:
  struct Entry {
    D_IBaseFilter* filter;  // referenced
    std::u16string name;
  };
  struct PendingReconnect {
    D_IPin* pin;  // referenced
    D_AM_MEDIA_TYPE* type;
  };
  struct Event {
    LONG code;
    LONG_PTR parameter1;
    LONG_PTR parameter2;
  };
  // Counts nested building calls; the outermost one runs the reconnections
  // asked for meanwhile, and on failure removes the filters it added.
  class BuildScope;

  ~FilterGraph();
  bool Contains(D_IBaseFilter* filter) const;
  std::vector<D_IBaseFilter*> Filters() const;
  // Downstream filters first, as state changes go.
  std::vector<D_IBaseFilter*> FiltersDownstreamFirst() const;
  void DistributeClock();
  HRESULT PauseFilters();
  HRESULT RunFilters(D_REFERENCE_TIME start);
  D_REFERENCE_TIME ClockTime() const;
  // The start to give Run: stream time goes on from where it was paused.
  D_REFERENCE_TIME StartTimeFromNow() const;
  void ResetCompletion();

  HRESULT RenderPin(D_IPin* output, int depth);
  HRESULT RenderOutputs(D_IBaseFilter* filter, int depth);
  HRESULT ConnectThrough(D_IPin* output, D_IPin* input, int depth);
  HRESULT DoReconnect(D_IPin* pin, const D_AM_MEDIA_TYPE* type);
  void RunPendingReconnects();
  HRESULT AddCatalogFilter(size_t index, D_IBaseFilter** filter);
  void DisconnectAll(D_IBaseFilter* filter);

  // Each renderer of the graph that can seek, referenced.
  std::vector<D_IMediaSeeking*> RendererSeeking() const;
  std::vector<D_IBasicAudio*> AudioRenderers() const;
  void QueueEvent(const Event& event);

  std::atomic<ULONG> references_{1};
  mutable std::recursive_mutex lock_;
  std::vector<Entry> filters_;
  D_FILTER_STATE state_ = D_State_Stopped;
  D_IReferenceClock* clock_ = nullptr;
  bool clock_chosen_ = false;
  D_REFERENCE_TIME start_time_ = 0;
  D_REFERENCE_TIME paused_at_ = 0;  // stream time when paused
  int build_depth_ = 0;
  std::vector<PendingReconnect> pending_;
  int unnamed_filters_ = 0;

  std::mutex event_lock_;
  std::condition_variable event_arrived_;
  std::deque<Event> events_;
  HANDLE event_handle_ = nullptr;
  LONG completion_code_ = 0;
  int renderers_total_ = 0;
  int renderers_completed_ = 0;
};

}  // namespace wqplat
