// The base renderer: scheduling each sample against the reference clock,
// the end of the stream, state changes and flushing.
#include "media/filters/base_renderer.h"

namespace {

constexpr DWORD kRenderWaitSliceMs = 10000;
// An end of stream due sooner than this goes out at once.
constexpr LONGLONG kEndOfStreamTimerMinMs = 50;
constexpr UINT kEndOfStreamTimerResolutionMs = 10;
constexpr DWORD kStateWaitSliceMs = 10;

void CALLBACK EndOfStreamTimerCallback(UINT timerId, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  reinterpret_cast<D_CBaseRenderer*>(user)->TimerCallback(timerId);
}

// The message that wakes a thread blocked in a wait for a state change.
UINT UnblockMessage() {
  static const UINT message = RegisterWindowMessageA("AMUnblock");
  return message;
}

}  // namespace

D_CBaseRenderer::D_CBaseRenderer(REFCLSID clsid, const char* name, IUnknown* outer, HRESULT* result)
    : D_CBaseFilter(name, outer, &objectLock_, clsid, result) {
  InitializeCriticalSection(&objectLock_);
  InitializeCriticalSection(&rendererLock_);
  InitializeCriticalSection(&interfaceLock_);
  readyEvent_.Set();
}

D_CBaseRenderer::~D_CBaseRenderer() {
  StopStreaming();
  ClearPendingSample();
  KillEndOfStreamTimer();
  delete position_;
  delete inputPin_;
  DeleteCriticalSection(&interfaceLock_);
  DeleteCriticalSection(&rendererLock_);
  DeleteCriticalSection(&objectLock_);
}

HRESULT D_CBaseRenderer::NonDelegatingQueryInterface(REFIID iid, void** object) {
  if (iid == D_IID_IMediaPosition || iid == D_IID_IMediaSeeking) return GetMediaPositionInterface(iid, object);
  return D_CBaseFilter::NonDelegatingQueryInterface(iid, object);
}

HRESULT D_CBaseRenderer::GetMediaPositionInterface(REFIID iid, void** object) {
  D_CAutoLock lock(&interfaceLock_);
  if (position_ == nullptr) {
    D_CBasePin* pin = GetPin(0);
    if (pin == nullptr) return E_OUTOFMEMORY;
    HRESULT result = S_OK;
    position_ = new D_CRendererPosPassThru("Renderer D_CPosPassThru", GetOwner(), &result, pin->AsPin());
    if (position_ == nullptr) return E_OUTOFMEMORY;
    if (FAILED(result)) {
      delete position_;
      position_ = nullptr;
      return E_NOINTERFACE;
    }
  }
  return position_->NonDelegatingQueryInterface(iid, object);
}

D_CBasePin* D_CBaseRenderer::GetPin(int n) {
  if (n != 0) return nullptr;
  D_CAutoLock lock(&interfaceLock_);
  if (inputPin_ == nullptr) {
    HRESULT result = S_OK;
    inputPin_ = new D_CRendererInputPin(this, &result, u"In");
    if (inputPin_ != nullptr && FAILED(result)) {
      delete inputPin_;
      inputPin_ = nullptr;
    }
  }
  return inputPin_;
}

HRESULT D_CBaseRenderer::FindPin(LPCWSTR id, D_IPin** pin) {
  if (pin == nullptr) return E_POINTER;
  if (lstrcmpW(id, u"In") != 0 || GetPin(0) == nullptr) {
    *pin = nullptr;
    return D_VFW_E_NOT_FOUND;
  }
  *pin = inputPin_->AsPin();
  (*pin)->AddRef();
  return S_OK;
}

// ---- Waiting ----------------------------------------------------------------------

void D_CBaseRenderer::SourceThreadCanWait(BOOL canWait) {
  if (canWait) {
    abortEvent_.Reset();
  } else {
    abortEvent_.Set();
  }
}

