// The asynchronous reader's request queue: requests go on the work list,
// the worker thread carries them out onto the done list, and WaitForNext
// hands them back. A flush moves pending work to the done list and holds
// new requests off until it ends.
#include "media/filters/async_io.h"

// ---- One request ---------------------------------------------------------------

HRESULT D_CAsyncRequest::Request(D_CAsyncIo* io, D_CAsyncStream* stream, LONGLONG position, LONG length,
                                 BOOL aligned, BYTE* buffer, LPVOID context, DWORD_PTR user) {
  io_ = io;
  stream_ = stream;
  position_ = position;
  aligned_ = aligned;
  length_ = length;
  buffer_ = buffer;
  context_ = context;
  user_ = user;
  result_ = D_VFW_E_TIMEOUT;
  return S_OK;
}

HRESULT D_CAsyncRequest::Complete() {
  stream_->Lock();
  // A position past the end reads nothing: the count starts at zero.
  DWORD actual = 0;
  HRESULT result = stream_->SetPointer(position_);
  if (result == S_OK) result = stream_->Read(buffer_, static_cast<DWORD>(length_), aligned_, &actual);
  if (result == OLE_S_FIRST && context_ != nullptr) {
    static_cast<D_IMediaSample*>(context_)->SetDiscontinuity(TRUE);
    result = S_OK;
  }
  if (SUCCEEDED(result)) {
    if (static_cast<LONG>(actual) != length_) {
      length_ = static_cast<LONG>(actual);
      result = S_FALSE;
    } else {
      result = S_OK;
    }
  }
  stream_->Unlock();
  result_ = result;
  return result;
}

// ---- The queue -----------------------------------------------------------------

D_CAsyncIo::D_CAsyncIo(D_CAsyncStream* stream)
    : stream_(stream), work_("Work list"), done_("Done list") {
  InitializeCriticalSection(&readerLock_);
  InitializeCriticalSection(&listLock_);
}

D_CAsyncIo::~D_CAsyncIo() {
  BeginFlush();
  CloseThread();
  while (D_CAsyncRequest* request = done_.RemoveHead()) delete request;
  DeleteCriticalSection(&listLock_);
  DeleteCriticalSection(&readerLock_);
}

HRESULT D_CAsyncIo::StartThread() {
  if (thread_ != nullptr) return S_OK;
  stopEvent_.Reset();
  DWORD id = 0;
  thread_ = CreateThread(nullptr, 0, &D_CAsyncIo::WorkerProcedure, this, 0, &id);
  if (thread_ == nullptr) {
    const DWORD error = GetLastError();
    return error == 0 ? S_OK : static_cast<HRESULT>(0x80070000u | (error & 0xFFFF));
  }
  return S_OK;
}

