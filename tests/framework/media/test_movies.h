// Test movies, made by the outside encoder the first time a test asks for
// one and kept in the build tree. Each frame shows its own number: bit b of
// the number is the 8-pixel column b of the top 8 rows (black 0, white 1),
// and the rows below are a flat grey, so a converted frame names itself
// and shows its orientation.
#pragma once

#include <string>

#include "WqLib.h"

namespace wqtest {

enum class TestMovie {
  kSilent,      // 128 x 96, 30 fps, 90 frames, key frames 0, 30 and 60, ~3 frames a page
  kWithSound,   // the same with a 4-second Vorbis track
  kVorbisOnly,  // an Ogg file with a Vorbis stream and nothing else
  kLarge,       // 640 x 480, 30 fps, 60 frames, for the benchmark
  kMpeg4,       // the frames of kSilent as MPEG-4 video in an MP4 file
};

inline constexpr int kTestMovieFrames = 90;

// The movie's path on disk (Linux form); made on first use.
std::string TestMoviePath(TestMovie movie);
// The movie's bytes.
std::string TestMovieBytes(TestMovie movie);
// The frame number a converted X8R8G8B8 frame shows, or -1 when the top
// rows are not a clean pattern or the lower rows not flat grey.
int ShownFrameNumber(const BaseImage& image);
// The Windows form (drive C:) of a Linux path.
std::string WindowsPathOf(const std::string& linuxPath);

}  // namespace wqtest
