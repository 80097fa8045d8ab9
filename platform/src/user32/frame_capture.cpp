#include "user32/frame_capture.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <sstream>
#include <string>

#include "platform/control.h"

namespace wqplat {
namespace {

struct CaptureSettings {
  std::set<std::uint64_t> frames;
  std::string folder;
};

struct CaptureState {
  std::once_flag environment_read;
  CaptureSettings settings;
  std::mutex lock;
  std::uint64_t presented = 0;
};

CaptureState& State() {
  static CaptureState state;
  return state;
}

CaptureSettings ReadSettings() {
  CaptureSettings settings;
  const char* frames = std::getenv("WQ_CAPTURE_FRAMES");
  const char* folder = std::getenv("WQ_CAPTURE_DIR");
  if (frames == nullptr || folder == nullptr || folder[0] == '\0') return settings;
  settings.folder = folder;
  std::istringstream list(frames);
  std::string item;
  while (std::getline(list, item, ',')) {
    char* end = nullptr;
    unsigned long long number = std::strtoull(item.c_str(), &end, 10);
    if (end != item.c_str() && *end == '\0' && number > 0) {
      settings.frames.insert(number);
    } else {
      std::fprintf(stderr, "WQ_CAPTURE_FRAMES: \"%s\" is not a frame number\n", item.c_str());
    }
  }
  return settings;
}

CaptureState& InitialisedState() {
  CaptureState& state = State();
  std::call_once(state.environment_read, [&state] { state.settings = ReadSettings(); });
  return state;
}

bool WritePng(const std::string& path, const std::vector<std::uint32_t>& pixels, int width, int height) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool written = false;
  if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // 0x00RRGGBB words are the bytes B, G, R, 0 in memory.
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_bgr(png);
    for (int row = 0; row < height; ++row) {
      const std::uint32_t* line = pixels.data() + static_cast<std::size_t>(row) * width;
      png_write_row(png, reinterpret_cast<png_const_bytep>(line));
    }
    png_write_end(png, nullptr);
    written = true;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && written;
}

}  // namespace

void CountPresentedFrame(const FramePixelReader& read_pixels) {
  CaptureState& state = InitialisedState();
  std::uint64_t number;
  {
    std::lock_guard lock(state.lock);
    number = ++state.presented;
    if (state.settings.frames.count(number) == 0) return;
  }
  std::vector<std::uint32_t> pixels;
  int width = 0;
  int height = 0;
  read_pixels(&pixels, &width, &height);
  char name[32];
  std::snprintf(name, sizeof name, "frame_%06llu.png", static_cast<unsigned long long>(number));
  const std::string path = state.settings.folder + "/" + name;
  if (!WritePng(path, pixels, width, height)) {
    std::fprintf(stderr, "WQ_CAPTURE_DIR: cannot write %s\n", path.c_str());
  }
}

}  // namespace wqplat

std::uint64_t WqControlPresentedFrameCount() {
  wqplat::CaptureState& state = wqplat::InitialisedState();
  std::lock_guard lock(state.lock);
  return state.presented;
}
