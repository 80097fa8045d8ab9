#include "kernel32/find_pattern.h"

#include <string>
#include <vector>

#include "kernel32/path_characters.h"

namespace wqplat {
namespace {

// One code per character, letters folded: single bytes as they are,
// double-byte characters as lead << 8 | trail.
std::vector<unsigned> CharacterCodes(std::string_view text) {
  std::string folded = FoldNameCase(text);
  std::vector<unsigned> codes;
  for (std::size_t i = 0; i < folded.size();) {
    std::size_t length = Cp932CharLength(folded, i);
    unsigned code = static_cast<unsigned char>(folded[i]);
    if (length == 2) code = code << 8 | static_cast<unsigned char>(folded[i + 1]);
    codes.push_back(code);
    i += length;
  }
  return codes;
}

bool MatchCodes(const std::vector<unsigned>& pattern, const std::vector<unsigned>& name) {
  // Greedy scan that returns to the last '*' on a mismatch.
  std::size_t p = 0, n = 0;
  std::size_t star = std::string::npos, star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_name = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesFindPattern(std::string_view pattern, std::string_view name) {
  std::vector<unsigned> name_codes = CharacterCodes(name);
  if (MatchCodes(CharacterCodes(pattern), name_codes)) return true;
  return pattern.ends_with(".*") && MatchCodes(CharacterCodes(pattern.substr(0, pattern.size() - 2)), name_codes);
}

}  // namespace wqplat
