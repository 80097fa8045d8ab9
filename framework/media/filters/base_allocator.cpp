// The base allocator: properties, commit state, the free list and the
// waiting of callers for a free sample.
#include "media/filters/allocator.h"

namespace {

constexpr LONG kMaxSemaphoreCount = 0x7FFFFFFF;

}  // namespace

D_CBaseAllocator::D_CBaseAllocator(const char* name, IUnknown* outer, HRESULT* result, BOOL withSemaphore,
                                   BOOL offerReleaseCallback)
    : D_CUnknown(name, outer), offerReleaseCallback_(offerReleaseCallback) {
  InitializeCriticalSection(&lock_);
  if (withSemaphore) {
    semaphore_ = CreateSemaphoreA(nullptr, 0, kMaxSemaphoreCount, nullptr);
    if (semaphore_ == nullptr && result != nullptr) *result = E_OUTOFMEMORY;
  }
}

D_CBaseAllocator::~D_CBaseAllocator() {
  if (semaphore_ != nullptr) CloseHandle(semaphore_);
  if (notify_ != nullptr) notify_->Release();
  DeleteCriticalSection(&lock_);
}

HRESULT D_CBaseAllocator::NonDelegatingQueryInterface(REFIID iid, void** object) {
  if (iid == D_IID_IMemAllocator || (iid == D_IID_IMemAllocatorCallbackTemp && offerReleaseCallback_))
    return ReturnInterface(static_cast<D_IMemAllocatorCallbackTemp*>(this), object);
  return D_CUnknown::NonDelegatingQueryInterface(iid, object);
}

void D_CBaseAllocator::PushFree(D_CMediaSample* sample) {
  sample->next = freeHead_;
  freeHead_ = sample;
  ++freeCount_;
}

D_CMediaSample* D_CBaseAllocator::PopFree() {
  D_CMediaSample* sample = freeHead_;
  if (sample != nullptr) {
    freeHead_ = sample->next;
    sample->next = nullptr;
    --freeCount_;
  }
  return sample;
}

void D_CBaseAllocator::WakeWaiters() {
  if (waiting_ != 0) {
    ReleaseSemaphore(semaphore_, waiting_, nullptr);
    waiting_ = 0;
  }
}

HRESULT D_CBaseAllocator::Alloc() {
  if (count_ < 1 || size_ < 1 || alignment_ < 1) return D_VFW_E_SIZENOTSET;
  return changed_ ? S_OK : S_FALSE;
}

HRESULT D_CBaseAllocator::GetProperties(D_ALLOCATOR_PROPERTIES* properties) {
  if (properties == nullptr) return E_POINTER;
  D_CAutoLock lock(&lock_);
  properties->cBuffers = count_;
  properties->cbBuffer = size_;
  properties->cbAlign = alignment_;
  properties->cbPrefix = prefix_;
  return S_OK;
}

HRESULT D_CBaseAllocator::Commit() {
  D_CAutoLock lock(&lock_);
  if (committed_) return S_OK;
  committed_ = TRUE;
  if (decommitInProgress_) {
    // The samples still out keep the block; the reference of the earlier
    // commit stays.
    decommitInProgress_ = FALSE;
    return S_OK;
  }
  const HRESULT result = Alloc();
  if (FAILED(result)) {
    committed_ = FALSE;
    return result;
  }
  AsAllocator()->AddRef();
  return S_OK;
}

HRESULT D_CBaseAllocator::Decommit() {
  bool release = false;
  {
    D_CAutoLock lock(&lock_);
    if (!committed_ && !decommitInProgress_) return S_OK;
    committed_ = FALSE;
    if (freeCount_ == allocated_) {
      decommitInProgress_ = FALSE;
      Free();
      release = true;
    } else {
      decommitInProgress_ = TRUE;
    }
    WakeWaiters();
  }
  if (release) AsAllocator()->Release();
  return S_OK;
}

HRESULT D_CBaseAllocator::GetBuffer(D_IMediaSample** sample, D_REFERENCE_TIME*, D_REFERENCE_TIME*, DWORD flags) {
  if (sample == nullptr) return E_POINTER;
  *sample = nullptr;
  for (;;) {
    {
      D_CAutoLock lock(&lock_);
      if (!committed_) return D_VFW_E_NOT_COMMITTED;
      D_CMediaSample* taken = PopFree();
      if (taken != nullptr) {
        taken->AddRef();
        *sample = taken;
        return S_OK;
      }
      if (flags & D_AM_GBF_NOWAIT) return D_VFW_E_TIMEOUT;
      ++waiting_;
    }
    WaitForSingleObject(semaphore_, INFINITE);
  }
}

HRESULT D_CBaseAllocator::ReleaseBuffer(D_IMediaSample* sample) {
  if (sample == nullptr) return E_POINTER;
  bool release = false;
  D_IMemAllocatorNotifyCallbackTemp* notify = nullptr;
  {
    D_CAutoLock lock(&lock_);
    PushFree(static_cast<D_CMediaSample*>(sample));
    WakeWaiters();
    if (decommitInProgress_ && freeCount_ == allocated_) {
      Free();
      decommitInProgress_ = FALSE;
      release = true;
    }
    notify = notify_;
    if (notify != nullptr) notify->AddRef();
  }
  if (notify != nullptr) {
    notify->NotifyRelease();
    notify->Release();
  }
  if (release) AsAllocator()->Release();
  return S_OK;
}

HRESULT D_CBaseAllocator::SetNotify(D_IMemAllocatorNotifyCallbackTemp* notify) {
  D_CAutoLock lock(&lock_);
  if (notify != nullptr) notify->AddRef();
  if (notify_ != nullptr) notify_->Release();
  notify_ = notify;
  return S_OK;
}

HRESULT D_CBaseAllocator::GetFreeCount(LONG* free) {
  if (free == nullptr) return E_POINTER;
  D_CAutoLock lock(&lock_);
  *free = count_ - allocated_ + freeCount_;
  return S_OK;
}
