// The graph's events: what filters report, the queue the application
// reads, and the wait for the whole graph to complete.

#include "platform/kernel32.h"
#include "quartz/filter_graph.h"
#include "quartz/quartz_controls.h"

namespace wqplat {
namespace {

bool EndsPlayback(LONG code) { return code == D_EC_COMPLETE || code == D_EC_ERRORABORT || code == D_EC_USERABORT; }

// Waits on `arrived` for `ready`, for `timeout_ms` (negative: no limit).
template <class Ready>
bool WaitFor(std::condition_variable& arrived, std::unique_lock<std::mutex>& hold, LONG timeout_ms, Ready ready) {
  if (timeout_ms < 0) {
    arrived.wait(hold, ready);
    return true;
  }
  return arrived.wait_for(hold, std::chrono::milliseconds(timeout_ms), ready);
}

}  // namespace

void FilterGraph::QueueEvent(const Event& event) {
  events_.push_back(event);
  SetEvent(event_handle_);
  event_arrived_.notify_all();
}

// EC_COMPLETE reaches the application once every renderer has sent it.
HRESULT FilterGraph::Notify(LONG code, LONG_PTR parameter1, LONG_PTR parameter2) {
  std::lock_guard hold(event_lock_);
  if (code == D_EC_COMPLETE) {
    if (++renderers_completed_ < renderers_total_ || completion_code_ != 0) return S_OK;
    parameter1 = S_OK;
    parameter2 = 0;
  }
  if (EndsPlayback(code) && completion_code_ == 0) completion_code_ = code;
  QueueEvent({code, parameter1, parameter2});
  return S_OK;
}

HRESULT FilterGraph::GetEventHandle(D_OAEVENT* event) {
  if (event == nullptr) return E_POINTER;
  *event = reinterpret_cast<D_OAEVENT>(event_handle_);
  return S_OK;
}

HRESULT FilterGraph::GetEvent(LONG* code, LONG_PTR* parameter1, LONG_PTR* parameter2, LONG timeout_ms) {
  if (code == nullptr || parameter1 == nullptr || parameter2 == nullptr) return E_POINTER;
  std::unique_lock hold(event_lock_);
  if (!WaitFor(event_arrived_, hold, timeout_ms, [&] { return !events_.empty(); })) {
    *code = 0;
    *parameter1 = *parameter2 = 0;
    return E_ABORT;
  }
  const Event event = events_.front();
  events_.pop_front();
  if (events_.empty()) ResetEvent(event_handle_);
  *code = event.code;
  *parameter1 = event.parameter1;
  *parameter2 = event.parameter2;
  return S_OK;
}

HRESULT FilterGraph::WaitForCompletion(LONG timeout_ms, LONG* code) {
  if (code == nullptr) return E_POINTER;
  *code = 0;
  if (FilterGraphCallFails("WaitForCompletion")) return E_FAIL;
  {
    std::lock_guard hold(lock_);
    if (state_ != D_State_Running) return D_VFW_E_WRONG_STATE;
  }
  std::unique_lock hold(event_lock_);
  if (!WaitFor(event_arrived_, hold, timeout_ms, [&] { return completion_code_ != 0; })) return E_ABORT;
  *code = completion_code_;
  return S_OK;
}

HRESULT FilterGraph::GetNotifyFlags(LONG* no_notify) {
  if (no_notify == nullptr) return E_POINTER;
  *no_notify = 0;
  return S_OK;
}

}  // namespace wqplat
