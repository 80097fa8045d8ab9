// Byte-level reading of code page 932 names: where characters begin, which
// bytes separate, and how names compare without regard to case.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wqplat {

// A Shift-JIS lead byte; the byte after it belongs to the same character
// and may be any value, a backslash included.
bool IsCp932LeadByte(unsigned char byte);

// Bytes of the character that starts at `offset` (1 or 2; 1 for a lead byte
// cut off at the end of the text).
std::size_t Cp932CharLength(std::string_view text, std::size_t offset);

bool IsPathSeparator(char c);

// Splits at backslashes and slashes; empty pieces are kept, so a leading,
// doubled or trailing separator shows as an empty component.
std::vector<std::string> SplitPathComponents(std::string_view path);

// The comparison key of a name: ASCII letters upper-cased, double-byte
// characters kept byte for byte.
std::string FoldNameCase(std::string_view name);

// True when the name holds a character Windows forbids in a file name
// (wildcards included); control characters count as forbidden.
bool HasInvalidNameCharacter(std::string_view name);

}  // namespace wqplat
