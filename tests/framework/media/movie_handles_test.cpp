// Movie handles on a started library: validation, the record of a fresh
// movie, the clock that moves the frame (with and without sound, looping
// or not), pausing, window deactivation, and files no player takes.
#include <gtest/gtest.h>

#include "core/base/tracked_allocator.h"
#include "core/window/window_system_state.h"
#include "movie_fixture.h"

namespace {

using wqtest::MovieTest;
using wqtest::TestMovie;

constexpr std::uint64_t kFrameUs = 1000000 / 30;

TEST_F(MovieTest, InvalidHandlesAreRefusedEverywhere) {
  const int movie = OpenTestMovie(TestMovie::kSilent);
  ASSERT_GE(movie, 0);
  EXPECT_EQ(movie & 0x78000000, 0x18000000);
  const int closed = OpenTestMovie(TestMovie::kSilent);
  ASSERT_EQ(CloseMovie(closed), 0);
  const int slot = movie & 0xFFFF;
  const int handles[] = {
      -1,
      0x08000000 | (movie & 0x07FF0000) | slot,  // a graph's kind
      (movie & ~0xFFFF) | 100,                    // past the table
      (movie & ~0xFFFF) | 57,                     // an empty slot
      closed,                                     // closed
      movie ^ 0x00010000,                         // another check value
  };
  for (int handle : handles) {
    EXPECT_EQ(GetMovieRecord(handle), nullptr) << std::hex << handle;
    EXPECT_EQ(CloseMovie(handle), -1);
    EXPECT_EQ(UpdateMovie(handle, 0), -1);
    EXPECT_EQ(PauseMovie(handle, 0), -1);
    EXPECT_EQ(DrawMovieToWindow(0, 0, 1.0, handle, 1), -1);
    EXPECT_EQ(SetMovieUpdateCallback(handle, nullptr, 0), -1);
  }
  // The slot is taken again with the next check value.
  const int again = OpenTestMovie(TestMovie::kSilent);
  EXPECT_EQ(again & 0xFFFF, closed & 0xFFFF);
  EXPECT_EQ((again >> 16 & 0x7FF), (closed >> 16 & 0x7FF) + 1);
  EXPECT_EQ(CloseMovie(again), 0);
  EXPECT_EQ(CloseMovie(movie), 0);
}

TEST_F(MovieTest, MovieOpensPausedOnFrameZeroAndCloseFreesEverything) {
  const int blocks = GetTrackedBlockCount();
  int width = 0, height = 0;
  const int movie =
      OpenMovie(wqtest::WindowsPathOf(wqtest::TestMoviePath(TestMovie::kWithSound)).c_str(), &width, &height, 0);
  ASSERT_GE(movie, 0);
  EXPECT_EQ(width, 128);
  EXPECT_EQ(height, 96);
  const MovieRecord* record = GetMovieRecord(movie);
  EXPECT_EQ(record->theora, 1);
  EXPECT_EQ(record->paused, 1);
  EXPECT_EQ(record->playing, 0);
  EXPECT_EQ(record->playType, 1);
  EXPECT_GE(record->sound, 0);
  EXPECT_EQ(record->currentImage, &record->theoraContext->frameImage);
  EXPECT_EQ(wqtest::ShownFrameNumber(*record->currentImage), 0);
  // Paused, the clock does not move it.
  WqControlAdvanceVirtualClock(2000000);
  EXPECT_EQ(UpdateMovie(movie, 0), 0);
  EXPECT_EQ(GetTheoraCurrentFrame(record->theoraContext), 0);
  EXPECT_EQ(CloseMovie(movie), 0);
  EXPECT_EQ(GetTrackedBlockCount(), blocks);
}

// 30 frames a second, 90 frames, no sound: 3.5 s after the start.
TEST_F(MovieTest, SilentMovieFollowsTheClockAndWrapsOrStops) {
  const struct {
    int playType;
    int frame;
  } cases[] = {{3, 15}, {1, 89}};
  for (const auto& c : cases) {
    const int movie = OpenTestMovie(TestMovie::kSilent);
    ASSERT_GE(movie, 0);
    Play(movie, c.playType);
    const MovieRecord* record = GetMovieRecord(movie);
    WqControlAdvanceVirtualClock(3500000);
    UpdateMovie(movie, 0);
    EXPECT_EQ(GetTheoraCurrentFrame(record->theoraContext), c.frame) << c.playType;
    EXPECT_EQ(Shown(movie), c.frame);
    EXPECT_EQ(record->playing, 1);
    // The update that finds the last frame already shown ends a movie
    // that does not loop.
    UpdateMovie(movie, 0);
    EXPECT_EQ(record->playing, c.playType == 1 ? 0 : 1);
    EXPECT_EQ(record->paused, c.playType == 1 ? 1 : 0);
    CloseMovie(movie);
  }
}

TEST_F(MovieTest, LoopingMovieWrapsForwardToTheTargetFrame) {
  const int movie = OpenTestMovie(TestMovie::kSilent);
  ASSERT_GE(movie, 0);
  SeekTheoraMovie(GetMovieRecord(movie)->theoraContext, 80);
  ASSERT_EQ(Shown(movie), 80);
  Play(movie, 3);
  // The clock continues at frame 80; 15 frames later it asks for frame 5.
  WqControlAdvanceVirtualClock(15 * kFrameUs + kFrameUs / 2);
  UpdateMovie(movie, 0);
  EXPECT_EQ(GetTheoraCurrentFrame(GetMovieRecord(movie)->theoraContext), 5);
  EXPECT_EQ(Shown(movie), 5);
  CloseMovie(movie);
}

TEST_F(MovieTest, MovieWithSoundFollowsTheSoundAndHoldsTheLastFrame) {
  const int movie = OpenTestMovie(TestMovie::kWithSound);
  ASSERT_GE(movie, 0);
  const MovieRecord* record = GetMovieRecord(movie);
  ASSERT_GE(record->sound, 0);
  Play(movie, 1);
  // The sound's position, not the clock, picks the frame.
  auto runSound = [&](int untilMs) {
    for (int step = 0; step < 100 && GetSoundCurrentTime(record->sound) < untilMs; ++step) {
      WqControlAdvanceVirtualClock(50000);
      PumpMessages();
    }
  };
  runSound(1000);
  UpdateMovie(movie, 0);
  const int frame = GetTheoraCurrentFrame(record->theoraContext);
  EXPECT_EQ(frame, GetSoundCurrentTime(record->sound) * 30 / 1000);
  EXPECT_GE(frame, 30);
  EXPECT_EQ(Shown(movie), frame);
  // The sound runs past the picture's end: the last frame stays, and the
  // picture does not stop the movie.
  runSound(3200);
  ASSERT_GE(GetSoundCurrentTime(record->sound), 3200);
  for (int round = 0; round < 2; ++round) {
    UpdateMovie(movie, 0);
    EXPECT_EQ(GetTheoraCurrentFrame(record->theoraContext), 89);
    EXPECT_EQ(record->playing, 1);
    EXPECT_EQ(record->paused, 0);
  }
  CloseMovie(movie);
}

TEST_F(MovieTest, PauseStopsTheClockAndKeepsOrClearsPlaying) {
  const int movie = OpenTestMovie(TestMovie::kSilent);
  ASSERT_GE(movie, 0);
  MovieRecord* record = GetMovieRecord(movie);
  Play(movie, 1);
  WqControlAdvanceVirtualClock(10 * kFrameUs + kFrameUs / 2);
  EXPECT_EQ(PauseMovie(movie, 1), 0);
  EXPECT_EQ(GetTheoraCurrentFrame(record->theoraContext), 10);
  EXPECT_EQ(record->paused, 1);
  EXPECT_EQ(record->playing, 1);
  // Pausing a paused movie changes nothing, not even the playing flag.
  EXPECT_EQ(PauseMovie(movie, 0), 0);
  EXPECT_EQ(record->playing, 1);
  WqControlAdvanceVirtualClock(2000000);
  UpdateMovie(movie, 0);
  EXPECT_EQ(GetTheoraCurrentFrame(record->theoraContext), 10);
  // Resumed, the clock continues at the frame shown.
  ResumeAllMovies();
  WqControlAdvanceVirtualClock(5 * kFrameUs + kFrameUs / 2);
  UpdateMovie(movie, 0);
  EXPECT_EQ(GetTheoraCurrentFrame(record->theoraContext), 15);
  EXPECT_EQ(PauseMovie(movie, 0), 0);
  EXPECT_EQ(record->playing, 0);
  // A movie paused without keep-playing is not resumed.
  ResumeAllMovies();
  EXPECT_EQ(record->paused, 1);
  CloseMovie(movie);
}

TEST_F(MovieTest, WindowDeactivationPausesPlayingMoviesAndActivationResumesThem) {
  const int playing = OpenTestMovie(TestMovie::kSilent);
  const int idle = OpenTestMovie(TestMovie::kSilent);
  ASSERT_GE(playing, 0);
  ASSERT_GE(idle, 0);
  Play(playing, 3);
  WqControlAdvanceVirtualClock(20 * kFrameUs + kFrameUs / 2);
  SendMessageA(GetMainWindow(), WM_ACTIVATE, WA_INACTIVE, 0);
  const MovieRecord* record = GetMovieRecord(playing);
  EXPECT_EQ(record->paused, 1);
  EXPECT_EQ(record->playing, 1);
  EXPECT_EQ(GetTheoraCurrentFrame(record->theoraContext), 20);
  WqControlAdvanceVirtualClock(3000000);
  SendMessageA(GetMainWindow(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(record->paused, 0);
  WqControlAdvanceVirtualClock(3 * kFrameUs + kFrameUs / 2);
  UpdateMovie(playing, 0);
  EXPECT_EQ(GetTheoraCurrentFrame(record->theoraContext), 23);
  // The movie that was never started stays as it was.
  EXPECT_EQ(GetMovieRecord(idle)->paused, 1);
  EXPECT_EQ(GetMovieRecord(idle)->playing, 0);
  CloseMovie(playing);
  CloseMovie(idle);
}

TEST_F(MovieTest, FileNoPlayerTakesFailsWithTheLogLines) {
  const int blocks = GetTrackedBlockCount();
  EXPECT_EQ(OpenTestMovie(TestMovie::kVorbisOnly), -1);
  EXPECT_EQ(GetTrackedBlockCount(), blocks);
  wqtest::ExpectLogInOrder(ReadLog(), {"End of file while searching for codec headers.",
                                       "vorbis.ogg が開けませんでした",
                                       "ムービーファイルオープン処理時にエラーが発生しました"});
}

}  // namespace
