// The one FreeType library of the process. Opening and closing faces touch
// its shared state, so callers hold its lock for both.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <mutex>

namespace wqplat {

struct FreeTypeLibrary {
  std::mutex mutex;
  FT_Library library = nullptr;
  bool ready = false;
};

FreeTypeLibrary& SharedFreeTypeLibrary();

}  // namespace wqplat
