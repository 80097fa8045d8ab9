// The position pass-through: every question goes to the pin upstream, and
// the renderer's kind answers the current position from the sample it
// renders until it is reset.
#include <gtest/gtest.h>

#include "media/filters/allocator.h"
#include "media/filters/position_pass_through.h"
#include "test_filters.h"

namespace {

// An output pin that can seek: positions in 100 ns units, a stop of 99.
class SeekingPin : public wqtest::TestOutputPin {
 public:
  explicit SeekingPin(wqtest::TestSourceFilter* filter) : TestOutputPin(filter, nullptr) {}
  HRESULT NonDelegatingQueryInterface(REFIID iid, void** object) override {
    if (iid == D_IID_IMediaSeeking) return ReturnInterface(&seeking_, object);
    return TestOutputPin::NonDelegatingQueryInterface(iid, object);
  }
  double rate = 0;

 private:
  class Seeking final : public D_IMediaSeeking {
   public:
    explicit Seeking(SeekingPin* pin) : pin_(pin) {}
    HRESULT QueryInterface(REFIID iid, void** object) override { return pin_->QueryInterface(iid, object); }
    ULONG AddRef() override { return pin_->AddRef(); }
    ULONG Release() override { return pin_->Release(); }
    HRESULT GetCapabilities(DWORD*) override { return E_NOTIMPL; }
    HRESULT CheckCapabilities(DWORD*) override { return E_NOTIMPL; }
    HRESULT IsFormatSupported(const GUID*) override { return E_NOTIMPL; }
    HRESULT QueryPreferredFormat(GUID*) override { return E_NOTIMPL; }
    HRESULT GetTimeFormat(GUID*) override { return E_NOTIMPL; }
    HRESULT IsUsingTimeFormat(const GUID*) override { return E_NOTIMPL; }
    HRESULT SetTimeFormat(const GUID*) override { return E_NOTIMPL; }
    HRESULT GetDuration(LONGLONG* duration) override {
      *duration = 500;
      return S_OK;
    }
    HRESULT GetStopPosition(LONGLONG* stop) override {
      *stop = 99;
      return S_OK;
    }
    HRESULT GetCurrentPosition(LONGLONG* current) override {
      *current = 42;
      return S_OK;
    }
    HRESULT ConvertTimeFormat(LONGLONG* target, const GUID*, LONGLONG source, const GUID*) override {
      *target = source;
      return S_OK;
    }
    HRESULT SetPositions(LONGLONG*, DWORD, LONGLONG*, DWORD) override { return E_NOTIMPL; }
    HRESULT GetPositions(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
    HRESULT GetAvailable(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
    HRESULT SetRate(double rate) override {
      pin_->rate = rate;
      return S_OK;
    }
    HRESULT GetRate(double*) override { return E_NOTIMPL; }
    HRESULT GetPreroll(LONGLONG*) override { return E_NOTIMPL; }

   private:
    SeekingPin* pin_;
  };
  Seeking seeking_{this};
};

class PositionTest : public wqtest::FilterTest {
 protected:
  void SetUp() override {
    FilterTest::SetUp();
    source_ = new wqtest::TestSourceFilter;
    source_->AsBaseFilter()->AddRef();
    seekingPin_ = new SeekingPin(source_);
    seekingPin_->proposed = {wqtest::MakeType(wqtest::TestGuid(1), wqtest::TestGuid(2))};
    sink_ = new wqtest::TestSinkFilter;
    sink_->AsBaseFilter()->AddRef();
    sink_->Input().acceptedMajor = wqtest::TestGuid(1);
    HRESULT result = S_OK;
    position_ = new D_CRendererPosPassThru("Renderer D_CPosPassThru", nullptr, &result, sink_->Input().AsPin());
    ASSERT_EQ(result, S_OK);
    position_->GetNonDelegatingUnknown()->AddRef();
    ASSERT_EQ(position_->NonDelegatingQueryInterface(D_IID_IMediaSeeking, reinterpret_cast<void**>(&seeking_)), S_OK);
  }
  void TearDown() override {
    seeking_->Release();
    position_->GetNonDelegatingUnknown()->Release();
    seekingPin_->Disconnect();
    sink_->Input().Disconnect();
    delete seekingPin_;
    source_->AsBaseFilter()->Release();
    sink_->AsBaseFilter()->Release();
    FilterTest::TearDown();
  }

