// A started library in the game's screen mode under the virtual clock,
// with private log and lock folders, for the movie handle tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "WqLib.h"
#include "media/movie_record.h"
#include "media/theora_context.h"
#include "platform/control.h"
#include "support/temp_dir.h"
#include "test_movies.h"

namespace wqtest {

class MovieTest : public testing::Test {
 protected:
  void SetUp() override {
    WqControlEnableVirtualClock(true);
    WqControlSetLockFolder(folder_.path().c_str());
    SetLogFolder(folder_.WindowsPath().c_str());
    ChangeWindowMode(1);
    ASSERT_EQ(StartLibrary(), 0);
    ASSERT_EQ(SelectDrawTarget(-2), 0);
    ASSERT_EQ(SetScreenMode(882, 820, 32, 60), 0);
  }
  void TearDown() override {
    EndLibrary();
    WqControlSetLockFolder(nullptr);
  }
  std::string ReadLog() const { return folder_.ReadFile("Log.txt"); }
  static int OpenTestMovie(TestMovie movie) {
    return OpenMovie(WindowsPathOf(TestMoviePath(movie)).c_str(), nullptr, nullptr, 0);
  }
  // Marks the movie as playing and starts it the way activation does.
  static void Play(int movie, int playType) {
    MovieRecord* record = GetMovieRecord(movie);
    record->playType = playType;
    record->playing = 1;
    ResumeAllMovies();
  }
  // The number the movie's current frame shows.
  static int Shown(int movie) {
    TheoraContext* context = GetMovieRecord(movie)->theoraContext;
    ConvertTheoraFrame(context, 1, 0);
    return ShownFrameNumber(context->frameImage);
  }

  TempDir folder_;
};

// Each text appears in the log after the previous one.
void ExpectLogInOrder(const std::string& log, const std::vector<std::string>& texts);

}  // namespace wqtest
