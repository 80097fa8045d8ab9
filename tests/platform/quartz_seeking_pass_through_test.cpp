#include <gtest/gtest.h>

#include "platform/dshow.h"
#include "platform/windows.h"

namespace {

// A pin that does nothing but answer ConnectedTo; counted, never freed.
class TestPin : public D_IPin {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == D_IID_IPin) {
      *object = static_cast<D_IPin*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references; }
  ULONG Release() override { return --references; }
  HRESULT Connect(D_IPin*, const D_AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
  HRESULT ReceiveConnection(D_IPin*, const D_AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
  HRESULT Disconnect() override { return E_NOTIMPL; }
  HRESULT ConnectedTo(D_IPin** pin) override {
    *pin = peer;
    if (peer == nullptr) return D_VFW_E_NOT_CONNECTED;
    peer->AddRef();
    return S_OK;
  }
  HRESULT ConnectionMediaType(D_AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
  HRESULT QueryPinInfo(D_PIN_INFO*) override { return E_NOTIMPL; }
  HRESULT QueryDirection(D_PIN_DIRECTION*) override { return E_NOTIMPL; }
  HRESULT QueryId(LPWSTR*) override { return E_NOTIMPL; }
  HRESULT QueryAccept(const D_AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
  HRESULT EnumMediaTypes(D_IEnumMediaTypes**) override { return E_NOTIMPL; }
  HRESULT QueryInternalConnections(D_IPin**, ULONG*) override { return E_NOTIMPL; }
  HRESULT EndOfStream() override { return E_NOTIMPL; }
  HRESULT BeginFlush() override { return E_NOTIMPL; }
  HRESULT EndFlush() override { return E_NOTIMPL; }
  HRESULT NewSegment(D_REFERENCE_TIME, D_REFERENCE_TIME, double) override { return E_NOTIMPL; }

  D_IPin* peer = nullptr;
  ULONG references = 1;
};

// An output pin upstream that can seek: it records what it was told.
class SeekingPin final : public TestPin, public D_IMediaSeeking {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (iid == D_IID_IMediaSeeking && can_seek) {
      *object = static_cast<D_IMediaSeeking*>(this);
      AddRef();
      return S_OK;
    }
    return TestPin::QueryInterface(iid, object);
  }
  ULONG AddRef() override { return TestPin::AddRef(); }
  ULONG Release() override { return TestPin::Release(); }
  HRESULT GetCapabilities(DWORD* capabilities) override {
    *capabilities = D_AM_SEEKING_CanSeekAbsolute | D_AM_SEEKING_CanGetDuration;
    return S_OK;
  }
  HRESULT CheckCapabilities(DWORD*) override { return E_NOTIMPL; }
  HRESULT IsFormatSupported(const GUID*) override { return E_NOTIMPL; }
  HRESULT QueryPreferredFormat(GUID*) override { return E_NOTIMPL; }
  HRESULT GetTimeFormat(GUID*) override { return E_NOTIMPL; }
  HRESULT IsUsingTimeFormat(const GUID*) override { return E_NOTIMPL; }
  HRESULT SetTimeFormat(const GUID*) override { return E_NOTIMPL; }
  HRESULT GetDuration(LONGLONG* duration) override {
    *duration = 50'000'000;
    return S_OK;
  }
  HRESULT GetStopPosition(LONGLONG*) override { return E_NOTIMPL; }
  HRESULT GetCurrentPosition(LONGLONG*) override { return E_NOTIMPL; }
  HRESULT ConvertTimeFormat(LONGLONG*, const GUID*, LONGLONG, const GUID*) override { return E_NOTIMPL; }
  HRESULT SetPositions(LONGLONG* current, DWORD current_flags, LONGLONG* stop, DWORD stop_flags) override {
    set_current = current ? *current : -1;
    set_current_flags = current_flags;
    set_stop = stop ? *stop : -1;
    set_stop_flags = stop_flags;
    return S_FALSE;
  }
  HRESULT GetPositions(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
  HRESULT GetAvailable(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
  HRESULT SetRate(double value) override {
    rate = value;
    return S_OK;
  }
  HRESULT GetRate(double*) override { return E_NOTIMPL; }
  HRESULT GetPreroll(LONGLONG*) override { return E_NOTIMPL; }

  bool can_seek = true;
  LONGLONG set_current = 0, set_stop = 0;
  DWORD set_current_flags = 0, set_stop_flags = 0;
  double rate = 0;
};

// The filter that aggregates the pass-through: it answers what its inner
// object answers, under its own identity.
class OuterFilter final : public IUnknown {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown) {
      *object = this;
      AddRef();
      return S_OK;
    }
    return inner ? inner->QueryInterface(iid, object) : E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references; }
  ULONG Release() override { return --references; }

  IUnknown* inner = nullptr;
  ULONG references = 1;
};

class SeekingPassThruTest : public testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    ASSERT_EQ(CoCreateInstance(D_CLSID_SeekingPassThru, &filter_, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&filter_.inner)),
              S_OK);
  }
  void TearDown() override {
    EXPECT_EQ(filter_.inner->Release(), 0u);
    EXPECT_EQ(filter_.references, 1u);  // every reference taken through it came back
    CoUninitialize();
  }

