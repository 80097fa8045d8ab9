// The memory stream's throttle and ends, the request queue's flush and
// end-of-data rules, and the reader pin's connection and media type.
#include <gtest/gtest.h>

#include <vector>

#include "media/filters/allocator.h"
#include "media/filters/async_reader.h"
#include "platform/control.h"
#include "test_filters.h"

namespace {

std::vector<BYTE> Bytes(int count) {
  std::vector<BYTE> bytes(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<BYTE>(i * 7);
  return bytes;
}

class VirtualClockTest : public wqtest::FilterTest {
 protected:
  void SetUp() override {
    WqControlEnableVirtualClock(true);
    FilterTest::SetUp();
  }
  void TearDown() override {
    FilterTest::TearDown();
    WqControlEnableVirtualClock(false);
  }
};

using MemStreamTest = VirtualClockTest;

TEST_F(MemStreamTest, WithoutThrottleEverythingArrivesAfterTheFirstMillisecond) {
  const std::vector<BYTE> data = Bytes(100);
  D_CMemStream stream(data.data(), 100, D_CMemStream::kNoThrottle);
  LONGLONG available = -1;
  EXPECT_EQ(stream.Size(&available), 100);
  EXPECT_EQ(available, 0);
  Sleep(1);
  EXPECT_EQ(stream.Size(&available), 100);
  EXPECT_EQ(available, 100);
  const DWORD before = timeGetTime();
  BYTE out[100];
  DWORD read = 0;
  EXPECT_EQ(stream.Read(out, 100, FALSE, &read), S_OK);
  EXPECT_EQ(timeGetTime(), before) << "an unthrottled read never sleeps";
  EXPECT_EQ(read, 100u);
}

TEST_F(MemStreamTest, AThrottledReadWaitsForItsLastByteToArrive) {
  const std::vector<BYTE> data = Bytes(1000);
  D_CMemStream stream(data.data(), 1000, 100);
  const DWORD made = timeGetTime();
  BYTE out[1000];
  DWORD read = 0;
  ASSERT_EQ(stream.Read(out, 1000, FALSE, &read), S_OK);
  EXPECT_GE(timeGetTime() - made, 10u);
  EXPECT_EQ(read, 1000u);
  EXPECT_EQ(D_CMemStream::Create(data.data(), 1000, 0), nullptr) << "a rate of 0 would never deliver";
}

TEST_F(MemStreamTest, PositionsAndReadsStopAtTheEnd) {
  const std::vector<BYTE> data = Bytes(50);
  D_CMemStream stream(data.data(), 50, D_CMemStream::kNoThrottle);
  EXPECT_EQ(stream.SetPointer(51), S_FALSE);
  EXPECT_EQ(stream.SetPointer(-1), S_FALSE);
  EXPECT_EQ(stream.SetPointer(50), S_OK);
  ASSERT_EQ(stream.SetPointer(40), S_OK);
  BYTE out[20] = {};
  DWORD read = 99;
  EXPECT_EQ(stream.Read(out, 20, FALSE, &read), S_OK);
  EXPECT_EQ(read, 10u);
  EXPECT_EQ(out[9], data[49]);
  EXPECT_EQ(stream.Read(out, 20, FALSE, &read), S_OK);
  EXPECT_EQ(read, 0u) << "a read at the end reports that nothing came";
}

class AsyncIoTest : public wqtest::FilterTest {
 protected:
  std::vector<BYTE> data_ = Bytes(100);
  D_CMemStream stream_{data_.data(), 100, D_CMemStream::kNoThrottle};
};

TEST_F(AsyncIoTest, ARequestRunningPastTheEndIsShortAndCompleteOnlyAtTheEnd) {
  D_CAsyncIo io(&stream_);
  BYTE buffer[64];
  int contexts[3];
  ASSERT_EQ(io.Request(80, 30, FALSE, buffer, &contexts[0], 1), S_OK);
  EXPECT_TRUE(io.HasWorkerThread());
  LPVOID context = nullptr;
  DWORD_PTR user = 0;
  LONG actual = 0;
  EXPECT_EQ(io.WaitForNext(20000, &context, &user, &actual), S_OK);
  EXPECT_EQ(context, &contexts[0]);
  EXPECT_EQ(user, 1u);
  EXPECT_EQ(actual, 20);
  EXPECT_EQ(buffer[19], data_[99]);
  // Past the end nothing is read, and a short read before the end fails.
  ASSERT_EQ(io.Request(150, 10, FALSE, buffer, &contexts[1], 2), S_OK);
  EXPECT_EQ(io.WaitForNext(20000, &context, &user, &actual), E_FAIL);
  EXPECT_EQ(actual, 0);
  EXPECT_EQ(io.WaitForNext(0, &context, &user, &actual), D_VFW_E_TIMEOUT);
  EXPECT_EQ(io.WaitForNext(0, nullptr, &user, &actual), E_POINTER);
}

TEST_F(AsyncIoTest, AFlushReturnsPendingWorkAndHoldsNewRequestsOff) {
  D_CAsyncIo io(&stream_);
  BYTE buffer[10];
  ASSERT_EQ(io.BeginFlush(), S_OK);
  EXPECT_EQ(io.Request(0, 10, FALSE, buffer, nullptr, 0), D_VFW_E_WRONG_STATE);
  EXPECT_FALSE(io.HasWorkerThread()) << "nothing was queued";
  LPVOID context = nullptr;
  DWORD_PTR user = 0;
  LONG actual = 0;
  EXPECT_EQ(io.WaitForNext(0, &context, &user, &actual), D_VFW_E_WRONG_STATE);
  ASSERT_EQ(io.EndFlush(), S_OK);
  EXPECT_EQ(io.WaitForNext(0, &context, &user, &actual), D_VFW_E_TIMEOUT);
}

TEST_F(AsyncIoTest, SynchronousReadsRunOnTheCaller) {
  D_CAsyncIo io(&stream_);
  BYTE buffer[10];
  LONG actual = 0;
  EXPECT_EQ(io.SyncReadAligned(95, 10, buffer, &actual, nullptr), S_FALSE);
  EXPECT_EQ(actual, 5);
  EXPECT_EQ(io.SyncRead(0, 10, buffer), S_OK);
  EXPECT_EQ(buffer[3], data_[3]);
  EXPECT_FALSE(io.HasWorkerThread());
  LONGLONG total = 0;
  EXPECT_EQ(io.Length(&total, nullptr), S_OK);
  EXPECT_EQ(total, 100);
  EXPECT_EQ(io.Length(nullptr, nullptr), E_POINTER);
}

// A pull pin that does or does not ask for the reader interface.
class PullPin : public D_CBaseInputPin {
 public:
  PullPin(wqtest::TestSinkFilter* filter, bool asks)
      : D_CBaseInputPin("Pull pin", filter, &filter->lock, nullptr, u"Pull"), asks_(asks) {}
  HRESULT CheckMediaType(const D_CMediaType*) override { return S_OK; }
  HRESULT CheckConnect(D_IPin* pin) override {
    if (asks_) {
      if (FAILED(pin->QueryInterface(D_IID_IAsyncReader, reinterpret_cast<void**>(&reader)))) return E_FAIL;
      reader->Release();
    }
    return D_CBaseInputPin::CheckConnect(pin);
  }
  D_IAsyncReader* reader = nullptr;

 private:
  bool asks_;
};

class AsyncReaderTest : public wqtest::FilterTest {
 protected:
  void SetUp() override {
    FilterTest::SetUp();
    type_.SetType(&D_MEDIATYPE_Stream);
    type_.SetSubtype(&D_MEDIASUBTYPE_MPEG1Audio);
    HRESULT result = S_OK;
    reader_ = D_CMemReader::Create(&stream_, &type_, &result);
    ASSERT_NE(reader_, nullptr);
    reader_->AsBaseFilter()->AddRef();
    sink_ = new wqtest::TestSinkFilter;
    sink_->AsBaseFilter()->AddRef();
  }
  void TearDown() override {
    reader_->GetPin(0)->Disconnect();
    reader_->AsBaseFilter()->Release();
    sink_->AsBaseFilter()->Release();
    FilterTest::TearDown();
  }
  D_IPin* Output() { return reader_->GetPin(0)->AsPin(); }

  std::vector<BYTE> data_ = Bytes(100);
  D_CMemStream stream_{data_.data(), 100, D_CMemStream::kNoThrottle};
  D_CMediaType type_;
  D_CMemReader* reader_ = nullptr;
  wqtest::TestSinkFilter* sink_ = nullptr;
};

TEST_F(AsyncReaderTest, OffersItsOneTypeAndOnlyPullingPinsConnect) {
  D_CMediaType offered;
  EXPECT_EQ(reader_->GetPin(0)->GetMediaType(1, &offered), D_VFW_S_NO_MORE_ITEMS);
  EXPECT_EQ(reader_->GetPin(0)->GetMediaType(-1, &offered), E_INVALIDARG);
  ASSERT_EQ(reader_->GetPin(0)->GetMediaType(0, &offered), S_OK);
  EXPECT_EQ(offered.subtype, D_MEDIASUBTYPE_MPEG1Audio);
  EXPECT_EQ(Output()->QueryAccept(&offered), S_OK);
  offered.SetSubtype(&D_MEDIASUBTYPE_PCM);
  EXPECT_EQ(Output()->QueryAccept(&offered), S_FALSE);

  auto* pushing = new PullPin(sink_, false);
  EXPECT_EQ(Output()->Connect(pushing->AsPin(), nullptr), D_VFW_E_NO_ACCEPTABLE_TYPES)
      << "completion fails with E_FAIL, one more refused type";
  auto* pulling = new PullPin(sink_, true);
  ASSERT_EQ(Output()->Connect(pulling->AsPin(), nullptr), S_OK);
  EXPECT_EQ(reader_->GetPin(0)->Disconnect(), S_OK);
  pulling->Disconnect();
  delete pushing;
  delete pulling;
}

TEST_F(AsyncReaderTest, RequestsAreByteRangesInSampleTimes) {
  D_IAsyncReader* reader = nullptr;
  ASSERT_EQ(Output()->QueryInterface(D_IID_IAsyncReader, reinterpret_cast<void**>(&reader)), S_OK);
  HRESULT result = S_OK;
  auto* preferred = new D_CMemAllocator("Preferred", nullptr, &result);
  preferred->AsAllocator()->AddRef();
  D_ALLOCATOR_PROPERTIES request{1, 64, 0, 0};
  D_IMemAllocator* actual = nullptr;
  ASSERT_EQ(reader->RequestAllocator(preferred->AsAllocator(), &request, &actual), S_OK);
  EXPECT_EQ(actual, preferred->AsAllocator());
  EXPECT_EQ(request.cbAlign, 1) << "an alignment of 0 becomes the stream's";
  ASSERT_EQ(actual->Commit(), S_OK);
  D_IMediaSample* sample = nullptr;
  ASSERT_EQ(actual->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
  D_REFERENCE_TIME start = 90 * 10000000LL;
  D_REFERENCE_TIME stop = 120 * 10000000LL;
  sample->SetTime(&start, &stop);
  ASSERT_EQ(reader->Request(sample, 7), S_OK);
  D_IMediaSample* done = nullptr;
  DWORD_PTR user = 0;
  EXPECT_EQ(reader->WaitForNext(20000, &done, &user), S_OK);
  EXPECT_EQ(done, sample);
  EXPECT_EQ(user, 7u);
  EXPECT_EQ(done->GetActualDataLength(), 10);
  EXPECT_EQ(done->GetTime(&start, &stop), S_OK);
  EXPECT_EQ(stop, 100 * 10000000LL) << "the times end where the stream does";
  BYTE direct[4];
  EXPECT_EQ(reader->SyncRead(96, 4, direct), S_OK);
  EXPECT_EQ(direct[3], data_[99]);
  sample->Release();
  actual->Decommit();
  actual->Release();
  preferred->AsAllocator()->Release();
  reader->Release();
}

}  // namespace
