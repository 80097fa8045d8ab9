#include "quartz/memory_allocator.h"

#include <condition_variable>
#include <mutex>
#include <vector>

#include "ole32/com_class_table.h"
#include "platform/kernel32_system.h"
#include "quartz/counted_object.h"
#include "quartz/media_sample.h"

namespace wqplat {
namespace {

class MemoryAllocator final : public CountedObject<D_IMemAllocatorCallbackTemp> {
 public:
  ~MemoryAllocator() override;

  HRESULT QueryInterface(REFIID iid, void** object) override;

  HRESULT SetProperties(D_ALLOCATOR_PROPERTIES* request, D_ALLOCATOR_PROPERTIES* actual) override;
  HRESULT GetProperties(D_ALLOCATOR_PROPERTIES* properties) override;
  HRESULT Commit() override;
  HRESULT Decommit() override;
  HRESULT GetBuffer(D_IMediaSample** sample, D_REFERENCE_TIME*, D_REFERENCE_TIME*, DWORD flags) override;
  HRESULT ReleaseBuffer(D_IMediaSample* sample) override;
  HRESULT SetNotify(D_IMemAllocatorNotifyCallbackTemp* notify) override;
  HRESULT GetFreeCount(LONG* free) override;

 private:
  // With the lock held.
  HRESULT Alloc();
  void DiscardBlock();
  bool AllSamplesFree() const { return free_count_ == static_cast<LONG>(samples_.size()); }

