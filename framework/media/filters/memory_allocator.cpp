// The memory allocator: every buffer of the pool in one committed block of
// virtual memory, each aligned, with its prefix in front.
#include "media/filters/allocator.h"

namespace {

LONG RoundUp(LONG value, LONG alignment) {
  const LONG rest = value % alignment;
  return rest == 0 ? value : value + alignment - rest;
}

}  // namespace

D_CMemAllocator::D_CMemAllocator(const char* name, IUnknown* outer, HRESULT* result)
    : D_CBaseAllocator(name, outer, result, TRUE, TRUE) {}

D_CMemAllocator::~D_CMemAllocator() {
  Decommit();
  ReallyFree();
}

HRESULT D_CMemAllocator::SetProperties(D_ALLOCATOR_PROPERTIES* request, D_ALLOCATOR_PROPERTIES* actual) {
  if (actual == nullptr || request == nullptr) return E_POINTER;
  D_CAutoLock lock(&lock_);
  *actual = D_ALLOCATOR_PROPERTIES{};
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  if (request->cbAlign == 0 ||
      ((static_cast<DWORD>(request->cbAlign) - 1) & system.dwAllocationGranularity) != 0)
    return D_VFW_E_BADALIGN;
  if (committed_) return D_VFW_E_ALREADY_COMMITTED;
  if (freeCount_ < allocated_) return D_VFW_E_BUFFERS_OUTSTANDING;
  size_ = RoundUp(request->cbBuffer + request->cbPrefix, request->cbAlign) - request->cbPrefix;
  count_ = request->cBuffers;
  alignment_ = request->cbAlign;
  prefix_ = request->cbPrefix;
  actual->cbBuffer = size_;
  actual->cBuffers = count_;
  actual->cbAlign = alignment_;
  actual->cbPrefix = prefix_;
  changed_ = TRUE;
  return S_OK;
}

LONG D_CMemAllocator::AlignedBufferSize() const {
  const LONG size = size_ + prefix_;
  return alignment_ > 1 ? RoundUp(size, alignment_) : size;
}

void D_CMemAllocator::ReallyFree() {
  while (D_CMediaSample* sample = PopFree()) delete sample;
  allocated_ = 0;
  if (block_ != nullptr) {
    VirtualFree(block_, 0, MEM_RELEASE);
    block_ = nullptr;
  }
}

HRESULT D_CMemAllocator::MakeSamples(LONG alignedSize) {
  while (allocated_ < count_) {
    HRESULT result = S_OK;
    auto* sample = new D_CMediaSample("Default memory media sample", this, &result,
                                      block_ + static_cast<std::size_t>(allocated_) * alignedSize + prefix_, size_);
    if (sample == nullptr) return E_OUTOFMEMORY;
    PushFree(sample);
    ++allocated_;
  }
  return S_OK;
}

HRESULT D_CMemAllocator::Alloc() {
  D_CAutoLock lock(&lock_);
  const HRESULT checked = D_CBaseAllocator::Alloc();
  if (FAILED(checked)) return checked;
  if (checked == S_FALSE) return S_OK;
  if (block_ != nullptr) ReallyFree();
  const LONG alignedSize = AlignedBufferSize();
  block_ = static_cast<BYTE*>(VirtualAlloc(nullptr, static_cast<SIZE_T>(count_) * static_cast<SIZE_T>(alignedSize),
                                           MEM_COMMIT, PAGE_READWRITE));
  if (block_ == nullptr) return E_OUTOFMEMORY;
  const HRESULT result = MakeSamples(alignedSize);
  if (FAILED(result)) return result;
  changed_ = FALSE;
  return S_OK;
}
