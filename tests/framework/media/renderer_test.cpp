// The renderers on a clock the test moves: a sample renders when its
// advise time comes, the end of the stream follows the last sample, a stop
// releases a waiting sample; and the movie renderer's frame layout.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "media/filters/base_renderer.h"
#include "support/wait_until.h"
#include "test_filters.h"

namespace {

using wqtest::MakeType;
using wqtest::TestGuid;

// A result no call gives: the call has not returned yet.
constexpr HRESULT kPending = static_cast<HRESULT>(0x8000000Au);

D_CMediaType VideoType(LONG width, LONG height, const GUID& subtype = D_MEDIASUBTYPE_RGB24) {
  D_VIDEOINFOHEADER info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biBitCount = 24;
  std::vector<BYTE> block(sizeof(info));
  std::memcpy(block.data(), &info, sizeof(info));
  return MakeType(D_MEDIATYPE_Video, subtype, D_FORMAT_VideoInfo, block);
}

TEST(MovieRendererTypeTest, OnlyRgb24VideoWithAVideoHeaderConnects) {
  HRESULT result = E_FAIL;
  D_CMovieRenderer* renderer = D_CMovieRenderer::Create(nullptr, &result);
  ASSERT_EQ(result, S_OK);
  renderer->AsBaseFilter()->AddRef();
  struct Case {
    const char* name;
    D_CMediaType type;
    HRESULT result;
  };
  const Case cases[] = {
      {"RGB24 video", VideoType(320, 240), S_OK},
      {"RGB32 video", VideoType(320, 240, D_MEDIASUBTYPE_RGB32), E_FAIL},
      {"audio with a video header", MakeType(D_MEDIATYPE_Audio, D_MEDIASUBTYPE_RGB24, D_FORMAT_VideoInfo,
                                             std::vector<BYTE>(sizeof(D_VIDEOINFOHEADER))),
       E_FAIL},
      {"a wave format", MakeType(D_MEDIATYPE_Video, D_MEDIASUBTYPE_RGB24, D_FORMAT_WaveFormatEx), E_INVALIDARG},
  };
  for (const Case& c : cases) EXPECT_EQ(renderer->CheckMediaType(&c.type), c.result) << c.name;
  EXPECT_EQ(renderer->CheckMediaType(nullptr), E_POINTER);
  renderer->AsBaseFilter()->Release();
}

class RendererTest : public wqtest::FilterTest {
 protected:
  void SetUp() override {
    FilterTest::SetUp();
    HRESULT result = S_OK;
    renderer_ = D_CMovieRenderer::Create(nullptr, &result);
    renderer_->AsBaseFilter()->AddRef();
    source_ = new wqtest::TestSourceFilter;
    source_->AsBaseFilter()->AddRef();
    source_->pin.bufferSize = 4 * 3 * 2;
    renderer_->JoinFilterGraph(&graph_, u"MovieRenderer");
  }
  void TearDown() override {
    renderer_->Stop();
    source_->Stop();
    source_->pin.Disconnect();
    renderer_->GetPin(0)->Disconnect();
    renderer_->SetSyncSource(nullptr);
    renderer_->JoinFilterGraph(nullptr, nullptr);
    renderer_->AsBaseFilter()->Release();
    source_->AsBaseFilter()->Release();
    EXPECT_EQ(clock_.references, 1);
    FilterTest::TearDown();
  }
  void Connect(LONG width, LONG height) {
    source_->pin.proposed = {VideoType(width, height)};
    ASSERT_EQ(source_->pin.AsPin()->Connect(renderer_->GetPin(0)->AsPin(), nullptr), S_OK);
  }
  D_IMediaSample* Frame(D_REFERENCE_TIME start, D_REFERENCE_TIME stop, BYTE first) {
    D_IMediaSample* sample = nullptr;
    EXPECT_EQ(source_->pin.GetDeliveryBuffer(&sample, nullptr, nullptr, 0), S_OK);
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    for (LONG i = 0; i < sample->GetSize(); ++i) data[i] = static_cast<BYTE>(first + i);
    sample->SetTime(&start, &stop);
    return sample;
  }
  // Delivers on a streaming thread of its own, as a source does.
  std::thread Stream(D_IMediaSample* sample, std::atomic<HRESULT>* result) {
    return std::thread([this, sample, result] {
      *result = source_->pin.Deliver(sample);
      sample->Release();
    });
  }

