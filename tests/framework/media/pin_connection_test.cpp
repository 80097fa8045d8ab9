// Pins between test filters: connection and media-type agreement, the
// allocator hand-shake, state changes and the receive checks.
#include <gtest/gtest.h>

#include "media/filters/allocator.h"
#include "test_filters.h"

namespace {

using wqtest::MakeType;
using wqtest::TestGuid;

class PinConnectionTest : public wqtest::FilterTest {
 protected:
  void SetUp() override {
    FilterTest::SetUp();
    source_ = new wqtest::TestSourceFilter;
    source_->AsBaseFilter()->AddRef();
    sink_ = new wqtest::TestSinkFilter;
    sink_->AsBaseFilter()->AddRef();
    source_->pin.proposed = {MakeType(TestGuid(7), TestGuid(2)), MakeType(TestGuid(1), TestGuid(3))};
    sink_->Input().acceptedMajor = TestGuid(1);
  }
  void TearDown() override {
    source_->Stop();
    sink_->Stop();
    source_->pin.Disconnect();
    sink_->Input().Disconnect();
    source_->AsBaseFilter()->Release();
    sink_->AsBaseFilter()->Release();
    FilterTest::TearDown();
  }
  D_IPin* Out() { return source_->pin.AsPin(); }
  D_IPin* In() { return sink_->Input().AsPin(); }

  wqtest::TestSourceFilter* source_ = nullptr;
  wqtest::TestSinkFilter* sink_ = nullptr;
};

TEST_F(PinConnectionTest, AgreesOnTheFirstTypeTheReceiverAccepts) {
  ASSERT_EQ(Out()->Connect(In(), nullptr), S_OK);
  D_IPin* peer = nullptr;
  ASSERT_EQ(In()->ConnectedTo(&peer), S_OK);
  EXPECT_EQ(peer, Out());
  peer->Release();
  D_CMediaType connected;
  ASSERT_EQ(In()->ConnectionMediaType(&connected), S_OK);
  EXPECT_EQ(connected.subtype, TestGuid(3));
  EXPECT_EQ(Out()->Connect(In(), nullptr), D_VFW_E_ALREADY_CONNECTED);
  // The input pin's allocator was chosen and sized by the output pin.
  ASSERT_NE(source_->pin.Allocator(), nullptr);
  EXPECT_EQ(source_->pin.Allocator(), sink_->Input().Allocator());
  D_ALLOCATOR_PROPERTIES properties{};
  source_->pin.Allocator()->GetProperties(&properties);
  EXPECT_EQ(properties.cbBuffer, 64);
  EXPECT_EQ(properties.cBuffers, 2);
}

TEST_F(PinConnectionTest, RefusalsAndDisconnection) {
  auto* other = new wqtest::TestSinkFilter;
  other->AsBaseFilter()->AddRef();
  EXPECT_EQ(In()->Connect(other->Input().AsPin(), nullptr), D_VFW_E_NO_ACCEPTABLE_TYPES)
      << "two input pins never agree";
  const D_CMediaType full = MakeType(TestGuid(1), TestGuid(3), TestGuid(9));
  EXPECT_EQ(In()->Connect(other->Input().AsPin(), &full), D_VFW_E_INVALID_DIRECTION);
  other->AsBaseFilter()->Release();

  sink_->Input().acceptedMajor = TestGuid(5);
  EXPECT_EQ(Out()->Connect(In(), nullptr), D_VFW_E_NO_ACCEPTABLE_TYPES);
  D_IPin* peer = In();
  EXPECT_EQ(In()->ConnectedTo(&peer), D_VFW_E_NOT_CONNECTED);
  EXPECT_EQ(peer, nullptr);
  EXPECT_EQ(In()->Disconnect(), S_FALSE);
  D_CMediaType none = MakeType(TestGuid(1), TestGuid(1));
  EXPECT_EQ(In()->ConnectionMediaType(&none), D_VFW_E_NOT_CONNECTED);
  EXPECT_EQ(none.majortype, GUID_NULL);

  sink_->Input().acceptedMajor = TestGuid(1);
  const D_CMediaType partial = MakeType(TestGuid(1), GUID_NULL);
  ASSERT_EQ(Out()->Connect(In(), &partial), S_OK);
  EXPECT_EQ(Out()->Disconnect(), S_OK);
  EXPECT_EQ(In()->Disconnect(), S_OK);
  EXPECT_EQ(Out()->Disconnect(), S_FALSE);
}

TEST_F(PinConnectionTest, ARunningFilterRefusesToConnectOrDisconnect) {
  ASSERT_EQ(Out()->Connect(In(), nullptr), S_OK);
  ASSERT_EQ(sink_->Pause(), S_OK);
  EXPECT_EQ(In()->Disconnect(), D_VFW_E_NOT_STOPPED);
  auto* other = new wqtest::TestSourceFilter;
  other->AsBaseFilter()->AddRef();
  other->pin.proposed = source_->pin.proposed;
  EXPECT_EQ(other->pin.AsPin()->Connect(sink_->AddPin(u"Extra")->AsPin(), nullptr), D_VFW_E_NOT_STOPPED);
  other->AsBaseFilter()->Release();
}

TEST_F(PinConnectionTest, AnAlignmentOfZeroIsAskedForAsOne) {
  sink_->Input().hasRequirements = true;
  sink_->Input().requirements = D_ALLOCATOR_PROPERTIES{3, 100, 0, 0};
  ASSERT_EQ(Out()->Connect(In(), nullptr), S_OK);
  EXPECT_EQ(source_->pin.seenRequest.cbAlign, 1);
  EXPECT_EQ(source_->pin.seenRequest.cBuffers, 3);
}

TEST_F(PinConnectionTest, StateChangesCommitAndDecommitTheAllocator) {
  ASSERT_EQ(Out()->Connect(In(), nullptr), S_OK);
  auto* allocator = static_cast<D_IMemAllocator*>(source_->pin.Allocator());
  D_IMediaSample* sample = nullptr;
  EXPECT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), D_VFW_E_NOT_COMMITTED);
  ASSERT_EQ(source_->Pause(), S_OK);
  D_FILTER_STATE state = D_State_Stopped;
  EXPECT_EQ(source_->GetState(0, &state), S_OK);
  EXPECT_EQ(state, D_State_Paused);
  ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
  sample->Release();
  ASSERT_EQ(source_->Run(1234), S_OK);
  EXPECT_EQ(source_->StreamStart(), 1234);
  ASSERT_EQ(source_->Stop(), S_OK);
  EXPECT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), D_VFW_E_NOT_COMMITTED);
}

