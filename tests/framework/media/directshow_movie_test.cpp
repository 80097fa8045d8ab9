// Movies that the Theora player does not take play through a filter graph
// ending in the movie renderer: the size and stop position at open, frames
// handed to the callback once the movie runs, and nothing left at close.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/base/tracked_allocator.h"
#include "core/files/file_access_table.h"
#include "media/filters/base_renderer.h"
#include "media/filters/com_object.h"
#include "movie_fixture.h"
#include "support/wait_until.h"
#include "support/wqa_archive_builder.h"

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
    // An archive stays open for later reads.
    if (!archiveOpen_) {
      EXPECT_EQ(GetTrackedBlockCount(), blocks_) << "everything the movie made went at its close";
    }
    EXPECT_EQ(GetLiveFilterObjectCount(), 0);
    MovieTest::TearDown();
  }
  int blocks_ = 0;
  bool archiveOpen_ = false;
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

TEST_F(DirectShowMovieTest, AnMpeg4FileLoadsAsAGraphThatFollowsTheMovie) {
  const int graph = LoadGraph(wqtest::WindowsPathOf(wqtest::TestMoviePath(TestMovie::kMpeg4)).c_str(), 0);
  ASSERT_GE(graph, 0) << ReadLog();
  int width = 0;
  int height = 0;
  ASSERT_EQ(GetGraphSize(graph, &width, &height), 0);
  EXPECT_EQ(width, 128);
  EXPECT_EQ(height, 96);
  EXPECT_EQ(DrawGraph(0, 0, graph, 0), 0);
  EXPECT_EQ(PresentScreen(), 0);
  EXPECT_EQ(DeleteGraph(graph), 0);
}

// The Linux form of a rendered path on drive C:.
std::filesystem::path LinuxPathOf(const WCHAR* windowsPath) {
  std::string path;
  for (const WCHAR* c = windowsPath + 2; *c != 0; ++c) path += *c == u'\\' ? '/' : static_cast<char>(*c);
  return path;
}

TEST_F(DirectShowMovieTest, AMovieInsideAnArchivePlaysFromAnExactTemporaryCopy) {
  std::string bytes = wqtest::TestMovieBytes(TestMovie::kMpeg4);
  ASSERT_LT(bytes.size(), 1048576u);
  const auto key = "MOVIEKY";
  // The copy goes in pieces of 1 MB: one piece exactly, and a last piece
  // of one byte. Bytes past the movie's end are not read by the demuxer.
  std::string exact = bytes + std::string(1048576 - bytes.size(), '\0');
  std::string beyond = exact + '\0';
  const std::vector<std::uint8_t> archive = wqtest::BuildWqa(
      {wqtest::WqaFile("clip.mp4", bytes), wqtest::WqaFile("exact.mp4", exact), wqtest::WqaFile("beyond.mp4", beyond)},
      wqtest::WqaOptions(key));
  folder_.WriteFile("packed.WQA", std::string(archive.begin(), archive.end()));
  SetArchiveKey(key);
  archiveOpen_ = true;
  for (const auto& [name, size] : {std::pair{"clip.mp4", bytes.size()}, std::pair{"exact.mp4", exact.size()},
                                   std::pair{"beyond.mp4", beyond.size()}}) {
    int width = 0;
    const int movie = OpenMovie((folder_.WindowsPath() + "\\packed\\" + name).c_str(), &width, nullptr, 0);
    ASSERT_NE(movie, -1) << name << "\n" << ReadLog();
    EXPECT_EQ(width, 128);
    const MovieRecord* record = GetMovieRecord(movie);
    ASSERT_EQ(record->temporaryFile, 1) << name;
    const std::filesystem::path copy = LinuxPathOf(record->renderedPath);
    ASSERT_TRUE(std::filesystem::exists(copy)) << copy;
    EXPECT_EQ(std::filesystem::file_size(copy), size) << name;
    EXPECT_EQ(CloseMovie(movie), 0);
    EXPECT_FALSE(std::filesystem::exists(copy)) << "the copy goes with the movie";
  }
  SetArchiveKey(nullptr);
}

// A renderer the graph does not take is deleted with the graph, and the
// open fails with its line.
TEST_F(DirectShowMovieTest, ARendererTheGraphRefusesGoesWithTheFailedOpen) {
  WqControlSetFilterGraphCallFails("AddFilter", true);
  EXPECT_EQ(OpenTestMovie(TestMovie::kMpeg4), -1);
  WqControlSetFilterGraphCallFails("AddFilter", false);
  wqtest::ExpectLogInOrder(ReadLog(), {"Could not add renderer filter to graph!",
                                       "ムービーファイルオープン処理時にエラーが発生しました"});
  EXPECT_EQ(GetLiveFilterObjectCount(), 0);
}

// Reads through the file layer that come back one byte short.
std::int64_t (*g_realRead)(void*, std::size_t, std::size_t, FileHandle);
std::int64_t ShortRead(void* destination, std::size_t itemSize, std::size_t count, FileHandle file) {
  return g_realRead(destination, itemSize, count > 1 ? count - 1 : count, file);
}

// A copy that could not be read whole is not rendered: the open fails and
// the partial copy is deleted at once.
TEST_F(DirectShowMovieTest, ACopyCutShortByTheFileLayerFailsAndIsDeleted) {
  const wqtest::TempDir temporary;
  ASSERT_EQ(setenv("TMPDIR", temporary.path().c_str(), 1), 0);
  const std::string bytes = wqtest::TestMovieBytes(TestMovie::kMpeg4);
  const std::vector<std::uint8_t> archive =
      wqtest::BuildWqa({wqtest::WqaFile("clip.mp4", bytes)}, wqtest::WqaOptions("MOVIEKY"));
  folder_.WriteFile("packed.WQA", std::string(archive.begin(), archive.end()));
  SetArchiveKey("MOVIEKY");
  archiveOpen_ = true;
  FileAccessTable shortReads = *GetFileAccessTable();
  const FileAccessTable saved = shortReads;
  g_realRead = shortReads.read;
  shortReads.read = ShortRead;
  SetupFileAccessTable(&shortReads);
  const std::string path = folder_.WindowsPath() + "\\packed\\clip.mp4";
  EXPECT_EQ(OpenMovie(path.c_str(), nullptr, nullptr, 0), -1);
  SetupFileAccessTable(&saved);
  EXPECT_NE(ReadLog().find("ファイル:" + path + " が開けませんでした"), std::string::npos) << ReadLog();
  EXPECT_TRUE(std::filesystem::is_empty(temporary.path())) << "no copy is left behind";
  EXPECT_EQ(GetLiveFilterObjectCount(), 0);
  SetArchiveKey(nullptr);
  unsetenv("TMPDIR");
}

}  // namespace