HRESULT D_CBaseRenderer::WaitForRenderTime() {
  const HANDLE events[] = {abortEvent_.Handle(), renderEvent_.Handle()};
  OnWaitStart();
  DWORD result;
  do {
    result = WaitForMultipleObjects(2, events, FALSE, kRenderWaitSliceMs);
  } while (result == WAIT_TIMEOUT);
  OnWaitEnd();
  if (result == WAIT_OBJECT_0) return D_VFW_E_STATE_CHANGED;
  adviseCookie_ = 0;
  return S_OK;
}

void D_CBaseRenderer::WaitForReceiveToComplete() {
  MSG message;
  while (inReceive_) {
    PeekMessageA(&message, nullptr, WM_NULL, WM_NULL, PM_NOREMOVE);
    Sleep(1);
  }
  // A posted message may have been seen and left: make sure the thread's
  // next wait for messages notices one.
  if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
}

DWORD D_CBaseRenderer::WaitDispatchingMessages(DWORD timeout) {
  const HANDLE ready = readyEvent_.Handle();
  DWORD result = WaitForSingleObject(ready, 0);
  if (result == WAIT_OBJECT_0 || timeout == 0) return result;
  const HANDLE thread = GetCurrentThread();
  const int priority = GetThreadPriority(thread);
  const bool raised = priority < THREAD_PRIORITY_HIGHEST;
  if (raised) SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST);
  bool posted = false;
  DWORD remaining = timeout;
  for (;;) {
    const DWORD slice = remaining < kStateWaitSliceMs ? remaining : kStateWaitSliceMs;
    const DWORD started = GetTickCount();
    result = MsgWaitForMultipleObjects(1, &ready, FALSE, slice, QS_SENDMESSAGE | QS_POSTMESSAGE);
    if (result == WAIT_OBJECT_0) break;
    MSG message;
    if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) posted = true;
    if (result == WAIT_TIMEOUT && slice == remaining) break;
    if (timeout != INFINITE) {
      const DWORD spent = GetTickCount() - started;
      remaining = spent >= remaining ? 0 : remaining - spent;
      if (remaining == 0) {
        result = WAIT_TIMEOUT;
        break;
      }
    }
  }
  if (raised) SetThreadPriority(thread, priority);
  if (posted) {
    const UINT unblock = UnblockMessage();
    MSG message;
    while (unblock != 0 && PeekMessageA(&message, reinterpret_cast<HWND>(-1), unblock, unblock, PM_REMOVE)) {
    }
    PostThreadMessageA(GetCurrentThreadId(), unblock, 0, 0);
  }
  return result;
}

// ---- Scheduling -------------------------------------------------------------------

HRESULT D_CBaseRenderer::GetSampleTimes(D_IMediaSample* sample, D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop) {
  if (FAILED(sample->GetTime(start, stop))) return S_OK;
  if (*stop < *start) return D_VFW_E_START_TIME_AFTER_END;
  if (clock_ == nullptr) return S_OK;
  return ShouldDrawSampleNow(sample, start, stop);
}

BOOL D_CBaseRenderer::ScheduleSample(D_IMediaSample* sample) {
  if (sample == nullptr) return FALSE;
  D_REFERENCE_TIME start = 0;
  D_REFERENCE_TIME stop = 0;
  const HRESULT result = GetSampleTimes(sample, &start, &stop);
  if (FAILED(result)) return FALSE;
  if (result == S_OK) {
    renderEvent_.Set();
    return TRUE;
  }
  return SUCCEEDED(clock_->AdviseTime(streamStart_, start, reinterpret_cast<D_HEVENT>(renderEvent_.Handle()),
                                      &adviseCookie_));
}

HRESULT D_CBaseRenderer::CancelNotification() {
  const DWORD_PTR cookie = adviseCookie_;
  if (cookie != 0 && clock_ != nullptr) clock_->Unadvise(cookie);
  adviseCookie_ = 0;
  renderEvent_.Reset();
  return cookie != 0 ? S_OK : S_FALSE;
}

