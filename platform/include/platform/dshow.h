// DirectShow: the system's streaming components that filters plug into:
// media types, media samples and their allocator, and the reference clock.
#pragma once

#include "platform/gdi32.h"
#include "platform/mmsystem.h"
#include "platform/ole32.h"
#include "platform/oleauto.h"

using D_REFERENCE_TIME = LONGLONG;  // 100 ns units
using D_HEVENT = DWORD_PTR;
using D_HSEMAPHORE = DWORD_PTR;

// ---- Results -----------------------------------------------------------------

#define E_UNEXPECTED (static_cast<HRESULT>(0x8000FFFFu))
#define D_VFW_E_INVALIDMEDIATYPE (static_cast<HRESULT>(0x80040200u))
#define D_VFW_E_ENUM_OUT_OF_SYNC (static_cast<HRESULT>(0x80040203u))
#define D_VFW_E_ALREADY_CONNECTED (static_cast<HRESULT>(0x80040204u))
#define D_VFW_E_NO_ACCEPTABLE_TYPES (static_cast<HRESULT>(0x80040207u))
#define D_VFW_E_INVALID_DIRECTION (static_cast<HRESULT>(0x80040208u))
#define D_VFW_E_NOT_CONNECTED (static_cast<HRESULT>(0x80040209u))
#define D_VFW_E_NO_ALLOCATOR (static_cast<HRESULT>(0x8004020Au))
#define D_VFW_E_RUNTIME_ERROR (static_cast<HRESULT>(0x8004020Bu))
#define D_VFW_E_BUFFER_OVERFLOW (static_cast<HRESULT>(0x8004020Du))
#define D_VFW_E_BADALIGN (static_cast<HRESULT>(0x8004020Eu))
#define D_VFW_E_ALREADY_COMMITTED (static_cast<HRESULT>(0x8004020Fu))
#define D_VFW_E_BUFFERS_OUTSTANDING (static_cast<HRESULT>(0x80040210u))
#define D_VFW_E_NOT_COMMITTED (static_cast<HRESULT>(0x80040211u))
#define D_VFW_E_SIZENOTSET (static_cast<HRESULT>(0x80040212u))
#define D_VFW_E_NO_CLOCK (static_cast<HRESULT>(0x80040213u))
#define D_VFW_E_NOT_FOUND (static_cast<HRESULT>(0x80040216u))
#define D_VFW_E_CANNOT_CONNECT (static_cast<HRESULT>(0x80040217u))
#define D_VFW_E_CANNOT_RENDER (static_cast<HRESULT>(0x80040218u))
#define D_VFW_E_STATE_CHANGED (static_cast<HRESULT>(0x80040223u))
#define D_VFW_E_NOT_STOPPED (static_cast<HRESULT>(0x80040224u))
#define D_VFW_E_WRONG_STATE (static_cast<HRESULT>(0x80040227u))
#define D_VFW_E_START_TIME_AFTER_END (static_cast<HRESULT>(0x80040228u))
#define D_VFW_E_TYPE_NOT_ACCEPTED (static_cast<HRESULT>(0x8004022Au))
#define D_VFW_E_SAMPLE_REJECTED (static_cast<HRESULT>(0x8004022Bu))
#define D_VFW_E_DUPLICATE_NAME (static_cast<HRESULT>(0x8004022Du))
#define D_VFW_E_TIMEOUT (static_cast<HRESULT>(0x8004022Eu))
#define D_VFW_E_INVALID_FILE_FORMAT (static_cast<HRESULT>(0x8004022Fu))
#define D_VFW_E_CIRCULAR_GRAPH (static_cast<HRESULT>(0x80040231u))
#define D_VFW_E_UNKNOWN_FILE_TYPE (static_cast<HRESULT>(0x80040240u))
#define D_VFW_E_CANNOT_LOAD_SOURCE_FILTER (static_cast<HRESULT>(0x80040241u))
#define D_VFW_E_INVALID_MEDIA_TYPE (static_cast<HRESULT>(0x80040248u))
#define D_VFW_E_SAMPLE_TIME_NOT_SET (static_cast<HRESULT>(0x80040249u))
#define D_VFW_E_MEDIA_TIME_NOT_SET (static_cast<HRESULT>(0x80040251u))
#define D_VFW_E_NO_AUDIO_HARDWARE (static_cast<HRESULT>(0x80040256u))
#define D_VFW_E_NOT_IN_GRAPH (static_cast<HRESULT>(0x8004025Fu))
#define D_VFW_E_UNSUPPORTED_STREAM (static_cast<HRESULT>(0x80040265u))

