#include "gdi32/freetype_library.h"

namespace wqplat {

FreeTypeLibrary& SharedFreeTypeLibrary() {
  // Never destroyed: faces may be released during static destruction.
  static FreeTypeLibrary* shared = [] {
    auto* created = new FreeTypeLibrary;
    created->ready = FT_Init_FreeType(&created->library) == 0;
    return created;
  }();
  return *shared;
}

}  // namespace wqplat