HRESULT D_CBaseRenderer::ClearPendingSample() {
  D_CAutoLock lock(&rendererLock_);
  if (pendingSample_ != nullptr) {
    pendingSample_->Release();
    pendingSample_ = nullptr;
  }
  return S_OK;
}

BOOL D_CBaseRenderer::HaveCurrentSample() {
  D_CAutoLock lock(&rendererLock_);
  return pendingSample_ != nullptr;
}

D_IMediaSample* D_CBaseRenderer::GetCurrentSample() {
  D_CAutoLock lock(&rendererLock_);
  if (pendingSample_ != nullptr) pendingSample_->AddRef();
  return pendingSample_;
}

// ---- Receiving --------------------------------------------------------------------

HRESULT D_CBaseRenderer::PrepareReceive(D_IMediaSample* sample) {
  D_CAutoLock objectLock(&objectLock_);
  inReceive_ = 1;
  if (inputPin_->BaseReceive(sample) != S_OK) {
    inReceive_ = 0;
    return E_FAIL;
  }
  const D_AM_SAMPLE2_PROPERTIES& properties = inputPin_->SampleProperties();
  if ((properties.dwSampleFlags & D_AM_SAMPLE_TYPECHANGED) && properties.pMediaType != nullptr) {
    const D_CMediaType type(*properties.pMediaType);
    const HRESULT result = inputPin_->SetMediaType(&type);
    if (FAILED(result)) {
      inReceive_ = 0;
      return result;
    }
  }
  D_CAutoLock rendererLock(&rendererLock_);
  if (pendingSample_ != nullptr || endOfStream_ || abort_) {
    readyEvent_.Set();
    inReceive_ = 0;
    return E_UNEXPECTED;
  }
  if (position_ != nullptr) position_->RegisterMediaTime(sample);
  if (streaming_ && !ScheduleSample(sample)) {
    inReceive_ = 0;
    return D_VFW_E_SAMPLE_REJECTED;
  }
  lastStopTime_ = properties.tStop;
  pendingSample_ = sample;
  sample->AddRef();
  if (!streaming_) repaint_ = TRUE;
  return S_OK;
}

HRESULT D_CBaseRenderer::Receive(D_IMediaSample* sample) {
  HRESULT result = PrepareReceive(sample);
  if (FAILED(result)) return result == D_VFW_E_SAMPLE_REJECTED ? S_OK : result;
  if (state_ == kFilterPaused) {
    PrepareRender();
    inReceive_ = 0;
    {
      D_CAutoLock objectLock(&objectLock_);
      if (state_ == kFilterStopped) return S_OK;
      D_CAutoLock rendererLock(&rendererLock_);
      OnReceiveFirstSample(sample);
    }
    readyEvent_.Set();
  }
  result = WaitForRenderTime();
  if (FAILED(result)) {
    inReceive_ = 0;
    return S_OK;
  }
  PrepareRender();
  inReceive_ = 0;
  D_CAutoLock objectLock(&objectLock_);
  if (state_ == kFilterStopped) return S_OK;
  D_CAutoLock rendererLock(&rendererLock_);
  Render(pendingSample_);
  ClearPendingSample();
  SendEndOfStream();
  CancelNotification();
  return S_OK;
}

HRESULT D_CBaseRenderer::Render(D_IMediaSample* sample) {
  if (sample == nullptr || !streaming_) return S_FALSE;
  OnRenderStart(sample);
  DoRenderSample(sample);
  OnRenderEnd(sample);
  return S_OK;
}

// ---- End of stream ------------------------------------------------------------------

HRESULT D_CBaseRenderer::EndOfStream() {
  if (state_ == kFilterStopped) return S_OK;
  endOfStream_ = TRUE;
  if (pendingSample_ != nullptr) return S_OK;
  readyEvent_.Set();
  if (streaming_) SendEndOfStream();
  return S_OK;
}

