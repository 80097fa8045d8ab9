// The sample grabber between a test source and a test sink: accepted
// types, the callback with segment times and the type-changed flag, and
// the delivery rules.
#include <gtest/gtest.h>

#include "media/filters/sample_grabber.h"
#include "test_filters.h"

namespace {

using wqtest::MakeType;
using wqtest::TestGuid;

struct Grabbed {
  D_REFERENCE_TIME start;
  D_REFERENCE_TIME stop;
  BOOL typeChanged;
  LONG length;
};

struct CallbackLog {
  std::vector<Grabbed> calls;
  HRESULT answer = S_OK;
};

HRESULT Record(D_IMediaSample* sample, D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop, BOOL typeChanged,
               void* context) {
  auto* log = static_cast<CallbackLog*>(context);
  log->calls.push_back({*start, *stop, typeChanged, sample->GetActualDataLength()});
  return log->answer;
}

class SampleGrabberTest : public wqtest::FilterTest {
 protected:
  void SetUp() override {
    FilterTest::SetUp();
    HRESULT result = S_OK;
    grabber_ = D_CSampleGrabber::Create(nullptr, &result);
    ASSERT_NE(grabber_, nullptr);
    EXPECT_EQ(grabber_->GetReferenceCount(), 0);
    grabber_->AsBaseFilter()->AddRef();
    source_ = new wqtest::TestSourceFilter;
    source_->AsBaseFilter()->AddRef();
    sink_ = new wqtest::TestSinkFilter;
    sink_->AsBaseFilter()->AddRef();
    source_->pin.proposed = {MakeType(TestGuid(7), TestGuid(2)), MakeType(TestGuid(1), TestGuid(3))};
    sink_->Input().acceptedMajor = TestGuid(1);
    for (D_CBaseFilter* filter : {static_cast<D_CBaseFilter*>(grabber_), static_cast<D_CBaseFilter*>(source_),
                                  static_cast<D_CBaseFilter*>(sink_)})
      filter->JoinFilterGraph(&graph_, nullptr);
  }
  void TearDown() override {
    for (D_CBaseFilter* filter : {static_cast<D_CBaseFilter*>(source_), static_cast<D_CBaseFilter*>(grabber_),
                                  static_cast<D_CBaseFilter*>(sink_)})
      filter->Stop();
    for (D_CBasePin* pin : {static_cast<D_CBasePin*>(&source_->pin), grabber_->GetPin(0), grabber_->GetPin(1),
                            static_cast<D_CBasePin*>(&sink_->Input())})
      pin->Disconnect();
    grabber_->AsBaseFilter()->Release();
    source_->AsBaseFilter()->Release();
    sink_->AsBaseFilter()->Release();
    FilterTest::TearDown();
  }
  void ConnectAndRun() {
    const D_CMediaType accepted = MakeType(TestGuid(1), GUID_NULL);
    ASSERT_EQ(grabber_->SetAcceptedMediaType(&accepted), S_OK);
    ASSERT_EQ(source_->pin.AsPin()->Connect(grabber_->GetPin(0)->AsPin(), nullptr), S_OK);
    ASSERT_EQ(grabber_->GetPin(1)->AsPin()->Connect(sink_->Input().AsPin(), nullptr), S_OK);
    ASSERT_EQ(sink_->Run(0), S_OK);
    ASSERT_EQ(grabber_->Run(0), S_OK);
    ASSERT_EQ(source_->Run(0), S_OK);
  }
  HRESULT Send(D_REFERENCE_TIME start, D_REFERENCE_TIME stop, LONG length) {
    D_IMediaSample* sample = nullptr;
    HRESULT result = source_->pin.GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
    if (FAILED(result)) return result;
    sample->SetTime(&start, &stop);
    sample->SetActualDataLength(length);
    result = source_->pin.Deliver(sample);
    sample->Release();
    return result;
  }

