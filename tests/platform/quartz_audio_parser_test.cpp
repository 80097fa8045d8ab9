#include <gtest/gtest.h>

#include <cstring>

#include "platform/control_sound.h"
#include "quartz_media_files.h"
#include "quartz_test_filters.h"

namespace {

using wqtest::CreateGraph;
using wqtest::Query;
using wqtest::TestSink;

// A source that serves bytes in memory through IAsyncReader, offering them
// as an MPEG audio byte stream; only the synchronous reads are served.
class MemorySource final : public wqplat::QuartzFilter {
 public:
  explicit MemorySource(std::vector<unsigned char> bytes)
      : QuartzFilter(wqtest::kTestFilterClsid), pin_(this), bytes_(std::move(bytes)) {}

  int PinCount() override { return 1; }
  wqplat::QuartzPin* Pin(int index) override { return index == 0 ? &pin_ : nullptr; }
  D_IPin* output() { return &pin_; }

 private:
  class OutputPin final : public wqplat::QuartzPin, public D_IAsyncReader {
   public:
    explicit OutputPin(MemorySource* source) : QuartzPin(source, D_PINDIR_OUTPUT, u"Output"), source_(source) {}

    HRESULT QueryInterface(REFIID iid, void** object) override {
      if (object && iid == D_IID_IAsyncReader) {
        *object = static_cast<D_IAsyncReader*>(this);
        AddRef();
        return S_OK;
      }
      return QuartzPin::QueryInterface(iid, object);
    }
    ULONG AddRef() override { return QuartzPin::AddRef(); }
    ULONG Release() override { return QuartzPin::Release(); }

    HRESULT RequestAllocator(D_IMemAllocator*, D_ALLOCATOR_PROPERTIES*, D_IMemAllocator**) override {
      return E_NOTIMPL;
    }
    HRESULT Request(D_IMediaSample*, DWORD_PTR) override { return E_NOTIMPL; }
    HRESULT WaitForNext(DWORD, D_IMediaSample**, DWORD_PTR*) override { return E_NOTIMPL; }
    HRESULT SyncReadAligned(D_IMediaSample*) override { return E_NOTIMPL; }
    HRESULT SyncRead(LONGLONG position, LONG length, BYTE* buffer) override {
      const auto& bytes = source_->bytes_;
      if (position < 0 || position + length > static_cast<LONGLONG>(bytes.size())) return E_FAIL;
      std::memcpy(buffer, bytes.data() + position, static_cast<size_t>(length));
      return S_OK;
    }
    HRESULT Length(LONGLONG* total, LONGLONG* available) override {
      *total = *available = static_cast<LONGLONG>(source_->bytes_.size());
      return S_OK;
    }
    HRESULT BeginFlush() override { return S_OK; }
    HRESULT EndFlush() override { return S_OK; }

   protected:
    HRESULT CheckMediaType(const D_AM_MEDIA_TYPE& type) override {
      return type.majortype == D_MEDIATYPE_Stream ? S_OK : S_FALSE;
    }
    bool GetMediaType(int index, D_AM_MEDIA_TYPE* type) override {
      if (index != 0) return false;
      *type = D_AM_MEDIA_TYPE{};
      type->majortype = D_MEDIATYPE_Stream;
      type->subtype = D_MEDIASUBTYPE_MPEG1Audio;
      return true;
    }

   private:
    MemorySource* const source_;
  };

  OutputPin pin_;
  std::vector<unsigned char> bytes_;
};

// The shape the sound conversion builds: the memory source and a PCM sink
// in the graph, the source's pin rendered, no reference clock.
struct ConversionGraph {
  explicit ConversionGraph(std::vector<unsigned char> bytes)
      : graph(CreateGraph()), source(new MemorySource(std::move(bytes))), sink(new TestSink(wqtest::PcmAudio)) {
    graph->AddFilter(sink, u"SampleGrabber");
    graph->AddFilter(source, u"MemFile");
  }
  ~ConversionGraph() {
    EXPECT_EQ(graph->Release(), 0u);
    EXPECT_EQ(source->Release(), 0u);
    EXPECT_EQ(sink->Release(), 0u);
    CoUninitialize();
  }

