#include "gdi32/face_pitch.h"

#include "gdi32/freetype_library.h"

#include FT_ADVANCES_H

namespace wqplat {
namespace {

// The printable ASCII characters present all share one advance.
bool PrintableAdvancesAgree(FT_Face face) {
  FT_Fixed first = -1;
  for (FT_ULong code = 0x21; code <= 0x7E; ++code) {
    const FT_UInt glyph = FT_Get_Char_Index(face, code);
    FT_Fixed advance = 0;
    if (glyph == 0 || FT_Get_Advance(face, glyph, FT_LOAD_NO_SCALE, &advance) != 0) continue;
    if (first < 0) first = advance;
    if (advance != first) return false;
  }
  return first > 0;
}

}  // namespace

bool FaceHasFixedPitch(const std::string& path, int index) {
  FreeTypeLibrary& shared = SharedFreeTypeLibrary();
  std::lock_guard lock(shared.mutex);
  FT_Face face = nullptr;
  if (!shared.ready || FT_New_Face(shared.library, path.c_str(), index, &face) != 0) return false;
  const bool fixed = FT_IS_FIXED_WIDTH(face) || PrintableAdvancesAgree(face);
  FT_Done_Face(face);
  return fixed;
}

}  // namespace wqplat
