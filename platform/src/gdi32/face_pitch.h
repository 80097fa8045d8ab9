// Whether a font file's face is of fixed pitch, judged from the face itself:
// fontconfig's spacing property is missing from fixed-pitch faces that hold
// a few glyphs of other widths, and such faces still set text on a grid.
#pragma once

#include <string>

namespace wqplat {

// True when the face says it is of fixed width, or when every printable
// single-byte character it has advances alike. False for a file FreeType
// cannot open.
bool FaceHasFixedPitch(const std::string& path, int index);

}  // namespace wqplat
