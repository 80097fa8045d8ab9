// File-name patterns of directory searches: '*' stands for any run of
// characters, '?' for one character (a double-byte character is one);
// letters match in either case.
#pragma once

#include <string_view>

namespace wqplat {

// Both texts are code page 932. A pattern ending in ".*" also matches the
// name without any extension, so "*.*" matches every name.
bool MatchesFindPattern(std::string_view pattern, std::string_view name);

}  // namespace wqplat
