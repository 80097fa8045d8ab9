// ole32: GUIDs, IUnknown and the COM run-time functions.
#pragma once

#include <cstring>

#include "platform/wintypes.h"

using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }
#define IsEqualIID(a, b) IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)

#define CO_E_NOTINITIALIZED (static_cast<HRESULT>(0x800401F0u))
#define REGDB_E_CLASSNOTREG (static_cast<HRESULT>(0x80040154u))
#define CLASS_E_NOAGGREGATION (static_cast<HRESULT>(0x80040110u))

#define CLSCTX_INPROC_SERVER 0x1u
#define CLSCTX_INPROC_HANDLER 0x2u
#define CLSCTX_LOCAL_SERVER 0x4u
#define CLSCTX_REMOTE_SERVER 0x10u
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)

// {00000000-0000-0000-C000-000000000046}
inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000,
                                     {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class IUnknown {
 public:
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;

// Counted per thread, as on Windows: S_OK for the first call of a thread,
// S_FALSE for a nested one.
HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();
// Serves the layer's class table (in-process classes only). Fails with
// CO_E_NOTINITIALIZED on a thread that has not initialised COM,
// REGDB_E_CLASSNOTREG for an unknown (or absent) class. With an outer
// object the class must support aggregation (CLASS_E_NOAGGREGATION) and
// only IID_IUnknown may be asked for (E_NOINTERFACE); the object returned
// is the inner, non-delegating IUnknown.
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                         LPVOID* object);
// Every class of the layer lives in the program itself: nothing to unload.
void CoFreeUnusedLibraries();
LPVOID CoTaskMemAlloc(SIZE_T bytes);
void CoTaskMemFree(LPVOID memory);

// ---- Streams -------------------------------------------------------------------

union ULARGE_INTEGER {
  struct {
    DWORD LowPart;
    DWORD HighPart;
  };
  ULONGLONG QuadPart;
};

#define STREAM_SEEK_SET 0u
#define STREAM_SEEK_CUR 1u
#define STREAM_SEEK_END 2u

// {0C733A30-2A1C-11CE-ADE5-00AA0044773D}
inline constexpr IID IID_ISequentialStream = {0x0C733A30, 0x2A1C, 0x11CE,
                                              {0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D}};
// {0000000C-0000-0000-C000-000000000046}
inline constexpr IID IID_IStream = {0x0000000C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class ISequentialStream : public IUnknown {
 public:
  virtual HRESULT Read(void* buffer, ULONG bytes, ULONG* read) = 0;
  virtual HRESULT Write(const void* buffer, ULONG bytes, ULONG* written) = 0;

 protected:
  ~ISequentialStream() = default;
};

// The STATSTG record of Stat is passed as an opaque pointer.
class IStream : public ISequentialStream {
 public:
  virtual HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) = 0;
  virtual HRESULT SetSize(ULARGE_INTEGER size) = 0;
  virtual HRESULT CopyTo(IStream* target, ULARGE_INTEGER bytes, ULARGE_INTEGER* read, ULARGE_INTEGER* written) = 0;
  virtual HRESULT Commit(DWORD flags) = 0;
  virtual HRESULT Revert() = 0;
  virtual HRESULT LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER bytes, DWORD lock_type) = 0;
  virtual HRESULT UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER bytes, DWORD lock_type) = 0;
  virtual HRESULT Stat(void* statistics, DWORD flags) = 0;
  virtual HRESULT Clone(IStream** copy) = 0;

 protected:
  ~IStream() = default;
};
