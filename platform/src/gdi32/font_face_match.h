// Finding the font file for a GDI font request through fontconfig.
#pragma once

#include <string>

namespace wqplat {

struct FontFaceRequest {
  std::string family_utf8;  // empty: no preference
  int char_set = 1;         // GDI character set: decides the language
  int weight = 400;         // GDI weight, 100 to 900
  bool italic = false;
  bool fixed_pitch = false;
};

struct FontFaceFile {
  std::string path;
  int index = 0;
  // Every glyph of one (or, for double-byte faces, two) widths.
  bool is_fixed_pitch = false;
};

// The best installed face for the request: names unknown to the system
// (Windows faces) fall back to a face covering the character set's language.
// False only when no font file exists at all.
bool MatchFontFace(const FontFaceRequest& request, FontFaceFile* match);

}  // namespace wqplat
