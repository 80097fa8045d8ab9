// One buffer of the system memory allocator, with its times, flags and
// optional media type; it returns itself to its allocator when its last
// reference goes.
#pragma once

#include <atomic>

#include "platform/dshow.h"

namespace wqplat {

class MediaSample final : public D_IMediaSample2 {
 public:
  MediaSample(D_IMemAllocator* allocator, BYTE* buffer, LONG size)
      : allocator_(allocator), buffer_(buffer), size_(size), actual_(size) {}
  ~MediaSample();
  MediaSample(const MediaSample&) = delete;
  MediaSample& operator=(const MediaSample&) = delete;

  // Hands the sample out of the free list with one reference.
  void TakeFirstReference() { references_ = 1; }
  MediaSample* next = nullptr;  // the free list's link

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;

  HRESULT GetPointer(BYTE** buffer) override;
  LONG GetSize() override { return size_; }
  HRESULT GetTime(D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop) override;
  HRESULT SetTime(D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop) override;
  HRESULT IsSyncPoint() override { return FlagResult(D_AM_SAMPLE_SPLICEPOINT); }
  HRESULT SetSyncPoint(BOOL set) override { return SetFlag(D_AM_SAMPLE_SPLICEPOINT, set); }
  HRESULT IsPreroll() override { return FlagResult(D_AM_SAMPLE_PREROLL); }
  HRESULT SetPreroll(BOOL set) override { return SetFlag(D_AM_SAMPLE_PREROLL, set); }
  LONG GetActualDataLength() override { return actual_; }
  HRESULT SetActualDataLength(LONG length) override;
  HRESULT GetMediaType(D_AM_MEDIA_TYPE** type) override;
  HRESULT SetMediaType(D_AM_MEDIA_TYPE* type) override;
  HRESULT IsDiscontinuity() override { return FlagResult(D_AM_SAMPLE_DATADISCONTINUITY); }
  HRESULT SetDiscontinuity(BOOL set) override { return SetFlag(D_AM_SAMPLE_DATADISCONTINUITY, set); }
  HRESULT GetMediaTime(LONGLONG* start, LONGLONG* end) override;
  HRESULT SetMediaTime(LONGLONG* start, LONGLONG* end) override;
  HRESULT GetProperties(DWORD size, BYTE* properties) override;
  HRESULT SetProperties(DWORD size, const BYTE* properties) override;

 private:
  HRESULT FlagResult(DWORD flag) const { return (flags_ & flag) ? S_OK : S_FALSE; }
  HRESULT SetFlag(DWORD flag, BOOL set);
  HRESULT CheckProperties(const D_AM_SAMPLE2_PROPERTIES& record, DWORD used) const;

  D_IMemAllocator* const allocator_;
  BYTE* const buffer_;
  const LONG size_;
  LONG actual_;
  DWORD flags_ = 0;
  DWORD type_flags_ = 0;
  D_REFERENCE_TIME start_ = 0;
  D_REFERENCE_TIME stop_ = 0;
  LONGLONG media_start_ = 0;
  LONG media_length_ = 0;
  D_AM_MEDIA_TYPE* media_type_ = nullptr;
  DWORD stream_id_ = 0;
  std::atomic<ULONG> references_{0};
};

}  // namespace wqplat
