// Characters as GDI's narrow calls pass them: a byte, or lead x 256 + trail,
// in the code page of the font's character set.
#pragma once

namespace wqplat {

// The code page of a GDI character set; DEFAULT_CHARSET and unknown sets
// follow the system's ANSI code page, 932.
int CodePageOfCharSet(int char_set);

// The character set a font reports after realisation (DEFAULT becomes the
// system's own, SHIFTJIS).
int RealisedCharSet(int char_set);

// The Unicode code point of a character code, or 0 when the code page has
// no character there.
char32_t DecodeCodePageChar(int code_page, unsigned int code);

}  // namespace wqplat
