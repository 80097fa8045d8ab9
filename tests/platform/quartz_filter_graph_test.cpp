#include <gtest/gtest.h>

#include <string>

#include "quartz_test_filters.h"

namespace {

using wqtest::CreateGraph;
using wqtest::Query;
using wqtest::References;
using wqtest::TestSink;
using wqtest::TestSource;

std::vector<D_IBaseFilter*> EnumeratedFilters(D_IGraphBuilder* graph) {
  std::vector<D_IBaseFilter*> filters;
  D_IEnumFilters* enumerator = nullptr;
  EXPECT_EQ(graph->EnumFilters(&enumerator), S_OK);
  D_IBaseFilter* filter = nullptr;
  while (enumerator->Next(1, &filter, nullptr) == S_OK) {
    filters.push_back(filter);
    filter->Release();
  }
  enumerator->Release();
  return filters;
}

D_IFilterGraph* GraphOf(D_IBaseFilter* filter) {
  D_FILTER_INFO info{};
  EXPECT_EQ(filter->QueryFilterInfo(&info), S_OK);
  if (info.pGraph) info.pGraph->Release();
  return info.pGraph;
}

D_FILTER_STATE StateOf(D_IBaseFilter* filter) {
  D_FILTER_STATE state{};
  filter->GetState(0, &state);
  return state;
}

TEST(QuartzFilterGraph, KeepsAListOfNamedFiltersAndLetsThemGo) {
  D_IGraphBuilder* graph = CreateGraph();
  auto* source = new TestSource(1, 16);
  auto* sink = new TestSink(wqtest::AnyType);
  EXPECT_EQ(graph->AddFilter(source, u"Source"), S_OK);
  EXPECT_EQ(graph->AddFilter(sink, u"Sink"), S_OK);
  EXPECT_EQ(graph->AddFilter(sink, u"Again"), E_INVALIDARG);
  auto* other = new TestSink(wqtest::AnyType);
  EXPECT_EQ(graph->AddFilter(other, u"Sink"), D_VFW_E_DUPLICATE_NAME);
  EXPECT_EQ(References(other), 1u);
  EXPECT_EQ(GraphOf(other), nullptr);
  other->Release();

  EXPECT_EQ(EnumeratedFilters(graph), (std::vector<D_IBaseFilter*>{source, sink}));
  D_IBaseFilter* found = nullptr;
  EXPECT_EQ(graph->FindFilterByName(u"Sink", &found), S_OK);
  EXPECT_EQ(found, sink);
  found->Release();
  EXPECT_EQ(graph->FindFilterByName(u"Nobody", &found), D_VFW_E_NOT_FOUND);
  EXPECT_EQ(GraphOf(sink), graph);
  EXPECT_EQ(References(sink), 2u);

  EXPECT_EQ(graph->ConnectDirect(source->output(), sink->input(), nullptr), S_OK);
  EXPECT_EQ(graph->RemoveFilter(sink), S_OK);
  EXPECT_EQ(GraphOf(sink), nullptr);
  D_IPin* peer = nullptr;
  EXPECT_EQ(source->output()->ConnectedTo(&peer), D_VFW_E_NOT_CONNECTED);
  EXPECT_EQ(References(sink), 1u);
  EXPECT_EQ(graph->RemoveFilter(sink), D_VFW_E_NOT_FOUND);

  graph->Release();
  EXPECT_EQ(References(source), 1u);
  source->Release();
  sink->Release();
  CoUninitialize();
}

TEST(QuartzFilterGraph, FinalReleaseStopsTheGraphAndEveryFilterLeavesIt) {
  D_IGraphBuilder* graph = CreateGraph();
  auto* source = new TestSource(1000, 16);
  auto* sink = new TestSink(wqtest::AnyType);
  graph->AddFilter(source, u"Source");
  graph->AddFilter(sink, u"Sink");
  ASSERT_EQ(graph->ConnectDirect(source->output(), sink->input(), nullptr), S_OK);
  auto* control = Query<D_IMediaControl>(graph, D_IID_IMediaControl);
  ASSERT_EQ(control->Run(), S_OK);
  EXPECT_EQ(StateOf(source), D_State_Running);
  control->Release();

  EXPECT_EQ(graph->Release(), 0u);
  EXPECT_EQ(StateOf(source), D_State_Stopped);
  EXPECT_EQ(StateOf(sink), D_State_Stopped);
  EXPECT_EQ(GraphOf(source), nullptr);
  EXPECT_EQ(GraphOf(sink), nullptr);
  D_IPin* peer = nullptr;
  EXPECT_EQ(sink->input()->ConnectedTo(&peer), D_VFW_E_NOT_CONNECTED);
  EXPECT_EQ(References(source), 1u);
  EXPECT_EQ(References(sink), 1u);
  source->Release();
  sink->Release();
  CoUninitialize();
}

TEST(QuartzFilterGraph, ConnectsDirectlyOnlyWhatBothPinsTake) {
  D_IGraphBuilder* graph = CreateGraph();
  auto* source = new TestSource(1, 16);
  auto* audio_sink = new TestSink(wqtest::PcmAudio);
  auto* video_sink = new TestSink(wqtest::Rgb24Video);
  graph->AddFilter(source, u"Source");
  graph->AddFilter(audio_sink, u"Audio");

  EXPECT_EQ(graph->ConnectDirect(source->output(), video_sink->input(), nullptr), D_VFW_E_NOT_IN_GRAPH);
  EXPECT_EQ(graph->ConnectDirect(source->output(), audio_sink->input(), nullptr), D_VFW_E_NO_ACCEPTABLE_TYPES);
  EXPECT_EQ(graph->ConnectDirect(audio_sink->input(), source->output(), nullptr), D_VFW_E_INVALID_DIRECTION);

  graph->AddFilter(video_sink, u"Video");
  EXPECT_EQ(graph->Connect(source->output(), video_sink->input()), S_OK);
  EXPECT_TRUE(wqtest::Rgb24Video(video_sink->connected));
  EXPECT_EQ(graph->ConnectDirect(source->output(), video_sink->input(), nullptr), D_VFW_E_ALREADY_CONNECTED);
  EXPECT_EQ(graph->Disconnect(video_sink->input()), S_OK);
  EXPECT_EQ(graph->Disconnect(source->output()), S_OK);
  EXPECT_EQ(graph->Disconnect(source->output()), S_FALSE);

  graph->Release();
  for (IUnknown* filter : std::initializer_list<D_IBaseFilter*>{source, audio_sink, video_sink}) {
    EXPECT_EQ(filter->Release(), 0u);
  }
  CoUninitialize();
}

TEST(QuartzFilterGraph, RenderEndsAtARendererInTheGraphBeforeAddingOne) {
  D_IGraphBuilder* graph = CreateGraph();
  auto* source = new TestSource(1, 16);
  auto* sink = new TestSink(wqtest::Rgb24Video);
  graph->AddFilter(source, u"Source");
  graph->AddFilter(sink, u"Sink");
  EXPECT_EQ(graph->Render(sink->input()), D_VFW_E_INVALID_DIRECTION);
  EXPECT_EQ(graph->Render(source->output()), S_OK);
  EXPECT_EQ(EnumeratedFilters(graph).size(), 2u);
  EXPECT_EQ(sink->connections, 1);
  EXPECT_EQ(graph->Render(source->output()), D_VFW_E_ALREADY_CONNECTED);

  // Without one, video ends in the default renderer the graph adds.
  graph->RemoveFilter(sink);
  EXPECT_EQ(graph->Render(source->output()), S_OK);
  const auto filters = EnumeratedFilters(graph);
  ASSERT_EQ(filters.size(), 2u);
  CLSID clsid{};
  filters[1]->GetClassID(&clsid);
  EXPECT_EQ(clsid, D_CLSID_NullRenderer);

  graph->Release();
  EXPECT_EQ(source->Release(), 0u);
  EXPECT_EQ(sink->Release(), 0u);
  CoUninitialize();
}

TEST(QuartzFilterGraph, ReconnectAskedDuringAConnectionRunsAfterItReturns) {
  D_IGraphBuilder* graph = CreateGraph();
  auto* source = new TestSource(1, 16);
  // The sink asks to be reconnected while its first connection completes.
  struct ReconnectingSink final : wqplat::RendererFilter {
    ReconnectingSink() : RendererFilter(wqtest::kTestFilterClsid) {}
    HRESULT CheckMediaType(const D_AM_MEDIA_TYPE&) override { return S_OK; }
    HRESULT Render(D_IMediaSample*) override { return S_OK; }
    void OnConnected(const D_AM_MEDIA_TYPE&) override {
      if (++connections == 1) {
        asked = graph()->Reconnect(Pin(0));
        connections_when_asked = connections;
      }
    }
    int connections = 0;
    int connections_when_asked = 0;
    HRESULT asked = E_FAIL;
  };
  auto* sink = new ReconnectingSink();
  graph->AddFilter(source, u"Source");
  graph->AddFilter(sink, u"Sink");

  EXPECT_EQ(graph->ConnectDirect(source->output(), sink->Pin(0), nullptr), S_OK);
  EXPECT_EQ(sink->asked, S_OK);
  EXPECT_EQ(sink->connections_when_asked, 1);
  EXPECT_EQ(sink->connections, 2);
  EXPECT_TRUE(sink->Pin(0)->IsConnected());

  auto* control = Query<D_IMediaControl>(graph, D_IID_IMediaControl);
  control->Pause();
  EXPECT_EQ(graph->Reconnect(sink->Pin(0)), D_VFW_E_WRONG_STATE);
  control->Stop();
  control->Release();
  graph->Release();
  EXPECT_EQ(source->Release(), 0u);
  EXPECT_EQ(sink->Release(), 0u);
  CoUninitialize();
}

TEST(QuartzFilterGraph, StateChangesReachEveryFilter) {
  D_IGraphBuilder* graph = CreateGraph();
  auto* source = new TestSource(1000, 16);
  auto* sink = new TestSink(wqtest::AnyType);
  auto* idle = new TestSink(wqtest::AnyType);
  graph->AddFilter(source, u"Source");
  graph->AddFilter(sink, u"Sink");
  graph->AddFilter(idle, u"Idle");
  ASSERT_EQ(graph->Render(source->output()), S_OK);
  auto* control = Query<D_IMediaControl>(graph, D_IID_IMediaControl);
  auto* as_filter = Query<D_IMediaFilter>(graph, D_IID_IMediaFilter);

  const struct {
    HRESULT (D_IMediaControl::*change)();
    D_FILTER_STATE state;
  } steps[] = {{&D_IMediaControl::Pause, D_State_Paused},
               {&D_IMediaControl::Run, D_State_Running},
               {&D_IMediaControl::Pause, D_State_Paused},
               {&D_IMediaControl::Stop, D_State_Stopped},
               {&D_IMediaControl::Run, D_State_Running},
               {&D_IMediaControl::Stop, D_State_Stopped}};
  for (const auto& step : steps) {
    EXPECT_EQ((control->*step.change)(), S_OK);
    for (D_IBaseFilter* filter : std::initializer_list<D_IBaseFilter*>{source, sink, idle}) {
      EXPECT_EQ(StateOf(filter), step.state);
    }
    D_OAFilterState state = -1;
    EXPECT_EQ(control->GetState(0, &state), S_OK);
    EXPECT_EQ(state, step.state);
    D_FILTER_STATE filter_state{};
    EXPECT_EQ(as_filter->GetState(0, &filter_state), S_OK);
    EXPECT_EQ(filter_state, step.state);
  }
  D_IReferenceClock* clock = nullptr;
  EXPECT_EQ(as_filter->GetSyncSource(&clock), S_OK);
  EXPECT_NE(clock, nullptr);  // the system clock, chosen on the first pause
  D_IReferenceClock* filter_clock = nullptr;
  sink->GetSyncSource(&filter_clock);
  EXPECT_EQ(filter_clock, clock);
  filter_clock->Release();
  clock->Release();

  as_filter->Release();
  control->Release();
  graph->Release();
  for (IUnknown* filter : std::initializer_list<D_IBaseFilter*>{source, sink, idle}) EXPECT_EQ(filter->Release(), 0u);
  CoUninitialize();
}

TEST(QuartzFilterGraph, CompletesOnceEveryRendererHasEnded) {
  D_IGraphBuilder* graph = CreateGraph();
  auto* short_source = new TestSource(1, 16);
  auto* long_source = new TestSource(20, 16);
  auto* short_sink = new TestSink(wqtest::AnyType);
  auto* long_sink = new TestSink(wqtest::AnyType);
  graph->AddFilter(short_source, u"Short source");
  graph->AddFilter(long_source, u"Long source");
  graph->AddFilter(short_sink, u"Short sink");
  graph->AddFilter(long_sink, u"Long sink");
  ASSERT_EQ(graph->ConnectDirect(short_source->output(), short_sink->input(), nullptr), S_OK);
  ASSERT_EQ(graph->ConnectDirect(long_source->output(), long_sink->input(), nullptr), S_OK);
  auto* control = Query<D_IMediaControl>(graph, D_IID_IMediaControl);
  auto* events = Query<D_IMediaEvent>(graph, D_IID_IMediaEvent);

  LONG code = -1;
  EXPECT_EQ(events->WaitForCompletion(0, &code), D_VFW_E_WRONG_STATE);
  ASSERT_EQ(control->Run(), S_OK);
  EXPECT_EQ(events->WaitForCompletion(10'000, &code), S_OK);
  EXPECT_EQ(code, D_EC_COMPLETE);
  EXPECT_EQ(long_sink->ReceivedCount(), 20u);
  EXPECT_EQ(short_sink->ReceivedCount(), 1u);
  // Samples come in stream order with their times.
  const auto received = long_sink->Received();
  EXPECT_EQ(received[5].start, 500'000);
  EXPECT_EQ(received[5].bytes.size(), 16u);

  LONG_PTR parameter1 = -1;
  LONG_PTR parameter2 = -1;
  EXPECT_EQ(events->GetEvent(&code, &parameter1, &parameter2, 0), S_OK);
  EXPECT_EQ(code, D_EC_COMPLETE);
  EXPECT_EQ(parameter1, S_OK);
  EXPECT_EQ(events->GetEvent(&code, &parameter1, &parameter2, 0), E_ABORT);

  // Events that filters report go to the application as they are.
  auto* sink_side = Query<D_IMediaEventSink>(graph, D_IID_IMediaEventSink);
  sink_side->Notify(D_EC_QUALITY_CHANGE, 7, 8);
  D_OAEVENT handle = 0;
  events->GetEventHandle(&handle);
  EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(handle), 0), WAIT_OBJECT_0);
  EXPECT_EQ(events->GetEvent(&code, &parameter1, &parameter2, 0), S_OK);
  EXPECT_EQ(code, D_EC_QUALITY_CHANGE);
  EXPECT_EQ(parameter2, 8);
  EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(handle), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  sink_side->Release();

  events->Release();
  control->Release();
  graph->Release();
  for (IUnknown* filter : std::initializer_list<D_IBaseFilter*>{short_source, long_source, short_sink, long_sink}) {
    EXPECT_EQ(filter->Release(), 0u);
  }
  CoUninitialize();
}

TEST(QuartzFilterGraph, WaitForCompletionTimesOutWhileTheStreamGoesOn) {
  D_IGraphBuilder* graph = CreateGraph();
  auto* source = new TestSource(100'000, 16);
  auto* sink = new TestSink(wqtest::AnyType);
  graph->AddFilter(source, u"Source");
  graph->AddFilter(sink, u"Sink");
  ASSERT_EQ(graph->Render(source->output()), S_OK);
  auto* control = Query<D_IMediaControl>(graph, D_IID_IMediaControl);
  auto* events = Query<D_IMediaEvent>(graph, D_IID_IMediaEvent);
  ASSERT_EQ(control->Run(), S_OK);
  LONG code = -1;
  EXPECT_EQ(events->WaitForCompletion(50, &code), E_ABORT);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(control->Stop(), S_OK);
  events->Release();
  control->Release();
  graph->Release();
  EXPECT_EQ(source->Release(), 0u);
  EXPECT_EQ(sink->Release(), 0u);
  CoUninitialize();
}

TEST(QuartzFilterGraph, WithoutRenderersSeekingAndVolumeAreNotImplemented) {
  D_IGraphBuilder* graph = CreateGraph();
  auto* seeking = Query<D_IMediaSeeking>(graph, D_IID_IMediaSeeking);
  auto* audio = Query<D_IBasicAudio>(graph, D_IID_IBasicAudio);
  LONGLONG value = 0;
  EXPECT_EQ(seeking->GetDuration(&value), E_NOTIMPL);
  EXPECT_EQ(seeking->SetPositions(&value, D_AM_SEEKING_AbsolutePositioning, nullptr, 0), E_NOTIMPL);
  EXPECT_EQ(seeking->IsFormatSupported(&D_TIME_FORMAT_MEDIA_TIME), S_OK);
  LONG volume = 0;
  EXPECT_EQ(audio->get_Volume(&volume), E_NOTIMPL);
  EXPECT_EQ(audio->put_Volume(0), E_NOTIMPL);
  audio->Release();
  seeking->Release();
  EXPECT_EQ(graph->Release(), 0u);
  CoUninitialize();
}

TEST(QuartzClasses, TheNullRendererTakesAnyType) {
  CoInitialize(nullptr);
  D_IBaseFilter* renderer = nullptr;
  ASSERT_EQ(CoCreateInstance(D_CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, D_IID_IBaseFilter,
                             reinterpret_cast<void**>(&renderer)),
            S_OK);
  D_IPin* input = nullptr;
  EXPECT_EQ(renderer->FindPin(u"In", &input), S_OK);
  D_AM_MEDIA_TYPE stream{};
  stream.majortype = D_MEDIATYPE_Stream;
  EXPECT_EQ(input->QueryAccept(&stream), S_OK);
  input->Release();
  EXPECT_EQ(renderer->Release(), 0u);
  CoUninitialize();
}

}  // namespace
