// The test filters, pins and clock.
#include "test_filters.h"

#include "core/base/tracked_allocator.h"

namespace wqtest {

GUID TestGuid(int n) {
  return GUID{0x4B1C0000u + static_cast<DWORD>(n), 0, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, static_cast<BYTE>(n)}};
}

D_CMediaType MakeType(const GUID& major, const GUID& subtype, const GUID& format,
                      const std::vector<BYTE>& formatBlock) {
  D_CMediaType type;
  type.majortype = major;
  type.subtype = subtype;
  type.formattype = format;
  if (!formatBlock.empty()) {
    type.cbFormat = static_cast<ULONG>(formatBlock.size());
    type.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(formatBlock.size()));
    std::copy(formatBlock.begin(), formatBlock.end(), type.pbFormat);
  }
  return type;
}

void FilterTest::SetUp() {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  blocksAtStart_ = GetTrackedBlockCount();
  objectsAtStart_ = GetLiveFilterObjectCount();
}

void FilterTest::TearDown() {
  EXPECT_EQ(GetLiveFilterObjectCount(), objectsAtStart_) << "filter objects left alive";
  EXPECT_EQ(GetTrackedBlockCount(), blocksAtStart_) << "tracked blocks left";
  CoUninitialize();
}

// ---- Source -------------------------------------------------------------------------

TestOutputPin::TestOutputPin(TestSourceFilter* filter, HRESULT* result)
    : D_CBaseOutputPin("Test output", filter, &filter->lock, result, u"Out") {}

HRESULT TestOutputPin::CheckMediaType(const D_CMediaType* type) {
  for (const D_CMediaType& offered : proposed)
    if (MediaTypesEqual(offered, *type)) return S_OK;
  return S_FALSE;
}

HRESULT TestOutputPin::GetMediaType(int position, D_CMediaType* type) {
  if (position < 0) return E_INVALIDARG;
  if (position >= static_cast<int>(proposed.size())) return D_VFW_S_NO_MORE_ITEMS;
  *type = proposed[static_cast<std::size_t>(position)];
  return S_OK;
}

HRESULT TestOutputPin::DecideBufferSize(D_IMemAllocator* allocator, D_ALLOCATOR_PROPERTIES* request) {
  seenRequest = *request;
  request->cBuffers = bufferCount;
  request->cbBuffer = bufferSize;
  D_ALLOCATOR_PROPERTIES actual{};
  return allocator->SetProperties(request, &actual);
}

TestSourceFilter::TestSourceFilter()
    : D_CBaseFilter("Test source", nullptr, &lock, TestGuid(90)), pin(this, nullptr) {
  InitializeCriticalSection(&lock);
}

TestSourceFilter::~TestSourceFilter() { DeleteCriticalSection(&lock); }

// ---- Sink ---------------------------------------------------------------------------

TestInputPin::TestInputPin(TestSinkFilter* filter, HRESULT* result, LPCWSTR name)
    : D_CBaseInputPin("Test input", filter, &filter->lock, result, name) {}

HRESULT TestInputPin::CheckMediaType(const D_CMediaType* type) {
  return type->majortype == acceptedMajor ? S_OK : S_FALSE;
}

HRESULT TestInputPin::GetMediaType(int position, D_CMediaType* type) {
  if (position < 0) return E_INVALIDARG;
  if (position >= static_cast<int>(proposed.size())) return D_VFW_S_NO_MORE_ITEMS;
  *type = proposed[static_cast<std::size_t>(position)];
  return S_OK;
}

HRESULT TestInputPin::GetAllocatorRequirements(D_ALLOCATOR_PROPERTIES* properties) {
  if (!hasRequirements) return E_NOTIMPL;
  *properties = requirements;
  return S_OK;
}

HRESULT TestInputPin::Receive(D_IMediaSample* sample) {
  const HRESULT result = D_CBaseInputPin::Receive(sample);
  if (result == S_OK) ++received;
  return result;
}

HRESULT TestInputPin::EndOfStream() {
  ++endOfStreams;
  return S_OK;
}

TestSinkFilter::TestSinkFilter() : D_CBaseFilter("Test sink", nullptr, &lock, TestGuid(91)) {
  InitializeCriticalSection(&lock);
  AddPin(u"In");
}

TestSinkFilter::~TestSinkFilter() {
  for (TestInputPin* pin : pins) delete pin;
  DeleteCriticalSection(&lock);
}

TestInputPin* TestSinkFilter::AddPin(LPCWSTR name) {
  auto* pin = new TestInputPin(this, nullptr, name);
  pins.push_back(pin);
  IncrementPinVersion();
  return pin;
}

// ---- Clock --------------------------------------------------------------------------

CRITICAL_SECTION* ManualClock::lock() { return &lock_.section; }

HRESULT ManualClock::QueryInterface(REFIID iid, void** object) {
  if (iid == D_IID_IReferenceClock || iid == IID_IUnknown) {
    *object = this;
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT ManualClock::GetTime(D_REFERENCE_TIME* time) {
  D_CAutoLock hold(lock());
  *time = now;
  return S_OK;
}

HRESULT ManualClock::AdviseTime(D_REFERENCE_TIME base, D_REFERENCE_TIME stream, D_HEVENT event,
                                DWORD_PTR* cookie) {
  D_CAutoLock hold(lock());
  *cookie = nextCookie++;
  const auto handle = reinterpret_cast<HANDLE>(event);
  if (base + stream <= now) {
    SetEvent(handle);
  } else {
    advises.push_back({base + stream, handle, *cookie});
  }
  return S_OK;
}

HRESULT ManualClock::Unadvise(DWORD_PTR cookie) {
  D_CAutoLock hold(lock());
  for (auto it = advises.begin(); it != advises.end(); ++it) {
    if (it->cookie == cookie) {
      advises.erase(it);
      return S_OK;
    }
  }
  return S_FALSE;
}

void ManualClock::SetTime(D_REFERENCE_TIME time) {
  D_CAutoLock hold(lock());
  now = time;
  for (auto it = advises.begin(); it != advises.end();) {
    if (it->due <= now) {
      SetEvent(it->event);
      it = advises.erase(it);
    } else {
      ++it;
    }
  }
}

int ManualClock::PendingAdvises() const {
  D_CAutoLock hold(const_cast<ManualClock*>(this)->lock());
  return static_cast<int>(advises.size());
}

// ---- Graph --------------------------------------------------------------------------

HRESULT RecordingGraph::QueryInterface(REFIID iid, void** object) {
  if (iid == D_IID_IFilterGraph || iid == IID_IUnknown) {
    *object = static_cast<D_IFilterGraph*>(this);
    return S_OK;
  }
  if (iid == D_IID_IMediaEventSink) {
    *object = static_cast<D_IMediaEventSink*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT RecordingGraph::Notify(LONG code, LONG_PTR parameter1, LONG_PTR parameter2) {
  const std::lock_guard<std::mutex> hold(mutex_);
  events.push_back({code, parameter1, parameter2});
  return S_OK;
}

int RecordingGraph::Count(LONG code) const {
  const std::lock_guard<std::mutex> hold(mutex_);
  int count = 0;
  for (const Event& event : events) count += event.code == code ? 1 : 0;
  return count;
}

}  // namespace wqtest
