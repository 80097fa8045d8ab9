// The copy transform between test filters: its pins, quality-change events
// and skipped frames, the end of stream of an unconnected input, and the
// WAV writer's header.
#include <gtest/gtest.h>

#include <cstring>

#include "media/filters/allocator.h"
#include "media/filters/transform_filter.h"
#include "test_filters.h"

namespace {

using wqtest::MakeType;
using wqtest::TestGuid;

// Copies each sample, or drops it when told to.
class CopyTransform : public D_CTransformFilter {
 public:
  CopyTransform() : D_CTransformFilter("Copy transform", nullptr, TestGuid(40)) {}
  HRESULT CheckInputType(const D_CMediaType* type) override {
    return type->majortype == TestGuid(1) ? S_OK : S_FALSE;
  }
  HRESULT CheckTransform(const D_CMediaType*, const D_CMediaType*) override { return S_OK; }
  HRESULT DecideBufferSize(D_IMemAllocator* allocator, D_ALLOCATOR_PROPERTIES* properties) override {
    properties->cBuffers = 1;
    properties->cbBuffer = 64;
    D_ALLOCATOR_PROPERTIES actual{};
    return allocator->SetProperties(properties, &actual);
  }
  HRESULT GetMediaType(int position, D_CMediaType* type) override {
    if (position > 0) return D_VFW_S_NO_MORE_ITEMS;
    *type = InputPin()->CurrentMediaType();
    return S_OK;
  }
  HRESULT Transform(D_IMediaSample* input, D_IMediaSample* output) override {
    BYTE* from = nullptr;
    BYTE* to = nullptr;
    input->GetPointer(&from);
    output->GetPointer(&to);
    std::memcpy(to, from, static_cast<std::size_t>(input->GetActualDataLength()));
    output->SetActualDataLength(input->GetActualDataLength());
    return answer;
  }
  HRESULT answer = S_OK;
};

// An allocator that remembers the flags of each buffer request.
class FlagRecordingAllocator : public D_CMemAllocator {
 public:
  explicit FlagRecordingAllocator(HRESULT* result) : D_CMemAllocator("Recording", nullptr, result) {}
  HRESULT GetBuffer(D_IMediaSample** sample, D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop,
                    DWORD flags) override {
    requestFlags.push_back(flags);
    return D_CMemAllocator::GetBuffer(sample, start, stop, flags);
  }
  std::vector<DWORD> requestFlags;
};

class RecordingSinkPin : public wqtest::TestInputPin {
 public:
  RecordingSinkPin(wqtest::TestSinkFilter* filter, D_IMemAllocator* allocator)
      : TestInputPin(filter, nullptr, u"Recording"), offered_(allocator) {}
  HRESULT GetAllocator(D_IMemAllocator** allocator) override {
    *allocator = offered_;
    offered_->AddRef();
    return S_OK;
  }

 private:
  D_IMemAllocator* offered_;
};

class TransformTest : public wqtest::FilterTest {
 protected:
  void SetUp() override {
    FilterTest::SetUp();
    transform_ = new CopyTransform;
    transform_->AsBaseFilter()->AddRef();
    source_ = new wqtest::TestSourceFilter;
    source_->AsBaseFilter()->AddRef();
    sink_ = new wqtest::TestSinkFilter;
    sink_->AsBaseFilter()->AddRef();
    HRESULT result = S_OK;
    allocator_ = new FlagRecordingAllocator(&result);
    allocator_->AsAllocator()->AddRef();
    sinkPin_ = new RecordingSinkPin(sink_, allocator_->AsAllocator());
    sinkPin_->acceptedMajor = TestGuid(1);
    source_->pin.proposed = {MakeType(TestGuid(1), TestGuid(3))};
    for (D_CBaseFilter* filter : Filters()) filter->JoinFilterGraph(&graph_, nullptr);
  }
  void TearDown() override {
    for (D_CBaseFilter* filter : Filters()) filter->Stop();
    for (D_CBasePin* pin : {static_cast<D_CBasePin*>(&source_->pin), transform_->GetPin(0), transform_->GetPin(1),
                            static_cast<D_CBasePin*>(sinkPin_)})
      pin->Disconnect();
    delete sinkPin_;
    allocator_->AsAllocator()->Release();
    for (D_CBaseFilter* filter : Filters()) filter->AsBaseFilter()->Release();
    FilterTest::TearDown();
  }
  std::vector<D_CBaseFilter*> Filters() { return {source_, transform_, sink_}; }
  void ConnectAndRun() {
    ASSERT_EQ(source_->pin.AsPin()->Connect(transform_->GetPin(0)->AsPin(), nullptr), S_OK);
    ASSERT_EQ(transform_->GetPin(1)->AsPin()->Connect(sinkPin_->AsPin(), nullptr), S_OK);
    for (D_CBaseFilter* filter : Filters()) ASSERT_EQ(filter->Run(0), S_OK);
  }
  HRESULT Send(bool syncPoint) {
    D_IMediaSample* sample = nullptr;
    HRESULT result = source_->pin.GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
    if (FAILED(result)) return result;
    sample->SetSyncPoint(syncPoint);
    sample->SetActualDataLength(8);
    result = source_->pin.Deliver(sample);
    sample->Release();
    return result;
  }

