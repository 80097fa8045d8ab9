#include <gtest/gtest.h>

#include "quartz_media_files.h"
#include "quartz_test_filters.h"

namespace {

using wqtest::CreateGraph;
using wqtest::Query;
using wqtest::TestSink;

constexpr int kWidth = 66;  // rows of 198 bytes, padded to 200
constexpr int kHeight = 48;
constexpr int kPitch = 200;
constexpr int kFrames = 10;
constexpr LONGLONG kDuration = 4'000'000;  // ten frames at 25 a second

// Red over blue, so row order shows.
std::string MakeMovie(const wqtest::MediaFolder& folder, const char* name, const char* codec) {
  return folder.Make(std::string("-f lavfi -i color=c=red:size=") + std::to_string(kWidth) + "x" +
                         std::to_string(kHeight) +
                         ":rate=25,drawbox=x=0:y=24:w=66:h=24:color=blue:t=fill -frames:v 10 -pix_fmt yuv420p -c:v " +
                         codec,
                     name);
}

int FilterCount(D_IGraphBuilder* graph) {
  D_IEnumFilters* filters = nullptr;
  graph->EnumFilters(&filters);
  int count = 0;
  D_IBaseFilter* filter = nullptr;
  while (filters->Next(1, &filter, nullptr) == S_OK) {
    ++count;
    filter->Release();
  }
  filters->Release();
  return count;
}

// A graph with the test's renderer, ready to render a movie into it.
struct MovieGraph {
  MovieGraph() : graph(CreateGraph()), sink(new TestSink(wqtest::Rgb24Video)) {
    graph->AddFilter(sink, u"MovieRenderer");
    control = Query<D_IMediaControl>(graph, D_IID_IMediaControl);
    seeking = Query<D_IMediaSeeking>(graph, D_IID_IMediaSeeking);
    events = Query<D_IMediaEvent>(graph, D_IID_IMediaEvent);
  }
  ~MovieGraph() {
    events->Release();
    seeking->Release();
    control->Release();
    EXPECT_EQ(graph->Release(), 0u);
    EXPECT_EQ(sink->Release(), 0u);
    CoUninitialize();
  }
  LONG RunToCompletion() {
    EXPECT_EQ(control->Run(), S_OK);
    LONG code = 0;
    EXPECT_EQ(events->WaitForCompletion(20'000, &code), S_OK);
    return code;
  }

  D_IGraphBuilder* graph;
  TestSink* sink;
  D_IMediaControl* control;
  D_IMediaSeeking* seeking;
  D_IMediaEvent* events;
};

TEST(QuartzMovieSource, RenderFileDeliversBottomUpRgb24FramesToTheRendererInTheGraph) {
  wqtest::MediaFolder folder;
  for (const auto& [name, codec] : {std::pair{"movie.mp4", "mpeg4"}, std::pair{"movie.webm", "libvpx"}}) {
    SCOPED_TRACE(name);
    MovieGraph movie;
    ASSERT_EQ(movie.graph->RenderFile(wqtest::WindowsPath(MakeMovie(folder, name, codec)).c_str(), nullptr), S_OK);
    EXPECT_EQ(FilterCount(movie.graph), 2);  // the source and the test's renderer
    const auto* info = reinterpret_cast<const D_VIDEOINFOHEADER*>(movie.sink->connected.pbFormat);
    EXPECT_EQ(info->bmiHeader.biWidth, kWidth);
    EXPECT_EQ(info->bmiHeader.biHeight, kHeight);
    EXPECT_EQ(info->bmiHeader.biBitCount, 24);

    LONGLONG duration = 0;
    EXPECT_EQ(movie.seeking->GetDuration(&duration), S_OK);
    EXPECT_NEAR(duration, kDuration, 400'000);
    EXPECT_EQ(movie.RunToCompletion(), D_EC_COMPLETE);

    const auto frames = movie.sink->Received();
    ASSERT_EQ(frames.size(), static_cast<size_t>(kFrames));
    EXPECT_EQ(frames[0].start, 0);
    EXPECT_EQ(frames[1].start, 400'000);
    for (const auto& frame : frames) ASSERT_EQ(frame.bytes.size(), static_cast<size_t>(kPitch * kHeight));
    // Bytes are blue, green, red; the first row in the buffer is the bottom one.
    const auto& bytes = frames[0].bytes;
    const size_t top = static_cast<size_t>(kPitch) * (kHeight - 1) + 3 * 10;
    EXPECT_GT(bytes[top + 2], 200);
    EXPECT_LT(bytes[top + 0], 60);
    EXPECT_GT(bytes[3 * 10 + 0], 200);
    EXPECT_LT(bytes[3 * 10 + 2], 60);
  }
}

TEST(QuartzMovieSource, SeekingThroughTheGraphRestartsFromTheNewPosition) {
  wqtest::MediaFolder folder;
  MovieGraph movie;
  ASSERT_EQ(movie.graph->RenderFile(wqtest::WindowsPath(MakeMovie(folder, "movie.mp4", "mpeg4")).c_str(), nullptr),
            S_OK);
  LONGLONG position = 2'000'000;
  EXPECT_EQ(movie.seeking->SetPositions(&position, D_AM_SEEKING_AbsolutePositioning, nullptr,
                                        D_AM_SEEKING_NoPositioning),
            S_OK);
  EXPECT_EQ(movie.RunToCompletion(), D_EC_COMPLETE);
  auto frames = movie.sink->Received();
  ASSERT_EQ(frames.size(), 5u);
  EXPECT_EQ(frames[0].start, 0);  // stream time begins at the sought position
  LONGLONG current = 0;
  LONGLONG stop = 0;
  EXPECT_EQ(movie.seeking->GetCurrentPosition(&current), S_OK);
  EXPECT_EQ(movie.seeking->GetStopPosition(&stop), S_OK);
  EXPECT_EQ(current, stop);

  // A movie that ended plays again from the start when set back to 0 while
  // the graph still runs, as a looping movie does.
  position = 0;
  EXPECT_EQ(movie.seeking->SetPositions(&position, D_AM_SEEKING_AbsolutePositioning, nullptr,
                                        D_AM_SEEKING_NoPositioning),
            S_OK);
  LONG code = 0;
  EXPECT_EQ(movie.events->WaitForCompletion(20'000, &code), S_OK);
  EXPECT_EQ(code, D_EC_COMPLETE);
  EXPECT_EQ(movie.sink->ReceivedCount(), 5u + kFrames);
  EXPECT_EQ(movie.control->Stop(), S_OK);
}

TEST(QuartzMovieSource, WithoutARendererOfTheCallersTheVideoEndsInTheDefaultOne) {
  wqtest::MediaFolder folder;
  D_IGraphBuilder* graph = CreateGraph();
  ASSERT_EQ(graph->RenderFile(wqtest::WindowsPath(MakeMovie(folder, "movie.mp4", "mpeg4")).c_str(), nullptr), S_OK);
  EXPECT_EQ(FilterCount(graph), 2);
  auto* control = Query<D_IMediaControl>(graph, D_IID_IMediaControl);
  auto* events = Query<D_IMediaEvent>(graph, D_IID_IMediaEvent);
  EXPECT_EQ(control->Run(), S_OK);
  LONG code = 0;
  EXPECT_EQ(events->WaitForCompletion(20'000, &code), S_OK);
  EXPECT_EQ(code, D_EC_COMPLETE);
  events->Release();
  control->Release();
  EXPECT_EQ(graph->Release(), 0u);
  CoUninitialize();
}

TEST(QuartzMovieSource, RenderFileRefusesWhatIsNotAMovieAndLeavesTheGraphAsItWas) {
  wqtest::MediaFolder folder;
  const struct {
    const char* what;
    std::string path;
    HRESULT expected;
  } cases[] = {
      {"garbage", folder.Write("garbage.mp4", std::vector<unsigned char>(4096, 0x5A)), D_VFW_E_UNKNOWN_FILE_TYPE},
      {"a picture", folder.Make("-f lavfi -i color=c=red:size=32x32 -frames:v 1", "picture.png"),
       D_VFW_E_UNKNOWN_FILE_TYPE},
      {"a picture in a movie container",
       folder.Make("-f lavfi -i color=c=red:size=32x32 -frames:v 1 -c:v mjpeg", "picture.jpg"),
       D_VFW_E_UNKNOWN_FILE_TYPE},
      {"sound only", folder.Make("-f lavfi -i sine=frequency=440:duration=0.5 -c:a mp2", "sound.mp2"),
       D_VFW_E_UNSUPPORTED_STREAM},
      {"no file", folder.Write("gone.mp4", {}) + ".missing", HRESULT_FROM_WIN32(2)},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.what);
    MovieGraph movie;
    EXPECT_EQ(movie.graph->RenderFile(wqtest::WindowsPath(entry.path).c_str(), nullptr), entry.expected);
    EXPECT_EQ(FilterCount(movie.graph), 1);
    EXPECT_EQ(movie.sink->connections, 0);
  }
}

}  // namespace
