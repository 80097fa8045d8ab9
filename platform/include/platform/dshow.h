// DirectShow: the system's streaming components that filters plug into:
// media types, media samples and their allocator, and the reference clock.
#pragma once

#include "platform/ole32.h"

using D_REFERENCE_TIME = LONGLONG;  // 100 ns units
using D_HEVENT = DWORD_PTR;
using D_HSEMAPHORE = DWORD_PTR;

// ---- Results -----------------------------------------------------------------

#define E_UNEXPECTED (static_cast<HRESULT>(0x8000FFFFu))
#define D_VFW_E_BUFFER_OVERFLOW (static_cast<HRESULT>(0x8004020Du))
#define D_VFW_E_BADALIGN (static_cast<HRESULT>(0x8004020Eu))
#define D_VFW_E_ALREADY_COMMITTED (static_cast<HRESULT>(0x8004020Fu))
#define D_VFW_E_BUFFERS_OUTSTANDING (static_cast<HRESULT>(0x80040210u))
#define D_VFW_E_NOT_COMMITTED (static_cast<HRESULT>(0x80040211u))
#define D_VFW_E_SIZENOTSET (static_cast<HRESULT>(0x80040212u))
#define D_VFW_E_TIMEOUT (static_cast<HRESULT>(0x8004022Eu))
#define D_VFW_E_SAMPLE_TIME_NOT_SET (static_cast<HRESULT>(0x80040249u))
#define D_VFW_E_MEDIA_TIME_NOT_SET (static_cast<HRESULT>(0x80040251u))
#define D_VFW_S_NO_STOP_TIME (static_cast<HRESULT>(0x00040270u))

// ---- Class and interface ids -------------------------------------------------

// {1E651CC0-B199-11D0-8212-00C04FC32C45}
inline constexpr CLSID D_CLSID_MemoryAllocator = {
    0x1E651CC0, 0xB199, 0x11D0, {0x82, 0x12, 0x00, 0xC0, 0x4F, 0xC3, 0x2C, 0x45}};