  std::mutex lock_;
  std::condition_variable sample_returned_;
  D_ALLOCATOR_PROPERTIES properties_{};
  bool changed_ = false;
  bool committed_ = false;
  bool decommitting_ = false;
  MediaSample* free_ = nullptr;
  LONG free_count_ = 0;
  std::vector<MediaSample*> samples_;
  BYTE* block_ = nullptr;
  D_IMemAllocatorNotifyCallbackTemp* notify_ = nullptr;
};

MemoryAllocator::~MemoryAllocator() {
  Decommit();
  std::lock_guard guard(lock_);
  DiscardBlock();
  if (notify_) notify_->Release();
}

HRESULT MemoryAllocator::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == D_IID_IMemAllocator || iid == D_IID_IMemAllocatorCallbackTemp) {
    AddRef();
    *object = static_cast<D_IMemAllocatorCallbackTemp*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT MemoryAllocator::SetProperties(D_ALLOCATOR_PROPERTIES* request, D_ALLOCATOR_PROPERTIES* actual) {
  if (request == nullptr || actual == nullptr) return E_POINTER;
  std::lock_guard guard(lock_);
  *actual = D_ALLOCATOR_PROPERTIES{};
  SYSTEM_INFO system{};
  GetSystemInfo(&system);
  const LONG align = request->cbAlign;
  if (align <= 0 || ((align - 1) & static_cast<LONG>(system.dwAllocationGranularity)) != 0) {
    return D_VFW_E_BADALIGN;
  }
  if (committed_) return D_VFW_E_ALREADY_COMMITTED;
  if (!AllSamplesFree()) return D_VFW_E_BUFFERS_OUTSTANDING;
  const LONGLONG padded = static_cast<LONGLONG>(request->cbBuffer) + request->cbPrefix;
  const LONGLONG rounded = (padded + align - 1) / align * align;
  properties_ = *request;
  properties_.cbBuffer = static_cast<LONG>(rounded - request->cbPrefix);
  *actual = properties_;
  changed_ = true;
  return S_OK;
}

HRESULT MemoryAllocator::GetProperties(D_ALLOCATOR_PROPERTIES* properties) {
  if (properties == nullptr) return E_POINTER;
  std::lock_guard guard(lock_);
  *properties = properties_;
  return S_OK;
}

void MemoryAllocator::DiscardBlock() {
  for (MediaSample* sample : samples_) delete sample;
  samples_.clear();
  free_ = nullptr;
  free_count_ = 0;
  if (block_) VirtualFree(block_, 0, MEM_RELEASE);
  block_ = nullptr;
}

HRESULT MemoryAllocator::Alloc() {
  if (properties_.cBuffers < 1 || properties_.cbBuffer < 1 || properties_.cbAlign < 1) {
    return D_VFW_E_SIZENOTSET;
  }
  if (!changed_ && block_ != nullptr) return S_OK;
  DiscardBlock();
  LONGLONG stride = static_cast<LONGLONG>(properties_.cbBuffer) + properties_.cbPrefix;
  stride = (stride + properties_.cbAlign - 1) / properties_.cbAlign * properties_.cbAlign;
  const LONGLONG bytes = stride * properties_.cBuffers;
  block_ = static_cast<BYTE*>(VirtualAlloc(nullptr, static_cast<SIZE_T>(bytes), MEM_COMMIT, PAGE_READWRITE));
  if (block_ == nullptr) return E_OUTOFMEMORY;
  for (LONG k = 0; k < properties_.cBuffers; ++k) {
    auto* sample = new MediaSample(this, block_ + k * stride + properties_.cbPrefix, properties_.cbBuffer);
    samples_.push_back(sample);
    sample->next = free_;
    free_ = sample;
    ++free_count_;
  }
  changed_ = false;
  return S_OK;
}

HRESULT MemoryAllocator::Commit() {
  std::lock_guard guard(lock_);
  if (committed_) return S_OK;
  if (decommitting_) {
    // Cancelled: the reference taken by the earlier commit stays.
    decommitting_ = false;
    committed_ = true;
    return S_OK;
  }
  if (HRESULT result = Alloc(); FAILED(result)) return result;
  committed_ = true;
  AddRef();  // held while committed, so lent samples keep the pool alive
  return S_OK;
}

HRESULT MemoryAllocator::Decommit() {
  bool release_self = false;
  {
    std::lock_guard guard(lock_);
    if (!committed_ && !decommitting_) return S_OK;
    if (committed_) {
      committed_ = false;
      if (AllSamplesFree()) {
        decommitting_ = false;
        release_self = true;
      } else {
        decommitting_ = true;
      }
    }
  }
  sample_returned_.notify_all();  // waiting callers see the decommit
  if (release_self) Release();
  return S_OK;
}

HRESULT MemoryAllocator::GetBuffer(D_IMediaSample** sample, D_REFERENCE_TIME*, D_REFERENCE_TIME*,
                                   DWORD flags) {
  if (sample == nullptr) return E_POINTER;
  *sample = nullptr;
  std::unique_lock guard(lock_);
  for (;;) {
    if (!committed_) return D_VFW_E_NOT_COMMITTED;
    if (free_ != nullptr) break;
    if (flags & D_AM_GBF_NOWAIT) return D_VFW_E_TIMEOUT;
    sample_returned_.wait(guard);
  }
  MediaSample* taken = free_;
  free_ = taken->next;
  --free_count_;
  taken->next = nullptr;
  taken->TakeFirstReference();
  *sample = taken;
  return S_OK;
}

HRESULT MemoryAllocator::ReleaseBuffer(D_IMediaSample* sample) {
  if (sample == nullptr) return E_POINTER;
  bool release_self = false;
  D_IMemAllocatorNotifyCallbackTemp* notify = nullptr;
  {
    std::lock_guard guard(lock_);
    auto* returned = static_cast<MediaSample*>(sample);
    returned->next = free_;
    free_ = returned;
    ++free_count_;
    if (decommitting_ && AllSamplesFree()) {
      decommitting_ = false;
      release_self = true;
    }
    notify = notify_;
    if (notify) notify->AddRef();
  }
  sample_returned_.notify_all();
  if (notify) {
    notify->NotifyRelease();
    notify->Release();
  }
  if (release_self) Release();
  return S_OK;
}

HRESULT MemoryAllocator::SetNotify(D_IMemAllocatorNotifyCallbackTemp* notify) {
  std::lock_guard guard(lock_);
  if (notify) notify->AddRef();
  if (notify_) notify_->Release();
  notify_ = notify;
  return S_OK;
}

HRESULT MemoryAllocator::GetFreeCount(LONG* free) {
  if (free == nullptr) return E_POINTER;
  std::lock_guard guard(lock_);
  *free = properties_.cBuffers - static_cast<LONG>(samples_.size()) + free_count_;
  return S_OK;
}

}  // namespace

HRESULT CreateMemoryAllocator(REFIID iid, void** object) {
  return CreateComClassObject<MemoryAllocator>(iid, object);
}

}  // namespace wqplat
