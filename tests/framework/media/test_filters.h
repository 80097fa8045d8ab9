// Small filters, pins and a clock for the filter-class tests: a source with
// one output pin that proposes a list of media types, a sink with one input
// pin that accepts one major type and counts what it receives, and a
// reference clock the test moves by hand.
#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "media/filters/base_pin.h"

namespace wqtest {

// {4B1C0001-0000-4000-8000-000000000001} and neighbours: made-up types.
GUID TestGuid(int n);
D_CMediaType MakeType(const GUID& major, const GUID& subtype, const GUID& format = GUID{},
                      const std::vector<BYTE>& formatBlock = {});

// COM and the tracked allocator around each test: every object and block
// made in the test must be gone at its end.
class FilterTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 private:
  int blocksAtStart_ = 0;
  LONG objectsAtStart_ = 0;
};

class TestSourceFilter;

class TestOutputPin : public D_CBaseOutputPin {
 public:
  TestOutputPin(TestSourceFilter* filter, HRESULT* result);
  HRESULT CheckMediaType(const D_CMediaType* type) override;
  HRESULT GetMediaType(int position, D_CMediaType* type) override;
  HRESULT DecideBufferSize(D_IMemAllocator* allocator, D_ALLOCATOR_PROPERTIES* request) override;

  std::vector<D_CMediaType> proposed;
  D_ALLOCATOR_PROPERTIES seenRequest{};
  LONG bufferSize = 64;
  LONG bufferCount = 2;
};

class TestSourceFilter : public D_CBaseFilter {
 public:
  TestSourceFilter();
  ~TestSourceFilter() override;
  int GetPinCount() override { return 1; }
  D_CBasePin* GetPin(int n) override { return n == 0 ? &pin : nullptr; }

  CRITICAL_SECTION lock;
  TestOutputPin pin;
};

class TestSinkFilter;

class TestInputPin : public D_CBaseInputPin {
 public:
  TestInputPin(TestSinkFilter* filter, HRESULT* result, LPCWSTR name);
  HRESULT CheckMediaType(const D_CMediaType* type) override;
  HRESULT GetMediaType(int position, D_CMediaType* type) override;
  HRESULT GetAllocatorRequirements(D_ALLOCATOR_PROPERTIES* properties) override;
  HRESULT Receive(D_IMediaSample* sample) override;
  HRESULT EndOfStream() override;

  GUID acceptedMajor{};
  std::vector<D_CMediaType> proposed;
  D_ALLOCATOR_PROPERTIES requirements{};
  bool hasRequirements = false;
  int received = 0;
  int endOfStreams = 0;
};

// A sink with a growable set of input pins (one at first).
class TestSinkFilter : public D_CBaseFilter {
 public:
  TestSinkFilter();
  ~TestSinkFilter() override;
  int GetPinCount() override { return static_cast<int>(pins.size()); }
  D_CBasePin* GetPin(int n) override {
    return n >= 0 && n < GetPinCount() ? pins[static_cast<std::size_t>(n)] : nullptr;
  }
  TestInputPin* AddPin(LPCWSTR name);
  TestInputPin& Input() { return *pins[0]; }

  CRITICAL_SECTION lock;
  std::vector<TestInputPin*> pins;
};

// A clock whose time the test sets; advise requests fire when the test
// moves the time past them.
class ManualClock : public D_IReferenceClock {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return static_cast<ULONG>(++references); }
  ULONG Release() override { return static_cast<ULONG>(--references); }
  HRESULT GetTime(D_REFERENCE_TIME* time) override;
  HRESULT AdviseTime(D_REFERENCE_TIME base, D_REFERENCE_TIME stream, D_HEVENT event, DWORD_PTR* cookie) override;
  HRESULT AdvisePeriodic(D_REFERENCE_TIME, D_REFERENCE_TIME, D_HSEMAPHORE, DWORD_PTR*) override { return E_NOTIMPL; }
  HRESULT Unadvise(DWORD_PTR cookie) override;

  // Sets the time and fires every advise request that is due.
  void SetTime(D_REFERENCE_TIME time);
  int PendingAdvises() const;

  struct Advise {
    D_REFERENCE_TIME due;
    HANDLE event;
    DWORD_PTR cookie;
  };
  CRITICAL_SECTION* lock();
  std::vector<Advise> advises;
  D_REFERENCE_TIME now = 0;
  DWORD_PTR nextCookie = 1;
  int references = 1;

 private:
  struct Lock {
    Lock() { InitializeCriticalSection(&section); }
    ~Lock() { DeleteCriticalSection(&section); }
    CRITICAL_SECTION section;
  } lock_;
};

// A graph that only listens: filters that join it report their events
// here, and reconnection requests are counted and granted.
class RecordingGraph : public D_IFilterGraph, public D_IMediaEventSink {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT AddFilter(D_IBaseFilter*, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT RemoveFilter(D_IBaseFilter*) override { return E_NOTIMPL; }
  HRESULT EnumFilters(D_IEnumFilters**) override { return E_NOTIMPL; }
  HRESULT FindFilterByName(LPCWSTR, D_IBaseFilter**) override { return E_NOTIMPL; }
  HRESULT ConnectDirect(D_IPin*, D_IPin*, const D_AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
  HRESULT Reconnect(D_IPin*) override {
    ++reconnects;
    return S_OK;
  }
  HRESULT Disconnect(D_IPin*) override { return E_NOTIMPL; }
  HRESULT SetDefaultSyncSource() override { return E_NOTIMPL; }
  HRESULT Notify(LONG code, LONG_PTR parameter1, LONG_PTR parameter2) override;
  int Count(LONG code) const;

  struct Event {
    LONG code;
    LONG_PTR parameter1;
    LONG_PTR parameter2;
  };
  std::vector<Event> events;
  int reconnects = 0;

 private:
  // Renderers report from their streaming thread and their timer.
  mutable std::mutex mutex_;
};

}  // namespace wqtest