void D_CAsyncIo::CloseThread() {
  stopEvent_.Set();
  if (thread_ != nullptr) {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
}

DWORD WINAPI D_CAsyncIo::WorkerProcedure(LPVOID parameter) { return static_cast<D_CAsyncIo*>(parameter)->Worker(); }

DWORD D_CAsyncIo::Worker() {
  const HANDLE events[] = {stopEvent_.Handle(), workEvent_.Handle()};
  while (WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) ProcessRequests();
  return 0;
}

D_CAsyncRequest* D_CAsyncIo::GetWorkItem() {
  D_CAsyncRequest* request = work_.RemoveHead();
  if (work_.GetCount() == 0) workEvent_.Reset();
  return request;
}

D_CAsyncRequest* D_CAsyncIo::GetDoneItem() {
  D_CAsyncRequest* request = done_.RemoveHead();
  if (done_.GetCount() == 0 && (!flushing_ || waiting_)) doneEvent_.Reset();
  return request;
}

HRESULT D_CAsyncIo::PutWorkItem(D_CAsyncRequest* request) {
  D_CAutoLock lock(&listLock_);
  if (flushing_) return D_VFW_E_WRONG_STATE;
  if (work_.AddTail(request) == nullptr) return E_OUTOFMEMORY;
  workEvent_.Set();
  return StartThread();
}

void D_CAsyncIo::PutDoneItem(D_CAsyncRequest* request) {
  // Without a node the request is lost to WaitForNext; the list's cache
  // makes that a heap failure only.
  if (done_.AddTail(request) == nullptr) {
    delete request;
    return;
  }
  doneEvent_.Set();
}

void D_CAsyncIo::ProcessRequests() {
  EnterCriticalSection(&listLock_);
  D_CAsyncRequest* request = GetWorkItem();
  while (request != nullptr) {
    ++itemsOut_;
    LeaveCriticalSection(&listLock_);
    request->Complete();
    EnterCriticalSection(&listLock_);
    PutDoneItem(request);
    if (--itemsOut_ == 0 && waiting_) allDone_.Set();
    LeaveCriticalSection(&listLock_);
    EnterCriticalSection(&listLock_);
    request = GetWorkItem();
  }
  LeaveCriticalSection(&listLock_);
}

HRESULT D_CAsyncIo::Request(LONGLONG position, LONG length, BOOL aligned, BYTE* buffer, LPVOID context,
                            DWORD_PTR user) {
  if (aligned && (!IsAligned(position) || !IsAligned(length) || !IsAligned(reinterpret_cast<LONG_PTR>(buffer))))
    return D_VFW_E_BADALIGN;
  auto* request = new D_CAsyncRequest;
  if (request == nullptr) return E_OUTOFMEMORY;
  request->Request(this, stream_, position, length, aligned, buffer, context, user);
  const HRESULT result = PutWorkItem(request);
  if (FAILED(result)) delete request;
  return result;
}

HRESULT D_CAsyncIo::WaitForNext(DWORD timeout, LPVOID* context, DWORD_PTR* user, LONG* actual) {
  if (context == nullptr || user == nullptr || actual == nullptr) return E_POINTER;
  *context = nullptr;
  if (!doneEvent_.Wait(timeout)) return D_VFW_E_TIMEOUT;
  for (;;) {
    D_CAsyncRequest* request = nullptr;
    {
      D_CAutoLock lock(&listLock_);
      request = GetDoneItem();
      if (request == nullptr && flushing_ && !waiting_) return D_VFW_E_WRONG_STATE;
    }
    if (request != nullptr) {
      HRESULT result = request->GetHResult();
      if (result == S_FALSE) {
        // Short only because the stream ended there: a complete read.
        result = request->GetStart() + request->GetActualLength() == stream_->Size() ? S_OK : E_FAIL;
      }
      *actual = request->GetActualLength();
      *context = request->GetContext();
      *user = request->GetUser();
      delete request;
      return result;
    }
    if (!doneEvent_.Wait(timeout)) return D_VFW_E_TIMEOUT;
  }
}

HRESULT D_CAsyncIo::SyncReadAligned(LONGLONG position, LONG length, BYTE* buffer, LONG* actual, LPVOID context) {
  if (actual == nullptr) return E_POINTER;
  if (!IsAligned(position) || !IsAligned(length) || !IsAligned(reinterpret_cast<LONG_PTR>(buffer)))
    return D_VFW_E_BADALIGN;
  D_CAsyncRequest request;
  request.Request(this, stream_, position, length, TRUE, buffer, context, 0);
  const HRESULT result = request.Complete();
  *actual = request.GetActualLength();
  return result;
}

HRESULT D_CAsyncIo::SyncRead(LONGLONG position, LONG length, BYTE* buffer) {
  if (IsAligned(position) && IsAligned(length) && IsAligned(reinterpret_cast<LONG_PTR>(buffer))) {
    LONG actual = 0;
    return SyncReadAligned(position, length, buffer, &actual, nullptr);
  }
  D_CAsyncRequest request;
  request.Request(this, stream_, position, length, FALSE, buffer, nullptr, 0);
  return request.Complete();
}

HRESULT D_CAsyncIo::Length(LONGLONG* total, LONGLONG* available) {
  if (total == nullptr) return E_POINTER;
  *total = stream_->Size(available);
  return S_OK;
}

HRESULT D_CAsyncIo::Alignment(LONG* alignment) {
  if (alignment == nullptr) return E_POINTER;
  *alignment = static_cast<LONG>(stream_->Alignment());
  return S_OK;
}

HRESULT D_CAsyncIo::BeginFlush() {
  EnterCriticalSection(&listLock_);
  flushing_ = TRUE;
  while (D_CAsyncRequest* request = GetWorkItem()) PutDoneItem(request);
  if (itemsOut_ > 0) {
    waiting_ = TRUE;
    LeaveCriticalSection(&listLock_);
    for (;;) {
      allDone_.Wait(INFINITE);
      EnterCriticalSection(&listLock_);
      if (itemsOut_ == 0) {
        waiting_ = FALSE;
        break;
      }
      LeaveCriticalSection(&listLock_);
    }
  }
  doneEvent_.Set();
  LeaveCriticalSection(&listLock_);
  return S_OK;
}

HRESULT D_CAsyncIo::EndFlush() {
  D_CAutoLock lock(&listLock_);
  flushing_ = FALSE;
  if (done_.GetCount() > 0) {
    doneEvent_.Set();
  } else {
    doneEvent_.Reset();
  }
  return S_OK;
}
