// Movie files loaded as graphs, from disk and from an archive: the graph
// holds frame 0 at once, draws it, follows the clock at each draw, and
// deleting the graph closes the movie.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/base/tracked_allocator.h"
#include "core/window/window_system_state.h"
#include "graphics/graph_record.h"
#include "movie_fixture.h"
#include "support/wqa_archive_builder.h"

namespace {

using wqtest::MovieTest;
using wqtest::TestMovie;

// The frame number a 32-bit pixel block shows in its top-left 128 x 96.
int FrameIn(void* pixels, int pitch) {
  BaseImage view{};
  view.width = 128;
  view.height = 96;
  view.pitch = static_cast<std::uint32_t>(pitch);
  view.pixels = pixels;
  return wqtest::ShownFrameNumber(view);
}

class MovieGraphTest : public MovieTest {
 protected:
  // The frame the graph's texture holds.
  static int GraphFrame(int graph) {
    const GraphTextureEntry& entry = FindGraphRecord(graph)->image->entries[0];
    D_IDirect3DTexture9* texture = entry.memoryTwin != nullptr ? entry.memoryTwin : entry.texture;
    D_D3DLOCKED_RECT locked{};
    if (texture->LockRect(0, &locked, nullptr, 0) != 0) return -2;
    const int frame = FrameIn(locked.pBits, locked.Pitch);
    texture->UnlockRect(0);
    return frame;
  }
  // The frame the window shows after drawing the graph at the top left.
  static int DrawnFrame(int graph) {
    EXPECT_EQ(ClearDrawTarget(nullptr), 0);
    EXPECT_EQ(DrawGraph(0, 0, graph, 0), 0);
    EXPECT_EQ(PresentScreen(), 0);
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    EXPECT_TRUE(WqControlReadWindowPixels(GetMainWindow(), &pixels, &width, &height));
    return FrameIn(pixels.data(), width * 4);
  }
};

TEST_F(MovieGraphTest, MovieGraphShowsFrameZeroThenFollowsTheClock) {
  const std::string bytes = wqtest::TestMovieBytes(TestMovie::kSilent);
  const auto key = "MOVIEKY";
  folder_.WriteFile("disk/clip.ogv", bytes);
  const std::vector<std::uint8_t> archive = wqtest::BuildWqa({wqtest::WqaFile("clip.ogv", bytes)},
                                                             wqtest::WqaOptions(key));
  folder_.WriteFile("packed.WQA", std::string(archive.begin(), archive.end()));
  SetArchiveKey(key);
  for (const char* place : {"disk", "packed"}) {
    const int blocks = GetTrackedBlockCount();
    const int graph = LoadGraph((folder_.WindowsPath() + "\\" + place + "\\clip.ogv").c_str(), 0);
    ASSERT_GE(graph, 0) << place;
    const int movie = FindGraphRecord(graph)->movie;
    ASSERT_NE(GetMovieRecord(movie), nullptr);
    EXPECT_EQ(GraphFrame(graph), 0) << place;
    EXPECT_EQ(DrawnFrame(graph), 0) << place;
    Play(movie, 1);
    WqControlAdvanceVirtualClock(30 * 1000000 / 30 + 15000);
    EXPECT_EQ(DrawnFrame(graph), 30) << place;
    EXPECT_EQ(GraphFrame(graph), 30) << place;
    EXPECT_EQ(DeleteGraph(graph), 0);
    EXPECT_EQ(GetMovieRecord(movie), nullptr);
    // The archive stays open for later reads; a file from disk leaves nothing.
    if (std::strcmp(place, "disk") == 0) {
      EXPECT_EQ(GetTrackedBlockCount(), blocks);
    }
  }
}

TEST_F(MovieGraphTest, FileNoReaderNorPlayerTakesIsAFailedLoad) {
  folder_.WriteFile("sound.ogg", wqtest::TestMovieBytes(TestMovie::kVorbisOnly));
  EXPECT_EQ(LoadGraph((folder_.WindowsPath() + "\\sound.ogg").c_str(), 0), -1);
  wqtest::ExpectLogInOrder(ReadLog(), {"ムービーファイルオープン処理時にエラーが発生しました",
                                       "右記のグラフィックファイルのロードに失敗しました："});
}

}  // namespace
