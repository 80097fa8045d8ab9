#include "test_movies.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace wqtest {

namespace {

// The frame number in the top 24 rows, flat grey below.
const char kPattern[] =
    "geq=lum='if(lt(Y\\,8)\\,if(bitand(N\\,pow(2\\,floor(X/8)))\\,235\\,16)\\,128)':cb=128:cr=128";

std::string EncoderCommand(TestMovie movie, const std::string& out) {
  const std::string quiet = "ffmpeg -nostdin -hide_banner -loglevel error -y ";
  const std::string theora = " -c:v libtheora -q:v 10 -g 30 -keyint_min 30 -page_duration 100000 -f ogg ";
  switch (movie) {
    case TestMovie::kSilent:
      return quiet + "-f lavfi -i \"color=c=gray:s=128x96:r=30:d=3,format=yuv420p," + kPattern + "\"" + theora +
             out;
    case TestMovie::kWithSound:
      return quiet + "-f lavfi -i \"color=c=gray:s=128x96:r=30:d=3,format=yuv420p," + kPattern +
             "\" -f lavfi -i sine=frequency=440:duration=4" + theora + "-c:a libvorbis " + out;
    case TestMovie::kVorbisOnly:
      return quiet + "-f lavfi -i sine=frequency=440:duration=1 -c:a libvorbis -f ogg " + out;
    case TestMovie::kLarge:
      return quiet + "-f lavfi -i \"testsrc=s=640x480:r=30:d=2,format=yuv420p\"" + theora + out;
    case TestMovie::kMpeg4:
      return quiet + "-f lavfi -i \"color=c=gray:s=128x96:r=30:d=3,format=yuv420p," + kPattern +
             "\" -c:v mpeg4 -q:v 1 -g 30 -f mp4 " + out;
  }
  return {};
}

const char* FileName(TestMovie movie) {
  switch (movie) {
    case TestMovie::kSilent: return "silent.ogv";
    case TestMovie::kWithSound: return "sound.ogv";
    case TestMovie::kVorbisOnly: return "vorbis.ogg";
    case TestMovie::kLarge: return "large.ogv";
    case TestMovie::kMpeg4: return "silent.mp4";
  }
  return "";
}

}  // namespace

std::string TestMoviePath(TestMovie movie) {
  const std::filesystem::path folder = std::filesystem::absolute("media_test_movies");
  const std::filesystem::path path = folder / FileName(movie);
  if (std::filesystem::exists(path)) return path.string();
  std::filesystem::create_directories(folder);
  // Parallel tests may make the same movie: each writes its own file and
  // renames it into place.
  const std::string partial = path.string() + "." + std::to_string(getpid()) + ".part";
  const std::string command = EncoderCommand(movie, "\"" + partial + "\"");
  if (std::system(command.c_str()) != 0) return {};
  std::filesystem::rename(partial, path);
  return path.string();
}

std::string TestMovieBytes(TestMovie movie) {
  std::ifstream in(TestMoviePath(movie), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

int ShownFrameNumber(const BaseImage& image) {
  auto green = [&](int x, int y) {
    return static_cast<const std::uint8_t*>(image.pixels)[static_cast<std::size_t>(y) * image.pitch + 4 * x + 1];
  };
  int number = 0;
  for (int bit = 0; bit < image.width / 8; ++bit) {
    const int value = green(8 * bit + 4, 4);
    if (value > 200) {
      number |= 1 << bit;
    } else if (value > 50) {
      return -1;
    }
  }
  for (int x = 0; x < image.width; x += 7)
    if (std::abs(green(x, image.height - 8) - 130) > 12) return -1;
  return number;
}

std::string WindowsPathOf(const std::string& linuxPath) {
  std::string path = "C:" + linuxPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

}  // namespace wqtest