  wqtest::RecordingGraph graph_;
  CopyTransform* transform_ = nullptr;
  wqtest::TestSourceFilter* source_ = nullptr;
  wqtest::TestSinkFilter* sink_ = nullptr;
  FlagRecordingAllocator* allocator_ = nullptr;
  RecordingSinkPin* sinkPin_ = nullptr;
};

TEST_F(TransformTest, FindingAPinByIdMakesBothPins) {
  D_IPin* pin = nullptr;
  ASSERT_EQ(transform_->FindPin(u"In", &pin), S_OK);
  EXPECT_EQ(pin, transform_->GetPin(0)->AsPin());
  pin->Release();
  EXPECT_NE(transform_->GetPin(1), nullptr);
  EXPECT_EQ(std::u16string(transform_->GetPin(0)->Name()), u"XForm In");
  LPWSTR id = nullptr;
  ASSERT_EQ(transform_->GetPin(1)->AsPin()->QueryId(&id), S_OK);
  EXPECT_EQ(std::u16string(id), u"Out");
  CoTaskMemFree(id);
  EXPECT_EQ(transform_->FindPin(u"XForm In", &pin), D_VFW_E_NOT_FOUND);
  EXPECT_EQ(pin, nullptr);
  const D_CMediaType full = MakeType(TestGuid(1), TestGuid(3), TestGuid(5));
  EXPECT_EQ(transform_->GetPin(1)->AsPin()->Connect(sinkPin_->AsPin(), &full), E_UNEXPECTED)
      << "the output connects only after the input";
}

TEST_F(TransformTest, ADroppedFrameRaisesQualityChangeOnceAndMarksTheNextRequest) {
  ConnectAndRun();
  EXPECT_EQ(Send(true), S_OK);
  EXPECT_EQ(sinkPin_->received, 1);
  transform_->answer = S_FALSE;
  EXPECT_EQ(Send(true), S_OK);
  EXPECT_EQ(Send(true), S_OK);
  EXPECT_EQ(sinkPin_->received, 1);
  EXPECT_EQ(graph_.Count(D_EC_QUALITY_CHANGE), 1);
  transform_->answer = S_OK;
  EXPECT_EQ(Send(false), S_OK);
  ASSERT_EQ(allocator_->requestFlags.size(), 4u);
  EXPECT_EQ(allocator_->requestFlags[0], 0u);
  EXPECT_EQ(allocator_->requestFlags[2], D_AM_GBF_PREVFRAMESKIPPED);
  EXPECT_EQ(allocator_->requestFlags[3], D_AM_GBF_PREVFRAMESKIPPED | D_AM_GBF_NOTASYNCPOINT);
  EXPECT_EQ(sinkPin_->received, 2);
  // Pausing again allows one more notice.
  ASSERT_EQ(transform_->Pause(), S_OK);
  ASSERT_EQ(transform_->Run(0), S_OK);
  transform_->answer = S_FALSE;
  EXPECT_EQ(Send(true), S_OK);
  EXPECT_EQ(graph_.Count(D_EC_QUALITY_CHANGE), 2);
}

TEST_F(TransformTest, PausingWithoutAnInputEndsTheStreamDownstreamOnce) {
  ASSERT_EQ(source_->pin.AsPin()->Connect(transform_->GetPin(0)->AsPin(), nullptr), S_OK);
  ASSERT_EQ(transform_->GetPin(1)->AsPin()->Connect(sinkPin_->AsPin(), nullptr), S_OK);
  ASSERT_EQ(source_->pin.Disconnect(), S_OK);
  ASSERT_EQ(transform_->GetPin(0)->Disconnect(), S_OK);
  ASSERT_EQ(transform_->Pause(), S_OK);
  EXPECT_EQ(sinkPin_->endOfStreams, 1);
  ASSERT_EQ(transform_->Run(0), S_OK);
  ASSERT_EQ(transform_->Pause(), S_OK);
  EXPECT_EQ(sinkPin_->endOfStreams, 1);
}

// A file writer's input pin: samples land at the byte offsets their times
// give, and the stream interface writes where it was sought.
class FileWriterPin : public D_CBaseInputPin {
 public:
  explicit FileWriterPin(wqtest::TestSinkFilter* filter)
      : D_CBaseInputPin("File writer", filter, &filter->lock, nullptr, u"Writer") {}
  HRESULT NonDelegatingQueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IStream) return ReturnInterface(&stream_, object);
    return D_CBaseInputPin::NonDelegatingQueryInterface(iid, object);
  }
  HRESULT CheckMediaType(const D_CMediaType* type) override {
    return type->majortype == D_MEDIATYPE_Stream ? S_OK : S_FALSE;
  }
  HRESULT Receive(D_IMediaSample* sample) override {
    D_REFERENCE_TIME start = 0;
    D_REFERENCE_TIME stop = 0;
    sample->GetTime(&start, &stop);
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    Put(static_cast<std::size_t>(start), data, static_cast<std::size_t>(stop - start));
    return S_OK;
  }
  void Put(std::size_t at, const void* data, std::size_t bytes) {
    if (file.size() < at + bytes) file.resize(at + bytes);
    std::memcpy(file.data() + at, data, bytes);
  }
  std::vector<BYTE> file;

 private:
  class Stream final : public IStream {
   public:
    explicit Stream(FileWriterPin* pin) : pin_(pin) {}
    HRESULT QueryInterface(REFIID iid, void** object) override { return pin_->QueryInterface(iid, object); }
    ULONG AddRef() override { return pin_->AddRef(); }
    ULONG Release() override { return pin_->Release(); }
    HRESULT Read(void*, ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT Write(const void* buffer, ULONG bytes, ULONG*) override {
      pin_->Put(position_, buffer, bytes);
      return S_OK;
    }
    HRESULT Seek(LARGE_INTEGER move, DWORD, ULARGE_INTEGER*) override {
      position_ = static_cast<std::size_t>(move.QuadPart);
      return S_OK;
    }
    HRESULT SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT Commit(DWORD) override { return E_NOTIMPL; }
    HRESULT Revert() override { return E_NOTIMPL; }
    HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT Stat(void*, DWORD) override { return E_NOTIMPL; }
    HRESULT Clone(IStream**) override { return E_NOTIMPL; }

   private:
    FileWriterPin* pin_;
    std::size_t position_ = 0;
  };
  Stream stream_{this};
};