// {E436EBB1-524F-11CE-9F53-0020AF0BA770}
inline constexpr CLSID D_CLSID_SystemClock = {
    0xE436EBB1, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {E436EBB2-524F-11CE-9F53-0020AF0BA770}: never registered here.
inline constexpr CLSID D_CLSID_FilterMapper = {
    0xE436EBB2, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

// {56A8689C-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IMemAllocator = {
    0x56A8689C, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {379A0CF0-C1DE-11D2-ABF5-00A0C905F375}
inline constexpr IID D_IID_IMemAllocatorCallbackTemp = {
    0x379A0CF0, 0xC1DE, 0x11D2, {0xAB, 0xF5, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x75}};
// {92980B30-C1DE-11D2-ABF5-00A0C905F375}
inline constexpr IID D_IID_IMemAllocatorNotifyCallbackTemp = {
    0x92980B30, 0xC1DE, 0x11D2, {0xAB, 0xF5, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x75}};
// {56A8689A-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IMediaSample = {
    0x56A8689A, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {36B73884-C2C8-11CF-8B46-00805F6CEF60}
inline constexpr IID D_IID_IMediaSample2 = {
    0x36B73884, 0xC2C8, 0x11CF, {0x8B, 0x46, 0x00, 0x80, 0x5F, 0x6C, 0xEF, 0x60}};
// {56A86897-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IReferenceClock = {
    0x56A86897, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

// ---- Media types ---------------------------------------------------------------

struct D_AM_MEDIA_TYPE {
  GUID majortype;
  GUID subtype;
  BOOL bFixedSizeSamples;
  BOOL bTemporalCompression;
  ULONG lSampleSize;
  GUID formattype;
  IUnknown* pUnk;
  ULONG cbFormat;
  BYTE* pbFormat;  // task memory (CoTaskMemAlloc)
};

// ---- Media samples -------------------------------------------------------------

#define D_AM_SAMPLE_SPLICEPOINT 0x01u
#define D_AM_SAMPLE_PREROLL 0x02u
#define D_AM_SAMPLE_DATADISCONTINUITY 0x04u
#define D_AM_SAMPLE_TYPECHANGED 0x08u
#define D_AM_SAMPLE_TIMEVALID 0x10u
#define D_AM_SAMPLE_MEDIATIMEVALID 0x20u
#define D_AM_SAMPLE_TIMEDISCONTINUITY 0x40u
#define D_AM_SAMPLE_FLUSH_ON_PAUSE 0x80u
#define D_AM_SAMPLE_STOPVALID 0x100u

struct D_AM_SAMPLE2_PROPERTIES {
  DWORD cbData;  // how much of the record the caller passes
  DWORD dwTypeSpecificFlags;
  DWORD dwSampleFlags;
  LONG lActual;
  D_REFERENCE_TIME tStart;
  D_REFERENCE_TIME tStop;
  DWORD dwStreamId;
  D_AM_MEDIA_TYPE* pMediaType;
  BYTE* pbBuffer;
  LONG cbBuffer;
};

class D_IMediaSample : public IUnknown {
 public:
  virtual HRESULT GetPointer(BYTE** buffer) = 0;
  virtual LONG GetSize() = 0;
  virtual HRESULT GetTime(D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop) = 0;
  virtual HRESULT SetTime(D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop) = 0;
  virtual HRESULT IsSyncPoint() = 0;
  virtual HRESULT SetSyncPoint(BOOL sync_point) = 0;
  virtual HRESULT IsPreroll() = 0;
  virtual HRESULT SetPreroll(BOOL preroll) = 0;
  virtual LONG GetActualDataLength() = 0;
  virtual HRESULT SetActualDataLength(LONG length) = 0;
  // A task-memory copy (free with the type's format and CoTaskMemFree), or
  // null and S_FALSE when the type did not change.
  virtual HRESULT GetMediaType(D_AM_MEDIA_TYPE** type) = 0;
  virtual HRESULT SetMediaType(D_AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT IsDiscontinuity() = 0;
  virtual HRESULT SetDiscontinuity(BOOL discontinuity) = 0;
  virtual HRESULT GetMediaTime(LONGLONG* start, LONGLONG* end) = 0;
  virtual HRESULT SetMediaTime(LONGLONG* start, LONGLONG* end) = 0;

 protected:
  ~D_IMediaSample() = default;
};

class D_IMediaSample2 : public D_IMediaSample {
 public:
  // The first `size` bytes of the record (at most its whole size).
  virtual HRESULT GetProperties(DWORD size, BYTE* properties) = 0;
  virtual HRESULT SetProperties(DWORD size, const BYTE* properties) = 0;

 protected:
  ~D_IMediaSample2() = default;
};

// ---- Allocators ----------------------------------------------------------------

struct D_ALLOCATOR_PROPERTIES {
  LONG cBuffers;
  LONG cbBuffer;
  LONG cbAlign;
  LONG cbPrefix;
};

#define D_AM_GBF_PREVFRAMESKIPPED 1u
#define D_AM_GBF_NOTASYNCPOINT 2u
#define D_AM_GBF_NOWAIT 4u

class D_IMemAllocator : public IUnknown {
 public:
  virtual HRESULT SetProperties(D_ALLOCATOR_PROPERTIES* request, D_ALLOCATOR_PROPERTIES* actual) = 0;
  virtual HRESULT GetProperties(D_ALLOCATOR_PROPERTIES* properties) = 0;
  virtual HRESULT Commit() = 0;
  virtual HRESULT Decommit() = 0;
  virtual HRESULT GetBuffer(D_IMediaSample** sample, D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop,
                            DWORD flags) = 0;
  virtual HRESULT ReleaseBuffer(D_IMediaSample* sample) = 0;

 protected:
  ~D_IMemAllocator() = default;
};

class D_IMemAllocatorNotifyCallbackTemp : public IUnknown {
 public:
  virtual HRESULT NotifyRelease() = 0;

 protected:
  ~D_IMemAllocatorNotifyCallbackTemp() = default;
};

class D_IMemAllocatorCallbackTemp : public D_IMemAllocator {
 public:
  virtual HRESULT SetNotify(D_IMemAllocatorNotifyCallbackTemp* notify) = 0;
  virtual HRESULT GetFreeCount(LONG* free) = 0;

 protected:
  ~D_IMemAllocatorCallbackTemp() = default;
};

// ---- Reference clocks ------------------------------------------------------------

// The system clock counts 100 ns units of the layer's clock (so it follows
// the virtual clock). GetTime gives S_FALSE when the time has not moved
// since the previous call. Advise requests are served to the millisecond.
class D_IReferenceClock : public IUnknown {
 public:
  virtual HRESULT GetTime(D_REFERENCE_TIME* time) = 0;
  // Sets the event once the clock reaches base + stream time.
  virtual HRESULT AdviseTime(D_REFERENCE_TIME base_time, D_REFERENCE_TIME stream_time, D_HEVENT event,
                             DWORD_PTR* cookie) = 0;
  // Releases the semaphore once at the start time, then every period.
  virtual HRESULT AdvisePeriodic(D_REFERENCE_TIME start_time, D_REFERENCE_TIME period,
                                 D_HSEMAPHORE semaphore, DWORD_PTR* cookie) = 0;
  virtual HRESULT Unadvise(DWORD_PTR cookie) = 0;

 protected:
  ~D_IReferenceClock() = default;
};