TEST_F(PinConnectionTest, ReceiveChecksTheStreamingState) {
  ASSERT_EQ(Out()->Connect(In(), nullptr), S_OK);
  ASSERT_EQ(source_->Pause(), S_OK);
  D_IMediaSample* sample = nullptr;
  ASSERT_EQ(source_->pin.GetDeliveryBuffer(&sample, nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(source_->pin.Deliver(sample), D_VFW_E_WRONG_STATE) << "the sink is stopped";
  ASSERT_EQ(sink_->Pause(), S_OK);
  EXPECT_EQ(source_->pin.Deliver(sample), S_OK);
  EXPECT_EQ(In()->BeginFlush(), S_OK);
  EXPECT_EQ(source_->pin.Deliver(sample), S_FALSE);
  EXPECT_EQ(In()->EndFlush(), S_OK);
  EXPECT_EQ(source_->pin.Deliver(sample), S_OK);
  EXPECT_EQ(sink_->Input().received, 2);
  // A sample whose new type the pin refuses ends the stream with an error.
  const D_CMediaType refused = MakeType(TestGuid(8), TestGuid(8));
  sample->SetMediaType(const_cast<D_CMediaType*>(&refused));
  EXPECT_EQ(source_->pin.Deliver(sample), D_VFW_E_INVALIDMEDIATYPE);
  EXPECT_EQ(sink_->Input().endOfStreams, 1);
  EXPECT_EQ(sink_->Input().CheckStreaming(), D_VFW_E_RUNTIME_ERROR);
  sample->Release();
  EXPECT_EQ(source_->pin.DeliverEndOfStream(), S_OK);
  EXPECT_EQ(sink_->Input().endOfStreams, 2);
}

TEST_F(PinConnectionTest, FilterAndPinQueries) {
  D_IPin* found = nullptr;
  EXPECT_EQ(sink_->FindPin(u"In", &found), S_OK);
  EXPECT_EQ(found, In());
  found->Release();
  EXPECT_EQ(sink_->FindPin(u"Nope", &found), D_VFW_E_NOT_FOUND);
  EXPECT_EQ(found, nullptr);
  D_PIN_INFO info{};
  ASSERT_EQ(In()->QueryPinInfo(&info), S_OK);
  EXPECT_EQ(std::u16string(info.achName), u"In");
  EXPECT_EQ(info.dir, D_PINDIR_INPUT);
  EXPECT_EQ(info.pFilter, sink_->AsBaseFilter());
  info.pFilter->Release();
  LPWSTR id = nullptr;
  ASSERT_EQ(Out()->QueryId(&id), S_OK);
  EXPECT_EQ(std::u16string(id), u"Out");
  CoTaskMemFree(id);
  EXPECT_EQ(In()->QueryAccept(&source_->pin.proposed[1]), S_OK);
  EXPECT_EQ(In()->QueryAccept(&source_->pin.proposed[0]), S_FALSE);
  D_IMemInputPin* memory = nullptr;
  ASSERT_EQ(In()->QueryInterface(D_IID_IMemInputPin, reinterpret_cast<void**>(&memory)), S_OK);
  EXPECT_EQ(memory->ReceiveCanBlock(), S_OK) << "a filter without outputs may block";
  memory->Release();
  D_FILTER_INFO filterInfo{};
  ASSERT_EQ(sink_->JoinFilterGraph(nullptr, u"Named sink"), S_OK);
  ASSERT_EQ(sink_->QueryFilterInfo(&filterInfo), S_OK);
  EXPECT_EQ(std::u16string(filterInfo.achName), u"Named sink");
  EXPECT_EQ(filterInfo.pGraph, nullptr);
  EXPECT_EQ(sink_->NotifyEvent(D_EC_COMPLETE, 0, 0), E_NOTIMPL) << "outside a graph nobody listens";
  D_IReferenceClock* clock = nullptr;
  D_REFERENCE_TIME now = 0;
  EXPECT_EQ(sink_->StreamTime(now), D_VFW_E_NO_CLOCK);
  EXPECT_EQ(sink_->GetSyncSource(&clock), S_OK);
  EXPECT_EQ(clock, nullptr);
}

}  // namespace
