// Playing movie handles: the frame that belongs to the present time, pause
// and resume (one movie, or all of them when the window is deactivated and
// activated again), and the window output of DirectShow frames.
#include <algorithm>

#include "core/base/math_utils.h"
#include "media/directshow_movie.h"
#include "media/movie_record.h"
#include "media/theora_context.h"

namespace {

constexpr int kLoopBit = 2;

// The frame the clock asks for: the time since the start (wrapping when
// the movie loops) or the sound's position, held at the last frame. Times
// are 64-bit so long movies do not overflow.
int TargetFrame(const MovieRecord* record, const TheoraMovieInfo& info) {
  std::int64_t elapsedUs = 0;
  if (record->sound == -1) {
    elapsedUs = GetTimeUs(0) - record->startTime;
  } else {
    elapsedUs = static_cast<std::int64_t>(GetSoundCurrentTime(record->sound)) * 1000;
  }
  int target = std::max(DoubleToInt(static_cast<double>(elapsedUs) * info.frameRate / 1000000.0), 0);
  if (target >= info.frameCount) {
    const bool wraps = record->sound == -1 && (record->playType & kLoopBit) != 0;
    target = wraps ? target % info.frameCount : info.frameCount - 1;
  }
  return target;
}

void UpdateTheoraMovie(MovieRecord* record) {
  TheoraContext* context = record->theoraContext;
  TheoraMovieInfo info{};
  GetTheoraMovieInfo(context, &info);
  if (!record->paused) {
    const int target = TargetFrame(record, info);
    const int current = GetTheoraCurrentFrame(context);
    if (target != current) {
      AdvanceTheoraMovie(context, target > current ? target - current : info.frameCount - current + target);
    } else if (target == info.frameCount - 1 && (record->playType & kLoopBit) == 0 && record->sound == -1) {
      record->playing = 0;
      record->paused = 1;
    }
  }
  if (record->callback != nullptr) {
    record->callback(record, record->callbackDatum);
    record->frameUpdated = 1;
  }
}

}  // namespace

int UpdateMovie(int handle, int /*unused*/) {
  MovieRecord* record = GetMovieRecord(handle);
  if (record == nullptr) return -1;
  if (record->theora) {
    UpdateTheoraMovie(record);
  } else {
    UpdateDirectShowMovie(record);
  }
  return 0;
}

int PauseMovie(int handle, int keepPlaying) {
  MovieRecord* record = GetMovieRecord(handle);
  if (record == nullptr) return -1;
  if (record->paused) return 0;
  if (record->theora) {
    if (record->sound != -1) StopSoundHandle(record->sound);
    UpdateMovie(handle, 0);
  } else if (PauseDirectShowMovie(record) != 0) {
    return 0;
  }
  record->paused = 1;
  if (!keepPlaying) record->playing = 0;
  return 0;
}

// Keeps the playing flag, which marks the movies to resume.
int PauseAllMovies() {
  for (int slot = 0; slot < kMovieSlotCount; ++slot) {
    const int handle = MovieSlotHandle(slot);
    if (handle != -1) PauseMovie(handle, 1);
  }
  return 0;
}

int ResumeAllMovies() {
  for (int slot = 0; slot < kMovieSlotCount; ++slot) {
    MovieRecord* record = GetMovieRecord(MovieSlotHandle(slot));
    if (record == nullptr || !record->paused || !record->playing) continue;
    const int playType = record->playType != 0 ? record->playType : 1;
    if (record->theora) {
      // The clock continues at the frame shown.
      TheoraMovieInfo info{};
      GetTheoraMovieInfo(record->theoraContext, &info);
      const double shownUs = 1000000.0 / info.frameRate * GetTheoraCurrentFrame(record->theoraContext);
      record->startTime = GetTimeUs(0) - static_cast<std::int64_t>(shownUs);
      if (record->sound != -1) PlaySoundHandle(record->sound, playType, 0);
    } else {
      RunDirectShowMovie(record);
    }
    record->paused = 0;
    record->playType = playType;
    record->playing = 1;
  }
  return 0;
}

// Only DirectShow movies marked for window output draw, and nothing marks
// them, so this keeps the request and draws nothing.
int DrawMovieToWindow(int x, int y, double scale, int handle, int show) {
  MovieRecord* record = GetMovieRecord(handle);
  if (record == nullptr) return -1;
  record->windowParams.x = x;
  record->windowParams.y = y;
  record->windowParams.scale = scale;
  record->windowParams.show = show;
  return 0;
}

int DrawAllMoviesToWindow() {
  for (int slot = 0; slot < kMovieSlotCount; ++slot) {
    const int handle = MovieSlotHandle(slot);
    const MovieRecord* record = GetMovieRecord(handle);
    if (record == nullptr || record->theora || record->windowOutput != 1) continue;
    const MovieWindowOutput& out = record->windowParams;
    DrawMovieToWindow(out.x, out.y, out.scale, handle, out.show);
  }
  return 0;
}