  wqtest::RecordingGraph graph_;
  D_CSampleGrabber* grabber_ = nullptr;
  wqtest::TestSourceFilter* source_ = nullptr;
  wqtest::TestSinkFilter* sink_ = nullptr;
};

TEST_F(SampleGrabberTest, TheAcceptedTypeDecidesWhatConnects) {
  const D_CMediaType input = MakeType(TestGuid(1), TestGuid(2), TestGuid(3));
  struct Case {
    const char* name;
    D_CMediaType accepted;
    HRESULT result;
  };
  const Case cases[] = {
      {"empty", D_CMediaType(), S_OK},
      {"same major", MakeType(TestGuid(1), GUID_NULL), S_OK},
      {"other major", MakeType(TestGuid(4), GUID_NULL), D_VFW_E_INVALID_MEDIA_TYPE},
      {"same subtype", MakeType(TestGuid(1), TestGuid(2)), S_OK},
      {"other subtype", MakeType(TestGuid(1), TestGuid(4)), D_VFW_E_INVALID_MEDIA_TYPE},
      {"same format", MakeType(TestGuid(1), TestGuid(2), TestGuid(3)), S_OK},
      {"other format", MakeType(TestGuid(1), TestGuid(2), TestGuid(4)), D_VFW_E_INVALID_MEDIA_TYPE},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(grabber_->SetAcceptedMediaType(&c.accepted), S_OK);
    EXPECT_EQ(grabber_->CheckInputType(&input), c.result) << c.name;
  }
  EXPECT_EQ(grabber_->SetAcceptedMediaType(nullptr), S_OK);
  EXPECT_EQ(grabber_->CheckInputType(&input), S_OK);
  EXPECT_EQ(grabber_->CheckInputType(nullptr), E_POINTER);
}

TEST_F(SampleGrabberTest, ConnectionRulesOfTheGrabberInterface) {
  D_ISampleGrabber* grabber = nullptr;
  ASSERT_EQ(grabber_->AsBaseFilter()->QueryInterface(kSampleGrabberInterfaceId, reinterpret_cast<void**>(&grabber)),
            S_OK);
  D_CMediaType connected;
  EXPECT_EQ(grabber->GetConnectedMediaType(&connected), D_VFW_E_NOT_CONNECTED);
  BYTE buffer[64];
  EXPECT_EQ(grabber->SetDeliveryBuffer(D_ALLOCATOR_PROPERTIES{2, 64, 1, 0}, buffer), E_INVALIDARG);
  EXPECT_EQ(grabber->SetDeliveryBuffer(D_ALLOCATOR_PROPERTIES{1, 64, 1, 0}, nullptr), E_POINTER);
  ConnectAndRun();
  EXPECT_EQ(grabber->GetConnectedMediaType(&connected), S_OK);
  EXPECT_EQ(connected.subtype, TestGuid(3));
  EXPECT_EQ(grabber->SetDeliveryBuffer(D_ALLOCATOR_PROPERTIES{1, 64, 1, 0}, buffer), E_INVALIDARG);
  EXPECT_EQ(graph_.reconnects, 1) << "the output's connection asks for the input's to be redone";
  grabber->Release();
}

TEST_F(SampleGrabberTest, TheCallbackSeesEachSampleWithSegmentTimes) {
  CallbackLog log;
  ConnectAndRun();
  ASSERT_EQ(grabber_->SetCallback(&Record, &log), S_OK);
  ASSERT_EQ(grabber_->GetPin(0)->AsPin()->NewSegment(5000, 90000, 1.0), S_OK);
  EXPECT_EQ(Send(100, 200, 16), S_OK);
  EXPECT_EQ(Send(200, 300, 8), S_OK);
  ASSERT_EQ(log.calls.size(), 2u);
  EXPECT_EQ(log.calls[0].start, 5100);
  EXPECT_EQ(log.calls[0].stop, 5200);
  EXPECT_EQ(log.calls[0].typeChanged, TRUE) << "the first sample after the connection's type";
  EXPECT_EQ(log.calls[1].typeChanged, FALSE);
  EXPECT_EQ(log.calls[1].length, 8);
  EXPECT_EQ(sink_->Input().received, 2);
  // A callback's S_FALSE keeps that sample from going on, without an error.
  log.answer = S_FALSE;
  EXPECT_EQ(Send(300, 400, 4), S_FALSE);
  EXPECT_EQ(sink_->Input().received, 2);
  log.answer = S_OK;
  ASSERT_EQ(grabber_->SetCallback(nullptr, nullptr), S_OK);
  EXPECT_EQ(Send(400, 500, 4), S_OK);
  EXPECT_EQ(log.calls.size(), 3u);
  EXPECT_EQ(sink_->Input().received, 3);
}

TEST_F(SampleGrabberTest, ADeliveryBufferOfTheOwnersTakesTheSamples) {
  alignas(16) static BYTE buffer[64 + 4];
  ASSERT_EQ(grabber_->SetDeliveryBuffer(D_ALLOCATOR_PROPERTIES{1, 64, 1, 4}, buffer), S_OK);
  source_->pin.bufferCount = 1;
  source_->pin.bufferSize = 32;
  ASSERT_EQ(source_->pin.AsPin()->Connect(grabber_->GetPin(0)->AsPin(), nullptr), S_OK);
  EXPECT_EQ(source_->pin.seenRequest.cbPrefix, 4) << "the owner's properties are the requirements";
  D_ALLOCATOR_PROPERTIES actual{};
  ASSERT_EQ(source_->pin.Allocator()->GetProperties(&actual), S_OK);
  EXPECT_EQ(actual.cbBuffer, 64);
  ASSERT_EQ(source_->Pause(), S_OK);
  D_IMediaSample* sample = nullptr;
  ASSERT_EQ(source_->pin.GetDeliveryBuffer(&sample, nullptr, nullptr, 0), S_OK);
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  EXPECT_EQ(data, buffer + 4);
  sample->Release();
  // A larger pool than the owner's buffer holds is refused.
  D_ALLOCATOR_PROPERTIES tooMany{2, 64, 1, 4};
  ASSERT_EQ(source_->Stop(), S_OK);
  EXPECT_EQ(source_->pin.Allocator()->SetProperties(&tooMany, &actual), E_FAIL);
  D_ALLOCATOR_PROPERTIES otherAlignment{1, 64, 2, 4};
  EXPECT_EQ(source_->pin.Allocator()->SetProperties(&otherAlignment, &actual), D_VFW_E_BADALIGN);
}

}  // namespace
