// The Theora player on generated movies: the scan's tables, seeks and
// advances identified by each frame's own picture, the decoding thread's
// stock around the wrap, the conversion flags, and files it refuses.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>

#include "support/temp_dir.h"
#include "support/wait_until.h"
#include "theora_fixture.h"

namespace {

using wqtest::TestMovie;
using wqtest::TheoraTest;

TEST_F(TheoraTest, ScanFindsEveryFrameTheKeyFramesAndThePages) {
  ASSERT_NE(Open(wqtest::TestMoviePath(TestMovie::kWithSound)), nullptr);
  const std::string bytes = wqtest::TestMovieBytes(TestMovie::kWithSound);
  TheoraMovieInfo info{};
  GetTheoraMovieInfo(context_, &info);
  EXPECT_EQ(info.frameCount, 90);
  EXPECT_DOUBLE_EQ(info.frameRate, 30.0);
  EXPECT_EQ(info.width, 128);
  EXPECT_EQ(info.height, 96);
  std::set<int> keys;
  for (int frame = 0; frame < 90; ++frame)
    if (context_->keyFrames[frame]) keys.insert(frame);
  EXPECT_EQ(keys, (std::set<int>{0, 30, 60}));

  // Pages run in file order and together hold every frame once; a page is
  // marked key exactly when a key frame came out of it; each recorded
  // offset (but the first, which points at the top) starts an Ogg page.
  ASSERT_GT(context_->pageCount, 10);
  EXPECT_EQ(context_->pages[0].offset, 0);
  int nextFrame = 0;
  for (int i = 0; i < context_->pageCount; ++i) {
    const TheoraPageEntry& page = context_->pages[i];
    EXPECT_EQ(page.firstFrame, nextFrame) << "page " << i;
    nextFrame += page.frameCount;
    bool key = false;
    for (int frame = page.firstFrame; frame < page.firstFrame + page.frameCount; ++frame)
      key = key || context_->keyFrames[frame] != 0;
    EXPECT_EQ(page.key != 0, key) << "page " << i;
    if (i > 0) {
      EXPECT_GT(page.offset, context_->pages[i - 1].offset);
      EXPECT_EQ(bytes.compare(static_cast<std::size_t>(page.offset), 4, "OggS"), 0) << "page " << i;
    }
  }
  EXPECT_EQ(nextFrame, 90);
}

TEST_F(TheoraTest, OpensOnFrameZeroConverted) {
  ASSERT_NE(Open(wqtest::TestMoviePath(TestMovie::kSilent)), nullptr);
  EXPECT_EQ(GetTheoraCurrentFrame(context_), 0);
  EXPECT_EQ(context_->imageConverted, 1);
  EXPECT_EQ(wqtest::ShownFrameNumber(context_->frameImage), 0);
  // Nothing new to convert until the frame moves.
  EXPECT_EQ(ConvertTheoraFrame(context_, 1, 0), 0);
  AdvanceTheoraMovie(context_, 1);
  EXPECT_EQ(ConvertTheoraFrame(context_, 1, 0), 1);
  EXPECT_EQ(ConvertTheoraFrame(context_, 1, 0), 0);
  EXPECT_EQ(wqtest::ShownFrameNumber(context_->frameImage), 1);
}

TEST_F(TheoraTest, RandomSeeksAndAdvancesShowTheAskedFrame) {
  ASSERT_NE(Open(wqtest::TestMoviePath(TestMovie::kWithSound)), nullptr);
  std::mt19937 random(22);
  int expected = 0;
  for (int step = 0; step < 120; ++step) {
    if (random() % 3 == 0) {
      expected = static_cast<int>(random() % 90);
      SeekTheoraMovie(context_, expected);
    } else {
      // Small steps (the clock's usual pace) and long ones across the end.
      const int frames = random() % 2 ? 1 + static_cast<int>(random() % 4) : 1 + static_cast<int>(random() % 89);
      AdvanceTheoraMovie(context_, frames);
      expected = (expected + frames) % 90;
    }
    ASSERT_EQ(GetTheoraCurrentFrame(context_), expected) << "step " << step;
    ASSERT_EQ(Shown(), expected) << "step " << step;
  }
}

TEST_F(TheoraTest, SeekTargetsAreClampedToTheMovie) {
  ASSERT_NE(Open(wqtest::TestMoviePath(TestMovie::kSilent)), nullptr);
  SeekTheoraMovie(context_, 90);
  EXPECT_EQ(GetTheoraCurrentFrame(context_), 89);
  EXPECT_EQ(Shown(), 89);
  SeekTheoraMovie(context_, -7);
  EXPECT_EQ(GetTheoraCurrentFrame(context_), 0);
  EXPECT_EQ(Shown(), 0);
}

TEST_F(TheoraTest, StockKeepsTheWindowThatContinuesAtTheStart) {
  ASSERT_NE(Open(wqtest::TestMoviePath(TestMovie::kSilent)), nullptr);
  SeekTheoraMovie(context_, 88);
  ASSERT_EQ(Shown(), 88);
  auto stockedFrames = [&] {
    std::set<int> frames;
    for (int i = 0; i < context_->stockSize; ++i)
      if (context_->stock[i].used) frames.insert(context_->stock[i].frame);
    return frames;
  };
  // The stock fills with 88, 89 and the frames after the wrap.
  ASSERT_TRUE(wqtest::WaitUntil([&] { return context_->threadState == kTheoraStockFull; }));
  EXPECT_EQ(stockedFrames(), (std::set<int>{88, 89, 0, 1, 2, 3, 4, 5, 6, 7}));
  // After the wrap the decoder started again at the top: frame 0's entry
  // holds frame 0's picture.
  AdvanceTheoraMovie(context_, 2);
  EXPECT_EQ(Shown(), 0);
  ASSERT_TRUE(wqtest::WaitUntil([&] {
    const std::set<int> frames = stockedFrames();
    return context_->threadState == kTheoraStockFull && !frames.contains(88) && !frames.contains(89);
  }));
  EXPECT_EQ(stockedFrames(), (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(TheoraTest, NoMoveChangesNothing) {
  ASSERT_NE(Open(wqtest::TestMoviePath(TestMovie::kSilent)), nullptr);
  for (int frames : {0, -3}) {
    AdvanceTheoraMovie(context_, frames);
    EXPECT_EQ(GetTheoraCurrentFrame(context_), 0);
    EXPECT_EQ(context_->imageConverted, 1);
  }
  // A seek to the shown frame does not even pause the thread.
  const std::int32_t ticket = context_->pauseTicket;
  SeekTheoraMovie(context_, 0);
  EXPECT_EQ(context_->pauseTicket, ticket);
  EXPECT_EQ(context_->imageConverted, 1);
}

TEST_F(TheoraTest, ConversionGivesUpOnceTheThreadHasEnded) {
  ASSERT_NE(Open(wqtest::TestMoviePath(TestMovie::kSilent)), nullptr);
  context_->stopRequest = 1;
  ASSERT_TRUE(wqtest::WaitUntil([&] { return context_->threadState == kTheoraEnded; }));
  AdvanceTheoraMovie(context_, 40);
  EXPECT_EQ(ConvertTheoraFrame(context_, 1, 0), 0);
}

TEST_F(TheoraTest, OpenAndCloseAgainAndAgainLeavesNothingBehind) {
  const std::string path = wqtest::TestMoviePath(TestMovie::kWithSound);
  const int blocks = GetTrackedBlockCount();
  std::mt19937 random(7);
  for (int round = 0; round < 100; ++round) {
    ASSERT_NE(Open(path), nullptr) << "round " << round;
    // Close while the thread decodes towards a far frame, or at once.
    if (round % 2) AdvanceTheoraMovie(context_, 1 + static_cast<int>(random() % 89));
    Close();
    ASSERT_EQ(GetTrackedBlockCount(), blocks) << "round " << round;
  }
}

class TheoraRefusalTest : public TheoraTest {
 protected:
  // Opens the bytes as a file; the tracked blocks must be as before.
  TheoraContext* OpenBytes(const std::string& bytes) {
    dir_.WriteFile("movie.ogv", bytes);
    const int blocks = GetTrackedBlockCount();
    TheoraContext* context = Open((dir_.path() / "movie.ogv").string());
    if (context == nullptr) {
      Close();
      EXPECT_EQ(GetTrackedBlockCount(), blocks);
    }
    return context;
  }
  // The offset of the first page with a granule position: the first one
  // holding frames.
  static std::size_t FirstFramePage(const std::string& bytes) {
    std::size_t offset = 0;
    while (offset + 27 <= bytes.size()) {
      std::int64_t granule = 0;
      std::memcpy(&granule, bytes.data() + offset + 6, 8);
      if (granule > 0) return offset;
      const int segments = static_cast<std::uint8_t>(bytes[offset + 26]);
      std::size_t body = 0;
      for (int i = 0; i < segments; ++i) body += static_cast<std::uint8_t>(bytes[offset + 27 + i]);
      offset += 27 + segments + body;
    }
    return bytes.size();
  }
  wqtest::TempDir dir_;
};

TEST_F(TheoraRefusalTest, FilesThatAreNotTheoraMoviesAreRefused) {
  const std::string movie = wqtest::TestMovieBytes(TestMovie::kSilent);
  const std::size_t framesStart = FirstFramePage(movie);
  ASSERT_LT(framesStart, movie.size());
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"not Ogg", "RIFF" + movie.substr(4)},
      {"empty", ""},
      {"only Vorbis", wqtest::TestMovieBytes(TestMovie::kVorbisOnly)},
      {"cut inside the headers", movie.substr(0, framesStart / 2)},
      {"headers but no frame", movie.substr(0, framesStart)},
  };
  for (const auto& c : cases) EXPECT_EQ(OpenBytes(c.bytes), nullptr) << c.what;
}

TEST_F(TheoraRefusalTest, MovieCutInTheMiddlePlaysTheFramesItHas) {
  const std::string movie = wqtest::TestMovieBytes(TestMovie::kSilent);
  ASSERT_NE(OpenBytes(movie.substr(0, (FirstFramePage(movie) + movie.size()) / 2)), nullptr);
  TheoraMovieInfo info{};
  GetTheoraMovieInfo(context_, &info);
  ASSERT_GT(info.frameCount, 10);
  ASSERT_LT(info.frameCount, 90);
  for (int frame : {info.frameCount - 1, 3, info.frameCount / 2}) {
    SeekTheoraMovie(context_, frame);
    EXPECT_EQ(Shown(), frame);
  }
  // Across the end of what is left, back to the start.
  AdvanceTheoraMovie(context_, info.frameCount - info.frameCount / 2 + 1);
  EXPECT_EQ(Shown(), 1);
}

}  // namespace