  D_IGraphBuilder* graph;
  MemorySource* source;
  TestSink* sink;
};

TEST(QuartzAudioParser, DecodesTheFirstAudioStreamToThePcmOfADirectDecode) {
  wqtest::MediaFolder folder;
  const std::string mp2 =
      folder.Make("-f lavfi -i sine=frequency=440:duration=1.5:sample_rate=44100 -ac 2 -c:a mp2 -b:a 192k", "sound.mp2");
  const std::string reference = folder.Make("-i '" + mp2 + "' -f s16le -c:a pcm_s16le", "reference.raw");
  ConversionGraph conversion(wqtest::ReadWholeFile(mp2));

  ASSERT_EQ(conversion.graph->Render(conversion.source->output()), S_OK);
  const auto* format = reinterpret_cast<const WAVEFORMATEX*>(conversion.sink->connected.pbFormat);
  ASSERT_NE(format, nullptr);
  EXPECT_EQ(format->wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(format->nChannels, 2);
  EXPECT_EQ(format->nSamplesPerSec, 44100u);
  EXPECT_EQ(format->wBitsPerSample, 16);
  EXPECT_EQ(format->nBlockAlign, 4);

  auto* as_filter = Query<D_IMediaFilter>(conversion.graph, D_IID_IMediaFilter);
  EXPECT_EQ(as_filter->SetSyncSource(nullptr), S_OK);
  as_filter->Release();
  auto* control = Query<D_IMediaControl>(conversion.graph, D_IID_IMediaControl);
  auto* events = Query<D_IMediaEvent>(conversion.graph, D_IID_IMediaEvent);
  EXPECT_EQ(control->Run(), S_OK);
  LONG code = 0;
  EXPECT_EQ(events->WaitForCompletion(20'000, &code), S_OK);
  EXPECT_EQ(code, D_EC_COMPLETE);

  std::vector<unsigned char> pcm;
  D_REFERENCE_TIME expected_start = 0;
  for (const auto& sample : conversion.sink->Received()) {
    EXPECT_EQ(sample.start, expected_start);
    expected_start = sample.stop;
    pcm.insert(pcm.end(), sample.bytes.begin(), sample.bytes.end());
  }
  const auto expected = wqtest::ReadWholeFile(reference);
  ASSERT_EQ(pcm.size(), expected.size());
  EXPECT_TRUE(pcm == expected);
  events->Release();
  control->Release();
}

TEST(QuartzAudioParser, AStreamWithoutAudioConnectsAndOffersNothing) {
  wqtest::MediaFolder folder;
  ConversionGraph conversion(wqtest::ReadWholeFile(
      folder.Make("-f lavfi -i color=c=red:size=32x32:rate=25 -frames:v 5 -c:v mpeg4", "video.mp4")));
  EXPECT_EQ(conversion.graph->Render(conversion.source->output()), S_OK);
  EXPECT_EQ(conversion.sink->connections, 0);
  D_IPin* parser_input = nullptr;
  ASSERT_EQ(conversion.source->output()->ConnectedTo(&parser_input), S_OK);
  D_PIN_INFO info{};
  parser_input->QueryPinInfo(&info);
  D_IEnumPins* pins = nullptr;
  info.pFilter->EnumPins(&pins);
  D_IPin* listed[2] = {};
  ULONG fetched = 0;
  EXPECT_EQ(pins->Next(2, listed, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 1u);  // the input alone
  listed[0]->Release();
  pins->Release();
  info.pFilter->Release();
  parser_input->Release();
}

TEST(QuartzAudioParser, GarbageIsNotRenderedAndTheParserLeavesTheGraph) {
  std::vector<unsigned char> garbage(20'000);
  for (size_t index = 0; index < garbage.size(); ++index) garbage[index] = static_cast<unsigned char>(index * 7919 >> 3);
  ConversionGraph conversion(garbage);
  EXPECT_EQ(conversion.graph->Render(conversion.source->output()), D_VFW_E_CANNOT_RENDER);
  D_IPin* peer = nullptr;
  EXPECT_EQ(conversion.source->output()->ConnectedTo(&peer), D_VFW_E_NOT_CONNECTED);
  D_IEnumFilters* filters = nullptr;
  conversion.graph->EnumFilters(&filters);
  D_IBaseFilter* listed[3] = {};
  ULONG fetched = 0;
  filters->Next(3, listed, &fetched);
  EXPECT_EQ(fetched, 2u);
  for (ULONG index = 0; index < fetched; ++index) listed[index]->Release();
  filters->Release();
}

}  // namespace

namespace {

TEST(QuartzAudioRenderer, PlaysTheParsersPcmWhenNoRendererInTheGraphTakesIt) {
  WqControlSetSoundDevice(WqSoundDevice::kSilent);
  wqtest::MediaFolder folder;
  const std::string mp2 = folder.Make("-f lavfi -i sine=frequency=440:duration=0.3 -ac 1 -c:a mp2", "sound.mp2");
  D_IGraphBuilder* graph = CreateGraph();
  auto* source = new MemorySource(wqtest::ReadWholeFile(mp2));
  graph->AddFilter(source, u"MemFile");
  ASSERT_EQ(graph->Render(source->output()), S_OK);

  D_IBaseFilter* renderer = nullptr;
  ASSERT_EQ(graph->FindFilterByName(u"Default Audio Renderer", &renderer), S_OK);
  D_IAMFilterMiscFlags* flags = Query<D_IAMFilterMiscFlags>(renderer, D_IID_IAMFilterMiscFlags);
  EXPECT_EQ(flags->GetMiscFlags(), D_AM_FILTER_MISC_FLAGS_IS_RENDERER);
  flags->Release();
  renderer->Release();

  auto* audio = Query<D_IBasicAudio>(graph, D_IID_IBasicAudio);
  LONG volume = 1;
  EXPECT_EQ(audio->get_Volume(&volume), S_OK);
  EXPECT_EQ(volume, 0);
  EXPECT_EQ(audio->put_Volume(-2'000), S_OK);
  EXPECT_EQ(audio->get_Volume(&volume), S_OK);
  EXPECT_EQ(volume, -2'000);
  EXPECT_EQ(audio->put_Volume(1), E_INVALIDARG);
  EXPECT_EQ(audio->put_Balance(10'001), E_INVALIDARG);
  audio->Release();

  auto* control = Query<D_IMediaControl>(graph, D_IID_IMediaControl);
  auto* events = Query<D_IMediaEvent>(graph, D_IID_IMediaEvent);
  EXPECT_EQ(control->Run(), S_OK);
  LONG code = 0;
  EXPECT_EQ(events->WaitForCompletion(20'000, &code), S_OK);
  EXPECT_EQ(code, D_EC_COMPLETE);
  EXPECT_EQ(control->Stop(), S_OK);

  events->Release();
  control->Release();
  EXPECT_EQ(graph->Release(), 0u);
  EXPECT_EQ(source->Release(), 0u);
  CoUninitialize();
}

}  // namespace