  OuterFilter filter_;
  TestPin input_;
  SeekingPin upstream_;
};

TEST_F(SeekingPassThruTest, SeeksThroughThePinUpstreamOfTheInputOnceInitialised) {
  void* seeking = nullptr;
  EXPECT_EQ(filter_.QueryInterface(D_IID_IMediaSeeking, &seeking), E_NOINTERFACE);
  D_ISeekingPassThru* pass_thru = nullptr;
  ASSERT_EQ(filter_.QueryInterface(D_IID_ISeekingPassThru, reinterpret_cast<void**>(&pass_thru)), S_OK);
  EXPECT_EQ(filter_.references, 2u);  // the interface counts on the filter
  EXPECT_EQ(pass_thru->Init(FALSE, nullptr), E_POINTER);
  ASSERT_EQ(pass_thru->Init(FALSE, &input_), S_OK);
  EXPECT_EQ(pass_thru->Init(FALSE, &input_), E_FAIL);
  pass_thru->Release();

  D_IMediaSeeking* through = nullptr;
  ASSERT_EQ(filter_.QueryInterface(D_IID_IMediaSeeking, reinterpret_cast<void**>(&through)), S_OK);
  IUnknown* identity = nullptr;
  through->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
  EXPECT_EQ(identity, &filter_);
  identity->Release();

  LONGLONG duration = 0;
  EXPECT_EQ(through->GetDuration(&duration), E_NOTIMPL);  // not connected
  input_.peer = &upstream_;
  ASSERT_EQ(through->GetDuration(&duration), S_OK);
  EXPECT_EQ(duration, 50'000'000);
  DWORD capabilities = 0;
  EXPECT_EQ(through->GetCapabilities(&capabilities), S_OK);
  EXPECT_EQ(capabilities, D_AM_SEEKING_CanSeekAbsolute | D_AM_SEEKING_CanGetDuration);
  LONGLONG current = 20'000'000;
  EXPECT_EQ(through->SetPositions(&current, D_AM_SEEKING_AbsolutePositioning, nullptr, D_AM_SEEKING_NoPositioning),
            S_FALSE);
  EXPECT_EQ(upstream_.set_current, 20'000'000);
  EXPECT_EQ(upstream_.set_current_flags, D_AM_SEEKING_AbsolutePositioning);
  EXPECT_EQ(upstream_.set_stop, -1);
  EXPECT_EQ(through->SetRate(1.5), S_OK);
  EXPECT_EQ(upstream_.rate, 1.5);
  EXPECT_EQ(upstream_.references, 1u);  // every upstream reference let go

  upstream_.can_seek = false;
  EXPECT_EQ(through->GetDuration(&duration), E_NOTIMPL);
  through->Release();
}

TEST(SeekingPassThruAloneTest, WorksUnaggregatedToo) {
  CoInitialize(nullptr);
  D_ISeekingPassThru* pass_thru = nullptr;
  ASSERT_EQ(CoCreateInstance(D_CLSID_SeekingPassThru, nullptr, CLSCTX_INPROC_SERVER, D_IID_ISeekingPassThru,
                             reinterpret_cast<void**>(&pass_thru)),
            S_OK);
  TestPin input;
  SeekingPin upstream;
  input.peer = &upstream;
  ASSERT_EQ(pass_thru->Init(TRUE, &input), S_OK);
  D_IMediaSeeking* seeking = nullptr;
  ASSERT_EQ(pass_thru->QueryInterface(D_IID_IMediaSeeking, reinterpret_cast<void**>(&seeking)), S_OK);
  LONGLONG duration = 0;
  EXPECT_EQ(seeking->GetDuration(&duration), S_OK);
  EXPECT_EQ(duration, 50'000'000);
  EXPECT_EQ(seeking->Release(), 1u);
  EXPECT_EQ(pass_thru->Release(), 0u);
  CoUninitialize();
}

}  // namespace