#define D_VFW_S_NO_MORE_ITEMS (static_cast<HRESULT>(0x00040103u))
#define D_VFW_S_STATE_INTERMEDIATE (static_cast<HRESULT>(0x00040237u))
#define D_VFW_S_PARTIAL_RENDER (static_cast<HRESULT>(0x00040242u))
#define D_VFW_S_AUDIO_NOT_RENDERED (static_cast<HRESULT>(0x00040258u))
#define D_VFW_S_NO_STOP_TIME (static_cast<HRESULT>(0x00040270u))

// A read that could not be completed in full (the first OLE success code).
#define OLE_S_FIRST (static_cast<HRESULT>(0x00040000u))
#define HRESULT_FROM_WIN32(error) \
  (static_cast<HRESULT>(error) <= 0 ? static_cast<HRESULT>(error) \
                                     : static_cast<HRESULT>((static_cast<DWORD>(error) & 0xFFFFu) | 0x80070000u))

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

// ---- Filters -------------------------------------------------------------------

// {56A86895-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IBaseFilter = {
    0x56A86895, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {56A86899-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IMediaFilter = {
    0x56A86899, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {0000010C-0000-0000-C000-000000000046}
inline constexpr IID IID_IPersist = {0x0000010C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {56A86892-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IEnumPins = {
    0x56A86892, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {89C31040-846B-11CE-97D3-00AA0055595A}
inline constexpr IID D_IID_IEnumMediaTypes = {
    0x89C31040, 0x846B, 0x11CE, {0x97, 0xD3, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
// {56A86893-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IEnumFilters = {
    0x56A86893, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {56A8689D-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IMemInputPin = {
    0x56A8689D, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {56A868A5-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IQualityControl = {
    0x56A868A5, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {1BD0ECB0-F8E2-11CE-AAC6-0020AF0B99A3}
inline constexpr IID D_IID_IQualProp = {
    0x1BD0ECB0, 0xF8E2, 0x11CE, {0xAA, 0xC6, 0x00, 0x20, 0xAF, 0x0B, 0x99, 0xA3}};
// {56A868AA-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IAsyncReader = {
    0x56A868AA, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {A3D8CEC0-7E5A-11CF-BBC5-00805F6CEF20}
inline constexpr IID D_IID_IAMovieSetup = {
    0xA3D8CEC0, 0x7E5A, 0x11CF, {0xBB, 0xC5, 0x00, 0x80, 0x5F, 0x6C, 0xEF, 0x20}};
// {56A868A6-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IFileSourceFilter = {
    0x56A868A6, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {2DD74950-A890-11D1-ABE8-00A0C905F375}
inline constexpr IID D_IID_IAMFilterMiscFlags = {
    0x2DD74950, 0xA890, 0x11D1, {0xAB, 0xE8, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x75}};
// {56A868A3-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IFilterMapper = {
    0x56A868A3, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

class D_IFilterGraph;
class D_IEnumPins;

enum D_FILTER_STATE { D_State_Stopped = 0, D_State_Paused = 1, D_State_Running = 2 };

struct D_FILTER_INFO {
  WCHAR achName[128];
  D_IFilterGraph* pGraph;  // referenced when set
};

class IPersist : public IUnknown {
 public:
  virtual HRESULT GetClassID(CLSID* clsid) = 0;

 protected:
  ~IPersist() = default;
};

class D_IMediaFilter : public IPersist {
 public:
  virtual HRESULT Stop() = 0;
  virtual HRESULT Pause() = 0;
  // start: the reference time at which stream time 0 falls.
  virtual HRESULT Run(D_REFERENCE_TIME start) = 0;
  virtual HRESULT GetState(DWORD timeout_ms, D_FILTER_STATE* state) = 0;
  virtual HRESULT SetSyncSource(D_IReferenceClock* clock) = 0;
  virtual HRESULT GetSyncSource(D_IReferenceClock** clock) = 0;

 protected:
  ~D_IMediaFilter() = default;
};

class D_IBaseFilter : public D_IMediaFilter {
 public:
  virtual HRESULT EnumPins(D_IEnumPins** pins) = 0;
  virtual HRESULT FindPin(LPCWSTR id, D_IPin** pin) = 0;
  virtual HRESULT QueryFilterInfo(D_FILTER_INFO* info) = 0;
  // The graph is not referenced by the filter; null leaves the graph.
  virtual HRESULT JoinFilterGraph(D_IFilterGraph* graph, LPCWSTR name) = 0;
  virtual HRESULT QueryVendorInfo(LPWSTR* vendor_info) = 0;

 protected:
  ~D_IBaseFilter() = default;
};

class D_IEnumPins : public IUnknown {
 public:
  virtual HRESULT Next(ULONG count, D_IPin** pins, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(D_IEnumPins** copy) = 0;

 protected:
  ~D_IEnumPins() = default;
};

// Each type handed out is task memory with a task-memory format block.
class D_IEnumMediaTypes : public IUnknown {
 public:
  virtual HRESULT Next(ULONG count, D_AM_MEDIA_TYPE** types, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(D_IEnumMediaTypes** copy) = 0;

 protected:
  ~D_IEnumMediaTypes() = default;
};

class D_IEnumFilters : public IUnknown {
 public:
  virtual HRESULT Next(ULONG count, D_IBaseFilter** filters, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(D_IEnumFilters** copy) = 0;

 protected:
  ~D_IEnumFilters() = default;
};

class D_IMemInputPin : public IUnknown {
 public:
  virtual HRESULT GetAllocator(D_IMemAllocator** allocator) = 0;
  virtual HRESULT NotifyAllocator(D_IMemAllocator* allocator, BOOL read_only) = 0;
  virtual HRESULT GetAllocatorRequirements(D_ALLOCATOR_PROPERTIES* properties) = 0;
  virtual HRESULT Receive(D_IMediaSample* sample) = 0;
  virtual HRESULT ReceiveMultiple(D_IMediaSample** samples, LONG count, LONG* processed) = 0;
  // S_OK when Receive may block the caller, S_FALSE when it never does.
  virtual HRESULT ReceiveCanBlock() = 0;

 protected:
  ~D_IMemInputPin() = default;
};

enum D_QualityMessageType { D_Famine = 0, D_Flood = 1 };

struct D_Quality {
  D_QualityMessageType Type;
  LONG Proportion;  // thousandths of the rate the sender can keep up with
  D_REFERENCE_TIME Late;
  D_REFERENCE_TIME TimeStamp;
};

class D_IQualityControl : public IUnknown {
 public:
  virtual HRESULT Notify(D_IBaseFilter* sender, D_Quality quality) = 0;
  virtual HRESULT SetSink(D_IQualityControl* sink) = 0;

 protected:
  ~D_IQualityControl() = default;
};

class D_IQualProp : public IUnknown {
 public:
  virtual HRESULT get_FramesDroppedInRenderer(int* frames) = 0;
  virtual HRESULT get_FramesDrawn(int* frames) = 0;
  virtual HRESULT get_AvgFrameRate(int* rate_times_100) = 0;
  virtual HRESULT get_Jitter(int* jitter_ms) = 0;
  virtual HRESULT get_AvgSyncOffset(int* offset_ms) = 0;
  virtual HRESULT get_DevSyncOffset(int* deviation_ms) = 0;

 protected:
  ~D_IQualProp() = default;
};

// The pull model: a parser asks a source for byte ranges. The times of a
// sample given to Request and SyncReadAligned are byte positions times
// 10,000,000.
class D_IAsyncReader : public IUnknown {
 public:
  virtual HRESULT RequestAllocator(D_IMemAllocator* preferred, D_ALLOCATOR_PROPERTIES* properties,
                                   D_IMemAllocator** actual) = 0;
  virtual HRESULT Request(D_IMediaSample* sample, DWORD_PTR user) = 0;
  virtual HRESULT WaitForNext(DWORD timeout_ms, D_IMediaSample** sample, DWORD_PTR* user) = 0;
  virtual HRESULT SyncReadAligned(D_IMediaSample* sample) = 0;
  virtual HRESULT SyncRead(LONGLONG position, LONG length, BYTE* buffer) = 0;
  virtual HRESULT Length(LONGLONG* total, LONGLONG* available) = 0;
  virtual HRESULT BeginFlush() = 0;
  virtual HRESULT EndFlush() = 0;

 protected:
  ~D_IAsyncReader() = default;
};

class D_IAMovieSetup : public IUnknown {
 public:
  virtual HRESULT Register() = 0;
  virtual HRESULT Unregister() = 0;

 protected:
  ~D_IAMovieSetup() = default;
};

class D_IFileSourceFilter : public IUnknown {
 public:
  virtual HRESULT Load(LPCOLESTR file_name, const D_AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT GetCurFile(LPOLESTR* file_name, D_AM_MEDIA_TYPE* type) = 0;

 protected:
  ~D_IFileSourceFilter() = default;
};

#define D_AM_FILTER_MISC_FLAGS_IS_RENDERER 0x1u
#define D_AM_FILTER_MISC_FLAGS_IS_SOURCE 0x2u

class D_IAMFilterMiscFlags : public IUnknown {
 public:
  virtual ULONG GetMiscFlags() = 0;

 protected:
  ~D_IAMFilterMiscFlags() = default;
};

// ---- Filter registration -----------------------------------------------------------

struct D_AMOVIESETUP_MEDIATYPE {
  const CLSID* clsMajorType;
  const CLSID* clsMinorType;
};

struct D_AMOVIESETUP_PIN {
  LPWSTR strName;
  BOOL bRendered;
  BOOL bOutput;
  BOOL bZero;
  BOOL bMany;
  const CLSID* clsConnectsToFilter;
  LPCWSTR strConnectsToPin;
  UINT nMediaTypes;
  const D_AMOVIESETUP_MEDIATYPE* lpMediaType;
};

struct D_AMOVIESETUP_FILTER {
  const CLSID* clsID;
  LPCWSTR strName;
  DWORD dwMerit;
  UINT nPins;
  const D_AMOVIESETUP_PIN* lpPin;
};

// The filter mapper's registry; its class is not registered in the layer.
class D_IFilterMapper : public IUnknown {
 public:
  virtual HRESULT RegisterFilter(CLSID filter, LPCWSTR name, DWORD merit) = 0;
  virtual HRESULT RegisterFilterInstance(CLSID filter, LPCWSTR name, CLSID* instance) = 0;
  virtual HRESULT RegisterPin(CLSID filter, LPCWSTR name, BOOL rendered, BOOL output, BOOL zero, BOOL many,
                              CLSID connects_to_filter, LPCWSTR connects_to_pin) = 0;
  virtual HRESULT RegisterPinType(CLSID filter, LPCWSTR pin_name, CLSID major_type, CLSID subtype) = 0;
  virtual HRESULT UnregisterFilter(CLSID filter) = 0;
  virtual HRESULT UnregisterFilterInstance(CLSID instance) = 0;
  virtual HRESULT UnregisterPin(CLSID filter, LPCWSTR name) = 0;
  // The registry enumerator is passed as an opaque IUnknown.
  virtual HRESULT EnumMatchingFilters(IUnknown** filters, DWORD merit, BOOL input_needed, CLSID input_major,
                                      CLSID input_subtype, BOOL render, BOOL output_needed, CLSID output_major,
                                      CLSID output_subtype) = 0;

 protected:
  ~D_IFilterMapper() = default;
};

// ---- The filter graph ----------------------------------------------------------------

// {E436EBB3-524F-11CE-9F53-0020AF0BA770}
inline constexpr CLSID D_CLSID_FilterGraph = {
    0xE436EBB3, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {C1F400A4-3F08-11D3-9F0B-006008039E37}
inline constexpr CLSID D_CLSID_NullRenderer = {
    0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
// {56A868B0-0AD4-11CE-B03A-0020AF0BA770}: the type library of the graph's
// dispatch interfaces.
inline constexpr GUID D_LIBID_QuartzTypeLib = {
    0x56A868B0, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

// {56A8689F-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IFilterGraph = {
    0x56A8689F, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {56A868A9-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IGraphBuilder = {
    0x56A868A9, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {36B73882-C2C8-11CF-8B46-00805F6CEF60}
inline constexpr IID D_IID_IFilterGraph2 = {
    0x36B73882, 0xC2C8, 0x11CF, {0x8B, 0x46, 0x00, 0x80, 0x5F, 0x6C, 0xEF, 0x60}};
// {56A868B1-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IMediaControl = {
    0x56A868B1, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {56A868B6-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IMediaEvent = {
    0x56A868B6, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {56A868C0-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IMediaEventEx = {
    0x56A868C0, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {56A868A2-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IMediaEventSink = {
    0x56A868A2, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {56A868B2-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IMediaPosition = {
    0x56A868B2, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {56A868B3-0AD4-11CE-B03A-0020AF0BA770}
inline constexpr IID D_IID_IBasicAudio = {
    0x56A868B3, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

class D_IFilterGraph : public IUnknown {
 public:
  // The graph holds a reference on each filter; a second filter of the
  // same name is refused with D_VFW_E_DUPLICATE_NAME, a null name gets one
  // made up.
  virtual HRESULT AddFilter(D_IBaseFilter* filter, LPCWSTR name) = 0;
  virtual HRESULT RemoveFilter(D_IBaseFilter* filter) = 0;
  virtual HRESULT EnumFilters(D_IEnumFilters** filters) = 0;
  virtual HRESULT FindFilterByName(LPCWSTR name, D_IBaseFilter** filter) = 0;
  virtual HRESULT ConnectDirect(D_IPin* output, D_IPin* input, const D_AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT Reconnect(D_IPin* pin) = 0;
  virtual HRESULT Disconnect(D_IPin* pin) = 0;
  virtual HRESULT SetDefaultSyncSource() = 0;

 protected:
  ~D_IFilterGraph() = default;
};

class D_IGraphBuilder : public D_IFilterGraph {
 public:
  // Connects directly, else through decoders the graph adds.
  virtual HRESULT Connect(D_IPin* output, D_IPin* input) = 0;
  // Builds the rest of the graph downstream of an output pin.
  virtual HRESULT Render(D_IPin* output) = 0;
  virtual HRESULT RenderFile(LPCWSTR file, LPCWSTR play_list) = 0;
  virtual HRESULT AddSourceFilter(LPCWSTR file, LPCWSTR filter_name, D_IBaseFilter** filter) = 0;
  virtual HRESULT SetLogFile(DWORD_PTR file) = 0;
  virtual HRESULT Abort() = 0;
  virtual HRESULT ShouldOperationContinue() = 0;

 protected:
  ~D_IGraphBuilder() = default;
};

class D_IFilterGraph2 : public D_IGraphBuilder {
 public:
  // The moniker and bind context are passed as opaque IUnknowns.
  virtual HRESULT AddSourceFilterForMoniker(IUnknown* moniker, IUnknown* bind_context, LPCWSTR filter_name,
                                            D_IBaseFilter** filter) = 0;
  virtual HRESULT ReconnectEx(D_IPin* pin, const D_AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT RenderEx(D_IPin* output, DWORD flags, DWORD* context) = 0;

 protected:
  ~D_IFilterGraph2() = default;
};

using D_OAFilterState = LONG;
using D_OAEVENT = LONG_PTR;
using D_OAHWND = LONG_PTR;
using D_REFTIME = double;  // seconds

class D_IMediaControl : public IDispatch {
 public:
  virtual HRESULT Run() = 0;
  virtual HRESULT Pause() = 0;
  virtual HRESULT Stop() = 0;
  virtual HRESULT GetState(LONG timeout_ms, D_OAFilterState* state) = 0;
  virtual HRESULT RenderFile(BSTR file) = 0;
  virtual HRESULT AddSourceFilter(BSTR file, IDispatch** filter) = 0;
  virtual HRESULT get_FilterCollection(IDispatch** collection) = 0;
  virtual HRESULT get_RegFilterCollection(IDispatch** collection) = 0;
  virtual HRESULT StopWhenReady() = 0;

 protected:
  ~D_IMediaControl() = default;
};

// Event codes.
#define D_EC_COMPLETE 0x01
#define D_EC_USERABORT 0x02
#define D_EC_ERRORABORT 0x03
#define D_EC_TIME 0x04
#define D_EC_REPAINT 0x05
#define D_EC_STREAM_ERROR_STOPPED 0x06
#define D_EC_STREAM_ERROR_STILLPLAYING 0x07
#define D_EC_ERROR_STILLPLAYING 0x08
#define D_EC_PALETTE_CHANGED 0x09
#define D_EC_VIDEO_SIZE_CHANGED 0x0A
#define D_EC_QUALITY_CHANGE 0x0B
#define D_EC_SHUTTING_DOWN 0x0C
#define D_EC_CLOCK_CHANGED 0x0D
#define D_EC_PAUSED 0x0E
#define D_EC_WINDOW_DESTROYED 0x15

class D_IMediaEvent : public IDispatch {
 public:
  // A manual-reset event (a kernel32 HANDLE) set while events are queued.
  virtual HRESULT GetEventHandle(D_OAEVENT* event) = 0;
  // E_ABORT when no event arrived within the time-out.
  virtual HRESULT GetEvent(LONG* code, LONG_PTR* parameter1, LONG_PTR* parameter2, LONG timeout_ms) = 0;
  // Waits for the graph to complete: S_OK with D_EC_COMPLETE,
  // D_EC_ERRORABORT or D_EC_USERABORT; E_ABORT and code 0 on time-out;
  // VFW_E_WRONG_STATE while the graph is not running.
  virtual HRESULT WaitForCompletion(LONG timeout_ms, LONG* code) = 0;
  virtual HRESULT CancelDefaultHandling(LONG code) = 0;
  virtual HRESULT RestoreDefaultHandling(LONG code) = 0;
  virtual HRESULT FreeEventParams(LONG code, LONG_PTR parameter1, LONG_PTR parameter2) = 0;

 protected:
  ~D_IMediaEvent() = default;
};

class D_IMediaEventEx : public D_IMediaEvent {
 public:
  virtual HRESULT SetNotifyWindow(D_OAHWND window, LONG message, LONG_PTR instance_data) = 0;
  virtual HRESULT SetNotifyFlags(LONG no_notify) = 0;
  virtual HRESULT GetNotifyFlags(LONG* no_notify) = 0;

 protected:
  ~D_IMediaEventEx() = default;
};

#define E_ABORT (static_cast<HRESULT>(0x80004004u))

// Filters report events to the graph through this interface.
class D_IMediaEventSink : public IUnknown {
 public:
  virtual HRESULT Notify(LONG code, LONG_PTR parameter1, LONG_PTR parameter2) = 0;

 protected:
  ~D_IMediaEventSink() = default;
};

class D_IMediaPosition : public IDispatch {
 public:
  virtual HRESULT get_Duration(D_REFTIME* length) = 0;
  virtual HRESULT put_CurrentPosition(D_REFTIME time) = 0;
  virtual HRESULT get_CurrentPosition(D_REFTIME* time) = 0;
  virtual HRESULT get_StopTime(D_REFTIME* time) = 0;
  virtual HRESULT put_StopTime(D_REFTIME time) = 0;
  virtual HRESULT get_PrerollTime(D_REFTIME* time) = 0;
  virtual HRESULT put_PrerollTime(D_REFTIME time) = 0;
  virtual HRESULT put_Rate(double rate) = 0;
  virtual HRESULT get_Rate(double* rate) = 0;
  virtual HRESULT CanSeekForward(LONG* can) = 0;
  virtual HRESULT CanSeekBackward(LONG* can) = 0;

 protected:
  ~D_IMediaPosition() = default;
};

// Volume in hundredths of a decibel, 0 (full) to -10,000 (silence);
// balance -10,000 (left) to 10,000 (right).
class D_IBasicAudio : public IDispatch {
 public:
  virtual HRESULT put_Volume(LONG volume) = 0;
  virtual HRESULT get_Volume(LONG* volume) = 0;
  virtual HRESULT put_Balance(LONG balance) = 0;
  virtual HRESULT get_Balance(LONG* balance) = 0;

 protected:
  ~D_IBasicAudio() = default;
};

// ---- Media type and format ids -----------------------------------------------------

// {73646976-0000-0010-8000-00AA00389B71}
inline constexpr GUID D_MEDIATYPE_Video = {
    0x73646976, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
// {73647561-0000-0010-8000-00AA00389B71}
inline constexpr GUID D_MEDIATYPE_Audio = {
    0x73647561, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
// {E436EB83-524F-11CE-9F53-0020AF0BA770}
inline constexpr GUID D_MEDIATYPE_Stream = {
    0xE436EB83, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

// {E436EB7D-524F-11CE-9F53-0020AF0BA770}
inline constexpr GUID D_MEDIASUBTYPE_RGB24 = {
    0xE436EB7D, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {E436EB7E-524F-11CE-9F53-0020AF0BA770}
inline constexpr GUID D_MEDIASUBTYPE_RGB32 = {
    0xE436EB7E, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {00000001-0000-0010-8000-00AA00389B71}
inline constexpr GUID D_MEDIASUBTYPE_PCM = {
    0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
// {E436EB87-524F-11CE-9F53-0020AF0BA770}
inline constexpr GUID D_MEDIASUBTYPE_MPEG1Audio = {
    0xE436EB87, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
// {E436EB8B-524F-11CE-9F53-0020AF0BA770}
inline constexpr GUID D_MEDIASUBTYPE_WAVE = {
    0xE436EB8B, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

// {05589F80-C356-11CE-BF01-00AA0055595A}
inline constexpr GUID D_FORMAT_VideoInfo = {
    0x05589F80, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
// {05589F81-C356-11CE-BF01-00AA0055595A}
inline constexpr GUID D_FORMAT_WaveFormatEx = {
    0x05589F81, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
inline constexpr GUID GUID_NULL = {0x00000000, 0x0000, 0x0000, {0, 0, 0, 0, 0, 0, 0, 0}};

// The format block of FORMAT_VideoInfo.
struct D_VIDEOINFOHEADER {
  RECT rcSource;
  RECT rcTarget;
  DWORD dwBitRate;
  DWORD dwBitErrorRate;
  D_REFERENCE_TIME AvgTimePerFrame;
  BITMAPINFOHEADER bmiHeader;
};
