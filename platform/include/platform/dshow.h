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

#define D_VFW_E_NOT_CONNECTED (static_cast<HRESULT>(0x80040209u))

// ---- Class and interface ids -------------------------------------------------

// {060AF76C-68DD-11D0-8FC1-00C04FD9189D}
inline constexpr CLSID D_CLSID_SeekingPassThru = {
    0x060AF76C, 0x68DD, 0x11D0, {0x8F, 0xC1, 0x00, 0xC0, 0x4F, 0xD9, 0x18, 0x9D}};
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

// {56A86891-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IPin = {
    0x56A86891, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {36B73880-C2C8-11CF-8B46-00805F6CEF60}
inline constexpr IID D_IID_IMediaSeeking = {
    0x36B73880, 0xC2C8, 0x11CF, {0x8B, 0x46, 0x00, 0x80, 0x5F, 0x6C, 0xEF, 0x60}};
// {36B73883-C2C8-11CF-8B46-00805F6CEF60}
inline constexpr IID D_IID_ISeekingPassThru = {
    0x36B73883, 0xC2C8, 0x11CF, {0x8B, 0x46, 0x00, 0x80, 0x5F, 0x6C, 0xEF, 0x60}};
// {7B785574-8C82-11CF-BC0C-00AA00AC74F6}: 100 ns units
inline constexpr GUID D_TIME_FORMAT_MEDIA_TIME = {
    0x7B785574, 0x8C82, 0x11CF, {0xBC, 0x0C, 0x00, 0xAA, 0x00, 0xAC, 0x74, 0xF6}};

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

// ---- Pins ------------------------------------------------------------------------

class D_IBaseFilter;
class D_IEnumMediaTypes;

enum D_PIN_DIRECTION { D_PINDIR_INPUT = 0, D_PINDIR_OUTPUT = 1 };

struct D_PIN_INFO {
  D_IBaseFilter* pFilter;  // referenced
  D_PIN_DIRECTION dir;
  WCHAR achName[128];
};

class D_IPin : public IUnknown {
 public:
  virtual HRESULT Connect(D_IPin* receive_pin, const D_AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT ReceiveConnection(D_IPin* connector, const D_AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT Disconnect() = 0;
  // The connected pin with a reference; D_VFW_E_NOT_CONNECTED otherwise.
  virtual HRESULT ConnectedTo(D_IPin** pin) = 0;
  virtual HRESULT ConnectionMediaType(D_AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT QueryPinInfo(D_PIN_INFO* info) = 0;
  virtual HRESULT QueryDirection(D_PIN_DIRECTION* direction) = 0;
  virtual HRESULT QueryId(LPWSTR* id) = 0;
  virtual HRESULT QueryAccept(const D_AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT EnumMediaTypes(D_IEnumMediaTypes** types) = 0;
  virtual HRESULT QueryInternalConnections(D_IPin** pins, ULONG* count) = 0;
  virtual HRESULT EndOfStream() = 0;
  virtual HRESULT BeginFlush() = 0;
  virtual HRESULT EndFlush() = 0;
  virtual HRESULT NewSegment(D_REFERENCE_TIME start, D_REFERENCE_TIME stop, double rate) = 0;

 protected:
  ~D_IPin() = default;
};

// ---- Seeking -------------------------------------------------------------------

#define D_AM_SEEKING_CanSeekAbsolute 0x1u
#define D_AM_SEEKING_CanSeekForwards 0x2u
#define D_AM_SEEKING_CanSeekBackwards 0x4u
#define D_AM_SEEKING_CanGetCurrentPos 0x8u
#define D_AM_SEEKING_CanGetStopPos 0x10u
#define D_AM_SEEKING_CanGetDuration 0x20u

#define D_AM_SEEKING_NoPositioning 0x0u
#define D_AM_SEEKING_AbsolutePositioning 0x1u
#define D_AM_SEEKING_RelativePositioning 0x2u
#define D_AM_SEEKING_IncrementalPositioning 0x3u
#define D_AM_SEEKING_PositioningBitsMask 0x3u

class D_IMediaSeeking : public IUnknown {
 public:
  virtual HRESULT GetCapabilities(DWORD* capabilities) = 0;
  virtual HRESULT CheckCapabilities(DWORD* capabilities) = 0;
  virtual HRESULT IsFormatSupported(const GUID* format) = 0;
  virtual HRESULT QueryPreferredFormat(GUID* format) = 0;
  virtual HRESULT GetTimeFormat(GUID* format) = 0;
  virtual HRESULT IsUsingTimeFormat(const GUID* format) = 0;
  virtual HRESULT SetTimeFormat(const GUID* format) = 0;
  virtual HRESULT GetDuration(LONGLONG* duration) = 0;
  virtual HRESULT GetStopPosition(LONGLONG* stop) = 0;
  virtual HRESULT GetCurrentPosition(LONGLONG* current) = 0;
  virtual HRESULT ConvertTimeFormat(LONGLONG* target, const GUID* target_format, LONGLONG source,
                                    const GUID* source_format) = 0;
  virtual HRESULT SetPositions(LONGLONG* current, DWORD current_flags, LONGLONG* stop, DWORD stop_flags) = 0;
  virtual HRESULT GetPositions(LONGLONG* current, LONGLONG* stop) = 0;
  virtual HRESULT GetAvailable(LONGLONG* earliest, LONGLONG* latest) = 0;
  virtual HRESULT SetRate(double rate) = 0;
  virtual HRESULT GetRate(double* rate) = 0;
  virtual HRESULT GetPreroll(LONGLONG* preroll) = 0;

 protected:
  ~D_IMediaSeeking() = default;
};

// The seeking pass-through (CLSID_SeekingPassThru, made to be aggregated by
// a filter): once given the filter's input pin (which it does not
// reference), it answers IMediaSeeking, and every call goes to the pin
// connected upstream of that one; E_NOTIMPL while the pin is not connected
// or its peer cannot seek. A second Init fails with E_FAIL.
class D_ISeekingPassThru : public IUnknown {
 public:
  virtual HRESULT Init(BOOL renderer, D_IPin* pin) = 0;

 protected:
  ~D_ISeekingPassThru() = default;
};