HRESULT D_CBaseRenderer::SendEndOfStream() {
  if (!endOfStream_ || endOfStreamDelivered_ || endOfStreamTimer_ != 0) return S_OK;
  if (clock_ == nullptr) {
    NotifyEndOfStream();
    return S_OK;
  }
  D_REFERENCE_TIME now = 0;
  clock_->GetTime(&now);
  const LONGLONG delayMs = (streamStart_ + lastStopTime_ - now) / 10000;
  if (delayMs < kEndOfStreamTimerMinMs) {
    NotifyEndOfStream();
    return S_OK;
  }
  endOfStreamTimer_ = timeSetEvent(static_cast<UINT>(delayMs), kEndOfStreamTimerResolutionMs,
                                   &EndOfStreamTimerCallback, reinterpret_cast<DWORD_PTR>(this), TIME_ONESHOT);
  if (endOfStreamTimer_ == 0) NotifyEndOfStream();
  return S_OK;
}

void D_CBaseRenderer::TimerCallback(UINT timerId) {
  // The thread holding the renderer lock may be killing this very timer,
  // waiting for the callback to end: then the callback gives up.
  while (!TryEnterCriticalSection(&rendererLock_)) {
    if (timerBeingKilled_ == timerId) return;
    Sleep(1);
  }
  // A timer killed meanwhile may still have fired once.
  if (timerId == endOfStreamTimer_) {
    endOfStreamTimer_ = 0;
    SendEndOfStream();
  }
  LeaveCriticalSection(&rendererLock_);
}

void D_CBaseRenderer::NotifyEndOfStream() {
  D_CAutoLock lock(&rendererLock_);
  if (!streaming_) return;
  endOfStreamTimer_ = 0;
  if (position_ != nullptr) position_->EOS();
  endOfStreamDelivered_ = TRUE;
  NotifyEvent(D_EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<D_IBaseFilter*>(this)));
}

void D_CBaseRenderer::KillEndOfStreamTimer() {
  if (endOfStreamTimer_ != 0) {
    timerBeingKilled_ = endOfStreamTimer_;
    timeKillEvent(endOfStreamTimer_);
    timerBeingKilled_ = 0;
    endOfStreamTimer_ = 0;
  }
}

HRESULT D_CBaseRenderer::ResetEndOfStream() {
  D_CAutoLock lock(&rendererLock_);
  KillEndOfStreamTimer();
  lastStopTime_ = 0;
  endOfStream_ = FALSE;
  endOfStreamDelivered_ = FALSE;
  return S_OK;
}

// ---- Flushing and connection ------------------------------------------------------------

HRESULT D_CBaseRenderer::BeginFlush() {
  if (state_ == kFilterPaused) readyEvent_.Reset();
  SourceThreadCanWait(FALSE);
  CancelNotification();
  ClearPendingSample();
  WaitForReceiveToComplete();
  return S_OK;
}

HRESULT D_CBaseRenderer::EndFlush() {
  if (position_ != nullptr) position_->ResetMediaTime();
  SourceThreadCanWait(TRUE);
  return S_OK;
}

HRESULT D_CBaseRenderer::BreakConnect() {
  if (qualitySink_ != nullptr) {
    qualitySink_->Release();
    qualitySink_ = nullptr;
  }
  if (inputPin_ == nullptr || !inputPin_->IsConnected()) return S_FALSE;
  if (state_ != kFilterStopped) return D_VFW_E_NOT_STOPPED;
  repaint_ = FALSE;
  ResetEndOfStream();
  ClearPendingSample();
  abort_ = FALSE;
  if (state_ == kFilterRunning) StopStreaming();
  return S_OK;
}

HRESULT D_CBaseRenderer::CompleteConnect(D_IPin*) {
  abort_ = FALSE;
  if (state_ != kFilterRunning) {
    repaint_ = TRUE;
  } else {
    StartStreaming();
    repaint_ = FALSE;
  }
  return S_OK;
}

HRESULT D_CBaseRenderer::Inactive() {
  if (position_ != nullptr) position_->ResetMediaTime();
  ClearPendingSample();
  return S_OK;
}

// ---- State changes ------------------------------------------------------------------

