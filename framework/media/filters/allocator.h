// Allocators and media samples: the pool of buffers that connected pins
// share, backed by one committed block of virtual memory, and the samples
// that return themselves to their pool when their last reference goes.
#pragma once

#include <cstddef>

#include "media/filters/com_object.h"

class D_CBaseAllocator;

// The byte count of a sample-properties record up to and including a field:
// how much of the record a caller must pass for that field to count.
#define D_SAMPLE_PROPERTIES_THROUGH(field) \
  static_cast<DWORD>(offsetof(D_AM_SAMPLE2_PROPERTIES, field) + sizeof(D_AM_SAMPLE2_PROPERTIES::field))

class D_CMediaSample : public D_IMediaSample2, public D_CTrackedNew {
 public:
  D_CMediaSample(const char* name, D_CBaseAllocator* allocator, HRESULT* result, BYTE* buffer, LONG length);
  D_CMediaSample(const D_CMediaSample&) = delete;
  D_CMediaSample& operator=(const D_CMediaSample&) = delete;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT GetPointer(BYTE** buffer) override;
  LONG GetSize() override { return bufferSize_; }
  HRESULT GetTime(D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop) override;
  HRESULT SetTime(D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop) override;
  HRESULT IsSyncPoint() override { return FlagResult(D_AM_SAMPLE_SPLICEPOINT); }
  HRESULT SetSyncPoint(BOOL value) override { return SetFlag(D_AM_SAMPLE_SPLICEPOINT, value); }
  HRESULT IsPreroll() override { return FlagResult(D_AM_SAMPLE_PREROLL); }
  HRESULT SetPreroll(BOOL value) override { return SetFlag(D_AM_SAMPLE_PREROLL, value); }
  LONG GetActualDataLength() override { return actualLength_; }
  HRESULT SetActualDataLength(LONG length) override;
  HRESULT GetMediaType(D_AM_MEDIA_TYPE** type) override;
  HRESULT SetMediaType(D_AM_MEDIA_TYPE* type) override;
  HRESULT IsDiscontinuity() override { return FlagResult(D_AM_SAMPLE_DATADISCONTINUITY); }
  HRESULT SetDiscontinuity(BOOL value) override { return SetFlag(D_AM_SAMPLE_DATADISCONTINUITY, value); }
  HRESULT GetMediaTime(LONGLONG* start, LONGLONG* end) override;
  HRESULT SetMediaTime(LONGLONG* start, LONGLONG* end) override;
  HRESULT GetProperties(DWORD size, BYTE* properties) override;
  HRESULT SetProperties(DWORD size, const BYTE* properties) override;
  virtual ~D_CMediaSample();

  // The allocator's free list runs through the samples.
  D_CMediaSample* next = nullptr;
  LONG ReferenceCount() const { return references_; }

 private:
  HRESULT FlagResult(DWORD flag) const { return (flags_ & flag) ? S_OK : S_FALSE; }
  HRESULT SetFlag(DWORD flag, BOOL value);
  void DropMediaType();

  DWORD flags_ = 0;
  DWORD typeSpecificFlags_ = 0;
  BYTE* buffer_;
  LONG actualLength_;
  LONG bufferSize_;
  D_CBaseAllocator* allocator_;
  D_REFERENCE_TIME start_ = 0;
  D_REFERENCE_TIME stop_ = 0;
  LONGLONG mediaStart_ = 0;
  LONG mediaEnd_ = 0;  // difference from the media start
  D_AM_MEDIA_TYPE* mediaType_ = nullptr;
  DWORD streamId_ = 0;
  volatile LONG references_ = 0;
};

class D_CBaseAllocator : public D_CUnknown, public D_IMemAllocatorCallbackTemp {
 public:
  D_CBaseAllocator(const char* name, IUnknown* outer, HRESULT* result, BOOL withSemaphore,
                   BOOL offerReleaseCallback);

  D_DELEGATE_UNKNOWN_TO_OWNER

  HRESULT NonDelegatingQueryInterface(REFIID iid, void** object) override;
  ~D_CBaseAllocator() override;
  // Releases what Alloc made once no sample is out.
  virtual void Free() = 0;
  // The base part checks the properties: S_FALSE when nothing changed.
  virtual HRESULT Alloc();

  HRESULT SetProperties(D_ALLOCATOR_PROPERTIES* request, D_ALLOCATOR_PROPERTIES* actual) override = 0;
  HRESULT GetProperties(D_ALLOCATOR_PROPERTIES* properties) override;
  HRESULT Commit() override;
  HRESULT Decommit() override;
  HRESULT GetBuffer(D_IMediaSample** sample, D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop,
                    DWORD flags) override;
  HRESULT ReleaseBuffer(D_IMediaSample* sample) override;
  HRESULT SetNotify(D_IMemAllocatorNotifyCallbackTemp* notify) override;
  HRESULT GetFreeCount(LONG* free) override;

  D_IMemAllocator* AsAllocator() { return this; }
  bool IsCommitted() const { return committed_ != 0; }
  LONG AllocatedCount() const { return allocated_; }

 protected:
  void PushFree(D_CMediaSample* sample);
  D_CMediaSample* PopFree();
  // Wakes every caller blocked in GetBuffer.
  void WakeWaiters();

  CRITICAL_SECTION lock_;
  D_CMediaSample* freeHead_ = nullptr;
  LONG freeCount_ = 0;
  HANDLE semaphore_ = nullptr;
  LONG waiting_ = 0;
  LONG count_ = 0;
  LONG allocated_ = 0;
  LONG size_ = 0;
  LONG alignment_ = 0;
  LONG prefix_ = 0;
  BOOL changed_ = FALSE;
  BOOL committed_ = FALSE;
  BOOL decommitInProgress_ = FALSE;
  D_IMemAllocatorNotifyCallbackTemp* notify_ = nullptr;
  BOOL offerReleaseCallback_;
};

class D_CMemAllocator : public D_CBaseAllocator {
 public:
  D_CMemAllocator(const char* name, IUnknown* outer, HRESULT* result);
  ~D_CMemAllocator() override;
  HRESULT SetProperties(D_ALLOCATOR_PROPERTIES* request, D_ALLOCATOR_PROPERTIES* actual) override;
  // The block stays until the next Alloc with changed properties.
  void Free() override {}
  HRESULT Alloc() override;

 protected:
  // Deletes the free samples and releases the block.
  void ReallyFree();
  // Cuts the block into samples until every buffer has one.
  HRESULT MakeSamples(LONG alignedSize);
  LONG AlignedBufferSize() const;

  BYTE* block_ = nullptr;
};