DWORD ReadU32(const std::vector<BYTE>& file, std::size_t at) {
  DWORD value = 0;
  std::memcpy(&value, file.data() + at, 4);
  return value;
}

TEST_F(TransformTest, TheWavWriterPutsTheRiffHeaderInFrontOfThePcm) {
  HRESULT result = S_OK;
  D_CWavDestFilter* writer = D_CWavDestFilter::Create(nullptr, &result);
  ASSERT_EQ(result, S_OK);
  writer->AsBaseFilter()->AddRef();
  auto* filePin = new FileWriterPin(sink_);
  // 16-bit stereo at 44,100 Hz, a format block of 18 bytes.
  const std::vector<BYTE> format = {1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0, 0, 0};
  source_->pin.proposed = {MakeType(D_MEDIATYPE_Audio, D_MEDIASUBTYPE_PCM, D_FORMAT_WaveFormatEx, format)};
  source_->pin.bufferSize = 500;
  ASSERT_EQ(source_->pin.AsPin()->Connect(writer->GetPin(0)->AsPin(), nullptr), S_OK);
  ASSERT_EQ(writer->GetPin(1)->AsPin()->Connect(filePin->AsPin(), nullptr), S_OK);
  ASSERT_EQ(sink_->Run(0), S_OK);
  ASSERT_EQ(writer->Run(0), S_OK);
  ASSERT_EQ(source_->Run(0), S_OK);
  EXPECT_EQ(writer->HeaderSize(), 46u);
  for (int piece = 0; piece < 2; ++piece) {
    D_IMediaSample* sample = nullptr;
    ASSERT_EQ(source_->pin.GetDeliveryBuffer(&sample, nullptr, nullptr, 0), S_OK);
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    std::memset(data, 0x30 + piece, 500);
    sample->SetActualDataLength(500);
    EXPECT_EQ(source_->pin.Deliver(sample), S_OK);
    sample->Release();
  }
  ASSERT_EQ(source_->Stop(), S_OK);
  ASSERT_EQ(writer->Stop(), S_OK);
  const std::vector<BYTE>& file = filePin->file;
  ASSERT_EQ(file.size(), 1046u);
  EXPECT_EQ(std::memcmp(file.data(), "RIFF", 4), 0);
  EXPECT_EQ(ReadU32(file, 4), 1038u);
  EXPECT_EQ(std::memcmp(file.data() + 8, "WAVEfmt ", 8), 0);
  EXPECT_EQ(ReadU32(file, 16), 18u);
  EXPECT_EQ(std::memcmp(file.data() + 38, "data", 4), 0);
  EXPECT_EQ(ReadU32(file, 42), 1000u);
  EXPECT_EQ(file[46], 0x30);
  EXPECT_EQ(file[1045], 0x31);
  sink_->Stop();
  writer->GetPin(1)->Disconnect();
  filePin->Disconnect();
  source_->pin.Disconnect();
  writer->GetPin(0)->Disconnect();
  delete filePin;
  writer->AsBaseFilter()->Release();
}

}  // namespace