  wqtest::TestSourceFilter* source_ = nullptr;
  SeekingPin* seekingPin_ = nullptr;
  wqtest::TestSinkFilter* sink_ = nullptr;
  D_CRendererPosPassThru* position_ = nullptr;
  D_IMediaSeeking* seeking_ = nullptr;
};

TEST_F(PositionTest, WithoutAPeerEveryQuestionIsNotImplemented) {
  LONGLONG value = 0;
  EXPECT_EQ(seeking_->GetDuration(&value), E_NOTIMPL);
  EXPECT_EQ(seeking_->GetCurrentPosition(&value), E_NOTIMPL);
  EXPECT_EQ(seeking_->SetRate(0.0), E_INVALIDARG);
  EXPECT_EQ(position_->EOS(), E_FAIL) << "no sample time was registered";
  D_IMediaPosition* position = nullptr;
  ASSERT_EQ(position_->NonDelegatingQueryInterface(D_IID_IMediaPosition, reinterpret_cast<void**>(&position)), S_OK);
  D_REFTIME length = 0;
  EXPECT_EQ(position->get_Duration(&length), E_NOTIMPL);
  EXPECT_EQ(position->put_Rate(0.0), E_INVALIDARG);
  EXPECT_EQ(position->Invoke(0, D_IID_IMediaPosition, 0, 0, nullptr, nullptr, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);
  position->Release();
}

TEST_F(PositionTest, TheCurrentPositionComesFromTheRenderedSampleUntilReset) {
  ASSERT_EQ(seekingPin_->AsPin()->Connect(sink_->Input().AsPin(), nullptr), S_OK);
  LONGLONG value = 0;
  EXPECT_EQ(seeking_->GetDuration(&value), S_OK);
  EXPECT_EQ(value, 500);
  EXPECT_EQ(seeking_->SetRate(2.0), S_OK);
  EXPECT_EQ(seekingPin_->rate, 2.0);
  EXPECT_EQ(seeking_->GetCurrentPosition(&value), S_OK);
  EXPECT_EQ(value, 42) << "nothing rendered yet: the upstream position";
  HRESULT result = S_OK;
  auto* allocator = new D_CMemAllocator("Samples", nullptr, &result);
  allocator->AsAllocator()->AddRef();
  D_ALLOCATOR_PROPERTIES request{1, 16, 1, 0};
  D_ALLOCATOR_PROPERTIES actual{};
  allocator->SetProperties(&request, &actual);
  ASSERT_EQ(allocator->Commit(), S_OK);
  D_IMediaSample* sample = nullptr;
  ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(position_->RegisterMediaTime(sample), D_VFW_E_SAMPLE_TIME_NOT_SET);
  D_REFERENCE_TIME start = 10000000;
  D_REFERENCE_TIME stop = 10400000;
  sample->SetTime(&start, &stop);
  ASSERT_EQ(position_->RegisterMediaTime(sample), S_OK);
  EXPECT_EQ(seeking_->GetCurrentPosition(&value), S_OK);
  EXPECT_EQ(value, 10000000);
  ASSERT_EQ(position_->EOS(), S_OK);
  EXPECT_EQ(seeking_->GetCurrentPosition(&value), S_OK);
  EXPECT_EQ(value, 99) << "at the end the position is the stop position";
  ASSERT_EQ(position_->ResetMediaTime(), S_OK);
  EXPECT_EQ(seeking_->GetCurrentPosition(&value), S_OK);
  EXPECT_EQ(value, 42);
  sample->Release();
  allocator->Decommit();
  allocator->AsAllocator()->Release();
}

}  // namespace