  wqtest::RecordingGraph graph_;
  wqtest::ManualClock clock_;
  D_CMovieRenderer* renderer_ = nullptr;
  wqtest::TestSourceFilter* source_ = nullptr;
};

TEST_F(RendererTest, TheFrameBufferFollowsTheMediaType) {
  struct Case {
    LONG width, height;
    LONG pitch;
    LONG bottomUp;
  };
  for (const Case& c : {Case{320, 240, 960, 1}, Case{321, 240, 964, 1}, Case{4, -2, 12, 0}}) {
    const D_CMediaType type = VideoType(c.width, c.height);
    ASSERT_EQ(renderer_->SetMediaType(&type), S_OK);
    EXPECT_EQ(renderer_->framePitch, c.pitch) << c.width;
    EXPECT_EQ(renderer_->bottomUp, c.bottomUp);
    EXPECT_EQ(renderer_->frameHeight, c.height < 0 ? -c.height : c.height);
  }
  const D_CMediaType empty = VideoType(0, 10);
  EXPECT_EQ(renderer_->SetMediaType(&empty), E_INVALIDARG);
}

TEST_F(RendererTest, WithoutAClockASampleRendersAtOnceAndRowsAreTurned) {
  Connect(4, 2);
  ASSERT_EQ(renderer_->Run(0), S_OK);
  ASSERT_EQ(source_->Run(0), S_OK);
  D_IMediaSample* sample = Frame(0, 100, 0);
  EXPECT_EQ(source_->pin.Deliver(sample), S_OK);
  sample->Release();
  EXPECT_EQ(renderer_->newFrame, 1);
  // Bottom-up rows come out top-down.
  EXPECT_EQ(renderer_->frameBuffer[0], 12);
  EXPECT_EQ(renderer_->frameBuffer[12], 0);
  // A short sample gives only the rows it holds.
  renderer_->newFrame = 0;
  sample = Frame(100, 200, 100);
  sample->SetActualDataLength(13);
  EXPECT_EQ(source_->pin.Deliver(sample), S_OK);
  sample->Release();
  EXPECT_EQ(renderer_->frameBuffer[12], 100);
  EXPECT_EQ(renderer_->frameBuffer[0], 12) << "the missing row stays as it was";
}

TEST_F(RendererTest, ASampleWaitsForItsAdviseTimeOnTheClock) {
  Connect(4, 2);
  ASSERT_EQ(renderer_->SetSyncSource(&clock_), S_OK);
  ASSERT_EQ(renderer_->Run(0), S_OK);
  ASSERT_EQ(source_->Run(0), S_OK);
  std::atomic<HRESULT> result{kPending};
  std::thread streaming = Stream(Frame(1000000, 1400000, 0), &result);
  ASSERT_TRUE(wqtest::WaitUntil([&] { return clock_.PendingAdvises() == 1; }));
  const D_REFERENCE_TIME due = clock_.advises[0].due;
  EXPECT_LE(due, 1000000);
  clock_.SetTime(due - 1);
  EXPECT_EQ(renderer_->newFrame, 0);
  EXPECT_EQ(result, kPending) << "the streaming thread waits in the renderer";
  clock_.SetTime(due);
  streaming.join();
  EXPECT_EQ(result, S_OK);
  EXPECT_EQ(renderer_->newFrame, 1);
  // The end of the stream comes within 50 ms of the last stop time: at once.
  clock_.SetTime(1000000);
  ASSERT_EQ(source_->pin.DeliverEndOfStream(), S_OK);
  EXPECT_EQ(graph_.Count(D_EC_COMPLETE), 1);
  EXPECT_TRUE(renderer_->IsEndOfStreamDelivered());
}

TEST_F(RendererTest, AnEndOfStreamDueLaterComesFromATimer) {
  Connect(4, 2);
  ASSERT_EQ(renderer_->SetSyncSource(&clock_), S_OK);
  ASSERT_EQ(renderer_->Run(0), S_OK);
  ASSERT_EQ(source_->Run(0), S_OK);
  std::atomic<HRESULT> result{kPending};
  std::thread streaming = Stream(Frame(0, 600000, 0), &result);
  ASSERT_TRUE(wqtest::WaitUntil([&] { return clock_.PendingAdvises() == 1 || result == S_OK; }));
  clock_.SetTime(0);
  streaming.join();
  ASSERT_EQ(result, S_OK);
  ASSERT_EQ(source_->pin.DeliverEndOfStream(), S_OK);
  EXPECT_EQ(graph_.Count(D_EC_COMPLETE), 0) << "60 ms early: a timer sends it";
  clock_.SetTime(600000);
  EXPECT_TRUE(wqtest::WaitUntil([&] { return graph_.Count(D_EC_COMPLETE) == 1; }));
}

TEST_F(RendererTest, AStopReleasesASampleWaitingForItsTime) {
  Connect(4, 2);
  ASSERT_EQ(renderer_->SetSyncSource(&clock_), S_OK);
  ASSERT_EQ(renderer_->Run(0), S_OK);
  ASSERT_EQ(source_->Run(0), S_OK);
  std::atomic<HRESULT> result{kPending};
  std::thread streaming = Stream(Frame(5000000, 5400000, 0), &result);
  ASSERT_TRUE(wqtest::WaitUntil([&] { return clock_.PendingAdvises() == 1; }));
  ASSERT_EQ(renderer_->Stop(), S_OK);
  streaming.join();
  EXPECT_EQ(result, S_OK);
  EXPECT_EQ(renderer_->newFrame, 0);
  EXPECT_EQ(clock_.PendingAdvises(), 0) << "the advise request was cancelled";
  EXPECT_FALSE(renderer_->HaveCurrentSample());
}

TEST_F(RendererTest, APausedRendererIsBetweenStatesUntilItsFirstSample) {
  Connect(4, 2);
  EXPECT_EQ(renderer_->Pause(), S_FALSE);
  D_FILTER_STATE state = D_State_Stopped;
  EXPECT_EQ(renderer_->GetState(0, &state), D_VFW_S_STATE_INTERMEDIATE);
  EXPECT_EQ(state, D_State_Paused);
  ASSERT_EQ(source_->Pause(), S_OK);
  std::atomic<HRESULT> result{kPending};
  std::thread streaming = Stream(Frame(0, 100, 0), &result);
  EXPECT_EQ(renderer_->GetState(20000, &state), S_OK);
  EXPECT_TRUE(renderer_->HaveCurrentSample());
  ASSERT_EQ(renderer_->Run(0), S_OK) << "running draws the sample held in pause";
  streaming.join();
  EXPECT_EQ(renderer_->newFrame, 1);
}

TEST_F(RendererTest, ALateSampleDrawsAtOnceAndCounts) {
  Connect(4, 2);
  ASSERT_EQ(renderer_->SetSyncSource(&clock_), S_OK);
  clock_.SetTime(5000000);
  ASSERT_EQ(renderer_->Run(0), S_OK);
  ASSERT_EQ(source_->Run(0), S_OK);
  D_IMediaSample* sample = Frame(1000000, 1400000, 0);
  EXPECT_EQ(source_->pin.Deliver(sample), S_OK) << "no wait for a time already past";
  sample->Release();
  EXPECT_EQ(renderer_->newFrame, 1);
  EXPECT_EQ(clock_.PendingAdvises(), 0);
  D_IQualProp* statistics = nullptr;
  ASSERT_EQ(renderer_->AsBaseFilter()->QueryInterface(D_IID_IQualProp, reinterpret_cast<void**>(&statistics)), S_OK);
  int value = -1;
  EXPECT_EQ(statistics->get_FramesDrawn(&value), S_OK);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(statistics->get_FramesDroppedInRenderer(&value), S_OK);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(statistics->get_AvgSyncOffset(&value), S_OK);
  EXPECT_EQ(value, 0) << "one frame gives no offset yet";
  statistics->Release();
}

TEST_F(RendererTest, AQualityMessageBelowFullRateThrottlesDrawing) {
  D_IQualityControl* quality = nullptr;
  ASSERT_EQ(renderer_->AsBaseFilter()->QueryInterface(D_IID_IQualityControl, reinterpret_cast<void**>(&quality)),
            S_OK);
  struct Case {
    LONG proportion;
    LONG throttle;
  };
  for (const Case& c : {Case{500, 253028}, Case{999, 388880000 / 1166 - 330000}, Case{1000, 0}, Case{1500, 0}}) {
    EXPECT_EQ(quality->Notify(renderer_->AsBaseFilter(), D_Quality{D_Famine, c.proportion, 0, 0}), S_OK);
    EXPECT_EQ(renderer_->Throttle(), c.throttle) << c.proportion;
  }
  quality->Release();
}

TEST_F(RendererTest, ASampleEndingBeforeItStartsIsRefused) {
  Connect(4, 2);
  ASSERT_EQ(renderer_->SetSyncSource(&clock_), S_OK);
  ASSERT_EQ(source_->Pause(), S_OK);
  D_IMediaSample* sample = Frame(500, 100, 0);
  D_REFERENCE_TIME start = 0;
  D_REFERENCE_TIME stop = 0;
  EXPECT_EQ(renderer_->GetSampleTimes(sample, &start, &stop), D_VFW_E_START_TIME_AFTER_END);
  sample->Release();
}

TEST_F(RendererTest, PositionQuestionsGoUpstream) {
  Connect(4, 2);
  D_IMediaSeeking* seeking = nullptr;
  ASSERT_EQ(renderer_->AsBaseFilter()->QueryInterface(D_IID_IMediaSeeking, reinterpret_cast<void**>(&seeking)),
            S_OK);
  LONGLONG position = 0;
  EXPECT_EQ(seeking->GetDuration(&position), E_NOTIMPL) << "the test source cannot seek";
  EXPECT_EQ(seeking->GetCurrentPosition(&position), E_NOTIMPL);
  EXPECT_EQ(seeking->SetRate(0.0), E_INVALIDARG);
  seeking->Release();
}

}  // namespace
