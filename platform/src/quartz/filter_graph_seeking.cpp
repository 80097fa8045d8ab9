// Seeking and volume of the graph, passed to its renderers: seeking to
// those that answer IMediaSeeking (each passes it upstream to the source),
// volume to those that answer IBasicAudio.
#include <algorithm>

#include "quartz/filter_graph.h"
#include "quartz/graph_pins.h"

namespace wqplat {
namespace {

bool IsMediaTime(const GUID* format) { return format && *format == D_TIME_FORMAT_MEDIA_TIME; }

template <class Interface>
void ReleaseAll(std::vector<Interface*>& list) {
  for (Interface* item : list) item->Release();
}

}  // namespace

std::vector<D_IMediaSeeking*> FilterGraph::RendererSeeking() const {
  std::vector<D_IMediaSeeking*> list;
  for (D_IBaseFilter* filter : Filters()) {
    D_IMediaSeeking* seeking = nullptr;
    if (IsRendererFilter(filter) &&
        SUCCEEDED(filter->QueryInterface(D_IID_IMediaSeeking, reinterpret_cast<void**>(&seeking)))) {
      list.push_back(seeking);
    }
  }
  return list;
}

std::vector<D_IBasicAudio*> FilterGraph::AudioRenderers() const {
  std::vector<D_IBasicAudio*> list;
  for (D_IBaseFilter* filter : Filters()) {
    D_IBasicAudio* audio = nullptr;
    if (SUCCEEDED(filter->QueryInterface(D_IID_IBasicAudio, reinterpret_cast<void**>(&audio)))) list.push_back(audio);
  }
  return list;
}

namespace {

// The first renderer's answer that succeeds; E_NOTIMPL without one.
template <class Call>
HRESULT FirstAnswer(std::vector<D_IMediaSeeking*> list, Call call) {
  HRESULT result = E_NOTIMPL;
  for (D_IMediaSeeking* seeking : list) {
    if (SUCCEEDED(result)) break;
    result = call(seeking);
  }
  ReleaseAll(list);
  return result;
}

// The largest of the renderers' answers (the longest stream).
HRESULT LargestAnswer(std::vector<D_IMediaSeeking*> list, HRESULT (D_IMediaSeeking::*method)(LONGLONG*),
                      LONGLONG* value) {
  if (value == nullptr) {
    ReleaseAll(list);
    return E_POINTER;
  }
  HRESULT result = E_NOTIMPL;
  for (D_IMediaSeeking* seeking : list) {
    LONGLONG answer = 0;
    if (SUCCEEDED((seeking->*method)(&answer))) {
      *value = SUCCEEDED(result) ? std::max(*value, answer) : answer;
      result = S_OK;
    }
  }
  ReleaseAll(list);
  return result;
}

}  // namespace

HRESULT FilterGraph::GetCapabilities(DWORD* capabilities) {
  if (capabilities == nullptr) return E_POINTER;
  std::vector<D_IMediaSeeking*> list = RendererSeeking();
  HRESULT result = E_NOTIMPL;
  DWORD common = ~0u;
  for (D_IMediaSeeking* seeking : list) {
    DWORD own = 0;
    if (SUCCEEDED(seeking->GetCapabilities(&own))) {
      common &= own;
      result = S_OK;
    }
  }
  ReleaseAll(list);
  *capabilities = SUCCEEDED(result) ? common : 0;
  return result;
}

HRESULT FilterGraph::CheckCapabilities(DWORD* capabilities) {
  if (capabilities == nullptr) return E_POINTER;
  DWORD own = 0;
  const HRESULT result = GetCapabilities(&own);
  if (FAILED(result)) return result;
  const DWORD asked = *capabilities;
  *capabilities &= own;
  if (*capabilities == asked) return S_OK;
  return *capabilities ? S_FALSE : E_FAIL;
}

HRESULT FilterGraph::IsFormatSupported(const GUID* format) {
  if (format == nullptr) return E_POINTER;
  return IsMediaTime(format) ? S_OK : S_FALSE;
}

HRESULT FilterGraph::QueryPreferredFormat(GUID* format) { return GetTimeFormat(format); }

HRESULT FilterGraph::GetTimeFormat(GUID* format) {
  if (format == nullptr) return E_POINTER;
  *format = D_TIME_FORMAT_MEDIA_TIME;
  return S_OK;
}

HRESULT FilterGraph::IsUsingTimeFormat(const GUID* format) {
  if (format == nullptr) return E_POINTER;
  return IsMediaTime(format) ? S_OK : S_FALSE;
}

HRESULT FilterGraph::SetTimeFormat(const GUID* format) {
  if (format == nullptr) return E_POINTER;
  return IsMediaTime(format) ? S_OK : E_INVALIDARG;
}

HRESULT FilterGraph::GetDuration(LONGLONG* duration) {
  return LargestAnswer(RendererSeeking(), &D_IMediaSeeking::GetDuration, duration);
}

HRESULT FilterGraph::GetStopPosition(LONGLONG* stop) {
  return LargestAnswer(RendererSeeking(), &D_IMediaSeeking::GetStopPosition, stop);
}

HRESULT FilterGraph::GetCurrentPosition(LONGLONG* current) {
  if (current == nullptr) return E_POINTER;
  return FirstAnswer(RendererSeeking(), [&](D_IMediaSeeking* seeking) { return seeking->GetCurrentPosition(current); });
}

HRESULT FilterGraph::ConvertTimeFormat(LONGLONG* target, const GUID* target_format, LONGLONG source,
                                       const GUID* source_format) {
  if (target == nullptr) return E_POINTER;
  if ((target_format && !IsMediaTime(target_format)) || (source_format && !IsMediaTime(source_format))) {
    return E_INVALIDARG;
  }
  *target = source;
  return S_OK;
}

// A running graph is paused around the seek and then runs from the new
// position at stream time 0.
HRESULT FilterGraph::SetPositions(LONGLONG* current, DWORD current_flags, LONGLONG* stop, DWORD stop_flags) {
  std::lock_guard hold(lock_);
  const D_FILTER_STATE was = state_;
  if (was == D_State_Running) {
    for (D_IBaseFilter* filter : FiltersDownstreamFirst()) filter->Pause();
  }
  std::vector<D_IMediaSeeking*> list = RendererSeeking();
  HRESULT result = list.empty() ? E_NOTIMPL : S_OK;
  for (D_IMediaSeeking* seeking : list) {
    const HRESULT sought = seeking->SetPositions(current, current_flags, stop, stop_flags);
    if (FAILED(sought)) result = sought;
  }
  ReleaseAll(list);
  if (current && (current_flags & D_AM_SEEKING_PositioningBitsMask) != D_AM_SEEKING_NoPositioning) {
    paused_at_ = 0;
    if (was != D_State_Stopped) ResetCompletion();
  }
  if (was == D_State_Running) {
    start_time_ = StartTimeFromNow();
    RunFilters(start_time_);
  }
  return result;
}

HRESULT FilterGraph::GetPositions(LONGLONG* current, LONGLONG* stop) {
  HRESULT result = S_OK;
  if (current) result = GetCurrentPosition(current);
  if (SUCCEEDED(result) && stop) result = GetStopPosition(stop);
  return result;
}

HRESULT FilterGraph::GetAvailable(LONGLONG* earliest, LONGLONG* latest) {
  if (earliest) *earliest = 0;
  return latest ? GetDuration(latest) : S_OK;
}

HRESULT FilterGraph::SetRate(double rate) {
  if (rate == 0.0) return E_INVALIDARG;
  return FirstAnswer(RendererSeeking(), [&](D_IMediaSeeking* seeking) { return seeking->SetRate(rate); });
}

HRESULT FilterGraph::GetRate(double* rate) {
  if (rate == nullptr) return E_POINTER;
  *rate = 1.0;
  return S_OK;
}

HRESULT FilterGraph::GetPreroll(LONGLONG* preroll) {
  if (preroll == nullptr) return E_POINTER;
  *preroll = 0;
  return S_OK;
}

// ---- Volume ---------------------------------------------------------------------------

namespace {

HRESULT EachAudio(std::vector<D_IBasicAudio*> list, HRESULT (D_IBasicAudio::*method)(LONG), LONG value) {
  HRESULT result = E_NOTIMPL;
  for (D_IBasicAudio* audio : list) {
    const HRESULT done = (audio->*method)(value);
    if (result == E_NOTIMPL || FAILED(done)) result = done;
  }
  ReleaseAll(list);
  return result;
}

HRESULT FirstAudio(std::vector<D_IBasicAudio*> list, HRESULT (D_IBasicAudio::*method)(LONG*), LONG* value) {
  if (value == nullptr) {
    ReleaseAll(list);
    return E_POINTER;
  }
  const HRESULT result = list.empty() ? E_NOTIMPL : (list.front()->*method)(value);
  ReleaseAll(list);
  return result;
}

}  // namespace

HRESULT FilterGraph::put_Volume(LONG volume) { return EachAudio(AudioRenderers(), &D_IBasicAudio::put_Volume, volume); }
HRESULT FilterGraph::get_Volume(LONG* volume) {
  return FirstAudio(AudioRenderers(), &D_IBasicAudio::get_Volume, volume);
}
HRESULT FilterGraph::put_Balance(LONG balance) {
  return EachAudio(AudioRenderers(), &D_IBasicAudio::put_Balance, balance);
}
HRESULT FilterGraph::get_Balance(LONG* balance) {
  return FirstAudio(AudioRenderers(), &D_IBasicAudio::get_Balance, balance);
}

}  // namespace wqplat
