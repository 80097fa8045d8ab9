// Movies that the Theora player does not take play through a filter graph
// ending in the movie renderer: the size and stop position at open, frames
// handed to the callback once the movie runs, and nothing left at close.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/base/tracked_allocator.h"
#include "media/filters/base_renderer.h"
#include "media/filters/com_object.h"
#include "movie_fixture.h"
#include "support/wait_until.h"

namespace {

using wqtest::TestMovie;

struct FrameLog {
  int calls = 0;
  int width = 0;
  int height = 0;
  int number = -1;
};

FrameLog g_frames;

// The number an RGB24 frame shows in its top rows (see test_movies.h).
int ShownRgb24Number(const BaseImage& image) {
  const auto* pixels = static_cast<const BYTE*>(image.pixels);
  int number = 0;
  for (int bit = 0; bit < image.width / 8; ++bit) {
    const int green = pixels[4 * image.pitch + 3 * (8 * bit + 4) + 1];
    if (green > 200) {
      number |= 1 << bit;
    } else if (green > 50) {
      return -1;
    }
  }
  return number;
}

void RecordFrame(MovieRecord* record, int) {
  ++g_frames.calls;
  g_frames.width = record->currentImage->width;
  g_frames.height = record->currentImage->height;
  g_frames.number = ShownRgb24Number(*record->currentImage);
}

class DirectShowMovieTest : public wqtest::MovieTest {
 protected:
  void SetUp() override {
    MovieTest::SetUp();
    g_frames = FrameLog{};
    blocks_ = GetTrackedBlockCount();
  }
  void TearDown() override {
    EXPECT_EQ(GetTrackedBlockCount(), blocks_) << "everything the movie made went at its close";
    EXPECT_EQ(GetLiveFilterObjectCount(), 0);
    MovieTest::TearDown();
  }
  int blocks_ = 0;
};

TEST_F(DirectShowMovieTest, AnMpeg4MovieOpensThroughTheGraphWithItsSizeAndLength) {
  int width = 0;
  int height = 0;
  const int movie = OpenMovie(wqtest::WindowsPathOf(wqtest::TestMoviePath(TestMovie::kMpeg4)).c_str(), &width,
                              &height, 0);
  ASSERT_NE(movie, -1) << ReadLog();
  EXPECT_EQ(width, 128);
  EXPECT_EQ(height, 96);
  MovieRecord* record = GetMovieRecord(movie);
  EXPECT_EQ(record->theora, 0);
  EXPECT_NE(record->renderer, nullptr);
  EXPECT_EQ(record->temporaryFile, 0) << "the graph opened the file by name";
  EXPECT_EQ(record->stopPosition, 30000000);
  EXPECT_EQ(record->paused, 1);
  EXPECT_EQ(record->playing, 0);
  EXPECT_EQ(CloseMovie(movie), 0);
}

TEST_F(DirectShowMovieTest, ARunningMovieHandsItsFramesToTheCallback) {
  const int movie = OpenTestMovie(TestMovie::kMpeg4);
  ASSERT_NE(movie, -1) << ReadLog();
  ASSERT_EQ(SetMovieUpdateCallback(movie, &RecordFrame, 0), 0);
  Play(movie, 1);
  EXPECT_EQ(GetMovieRecord(movie)->paused, 0);
  ASSERT_TRUE(wqtest::WaitUntil([&] {
    UpdateMovie(movie, 0);
    Sleep(5);
    return g_frames.calls > 0 && g_frames.number > 0;
  })) << "frames seen: " << g_frames.calls;
  EXPECT_EQ(g_frames.width, 128);
  EXPECT_EQ(g_frames.height, 96);
  // The movie ends by itself; without the loop bit it stops there.
  ASSERT_TRUE(wqtest::WaitUntil([&] {
    UpdateMovie(movie, 0);
    Sleep(20);
    return GetMovieRecord(movie)->playing == 0;
  }));
  EXPECT_EQ(GetMovieRecord(movie)->paused, 1);
  EXPECT_GE(g_frames.number, 80) << "the last frames were shown";
  EXPECT_EQ(CloseMovie(movie), 0);
}

}  // namespace