HRESULT D_CBaseRenderer::StartStreaming() {
  D_CAutoLock lock(&rendererLock_);
  if (streaming_) return S_OK;
  streaming_ = TRUE;
  timeBeginPeriod(1);
  OnStartStreaming();
  if (pendingSample_ == nullptr) return SendEndOfStream();
  // A sample that cannot be scheduled is drawn at once rather than left
  // waiting.
  if (!ScheduleSample(pendingSample_)) renderEvent_.Set();
  return S_OK;
}

HRESULT D_CBaseRenderer::StopStreaming() {
  D_CAutoLock lock(&rendererLock_);
  if (streaming_) {
    streaming_ = FALSE;
    OnStopStreaming();
    timeEndPeriod(1);
  }
  return S_OK;
}

HRESULT D_CBaseRenderer::CompleteStateChange(D_FILTER_STATE oldState) {
  if (inputPin_ == nullptr || !inputPin_->IsConnected() || endOfStream_ ||
      (HaveCurrentSample() && oldState == kFilterRunning)) {
    readyEvent_.Set();
    return S_OK;
  }
  readyEvent_.Reset();
  return S_FALSE;
}

HRESULT D_CBaseRenderer::Pause() {
  D_CAutoLock lock(&objectLock_);
  const D_FILTER_STATE oldState = state_;
  if (oldState == kFilterPaused) return CompleteStateChange(kFilterPaused);
  if (inputPin_ != nullptr && inputPin_->IsConnected()) {
    const HRESULT result = D_CBaseFilter::Pause();
    if (FAILED(result)) return result;
    repaint_ = TRUE;
    StopStreaming();
    SourceThreadCanWait(TRUE);
    CancelNotification();
    {
      D_CAutoLock rendererLock(&rendererLock_);
      KillEndOfStreamTimer();
    }
    if (inputPin_->Allocator() != nullptr) inputPin_->Allocator()->Commit();
    if (oldState == kFilterStopped) {
      abort_ = FALSE;
      ClearPendingSample();
    }
  } else {
    state_ = kFilterPaused;
  }
  return CompleteStateChange(oldState);
}

HRESULT D_CBaseRenderer::Run(D_REFERENCE_TIME start) {
  D_CAutoLock lock(&objectLock_);
  const D_FILTER_STATE oldState = state_;
  if (oldState == kFilterRunning) return S_OK;
  readyEvent_.Set();
  if (inputPin_ == nullptr || !inputPin_->IsConnected()) {
    NotifyEvent(D_EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<D_IBaseFilter*>(this)));
    state_ = kFilterRunning;
    return S_OK;
  }
  const HRESULT result = D_CBaseFilter::Run(start);
  if (FAILED(result)) return result;
  // A running renderer is never between states.
  readyEvent_.Set();
  SourceThreadCanWait(TRUE);
  repaint_ = FALSE;
  if (inputPin_->Allocator() != nullptr) inputPin_->Allocator()->Commit();
  if (oldState == kFilterStopped) {
    abort_ = FALSE;
    ClearPendingSample();
  }
  return StartStreaming();
}

HRESULT D_CBaseRenderer::Stop() {
  D_CAutoLock lock(&objectLock_);
  if (state_ == kFilterStopped) return S_OK;
  D_CBaseFilter::Stop();
  if (inputPin_ != nullptr && inputPin_->Allocator() != nullptr) inputPin_->Allocator()->Decommit();
  repaint_ = TRUE;
  StopStreaming();
  SourceThreadCanWait(FALSE);
  ResetEndOfStream();
  CancelNotification();
  readyEvent_.Set();
  WaitForReceiveToComplete();
  abort_ = FALSE;
  return S_OK;
}

HRESULT D_CBaseRenderer::GetState(DWORD timeout, D_FILTER_STATE* state) {
  if (state == nullptr) return E_POINTER;
  const DWORD result = WaitDispatchingMessages(timeout);
  *state = state_;
  return result == WAIT_TIMEOUT ? D_VFW_S_STATE_INTERMEDIATE : S_OK;
}
