#include "kernel32/path_characters.h"

namespace wqplat {

bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::size_t Cp932CharLength(std::string_view text, std::size_t offset) {
  if (IsCp932LeadByte(static_cast<unsigned char>(text[offset])) && offset + 1 < text.size()) {
    return 2;
  }
  return 1;
}

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

std::vector<std::string> SplitPathComponents(std::string_view path) {
  std::vector<std::string> components(1);
  for (std::size_t i = 0; i < path.size();) {
    std::size_t length = Cp932CharLength(path, i);
    if (length == 1 && IsPathSeparator(path[i])) {
      components.emplace_back();
    } else {
      components.back().append(path.substr(i, length));
    }
    i += length;
  }
  return components;
}

std::string FoldNameCase(std::string_view name) {
  std::string folded(name);
  for (std::size_t i = 0; i < folded.size();) {
    std::size_t length = Cp932CharLength(folded, i);
    if (length == 1 && folded[i] >= 'a' && folded[i] <= 'z') folded[i] = static_cast<char>(folded[i] - 'a' + 'A');
    i += length;
  }
  return folded;
}

bool HasInvalidNameCharacter(std::string_view name) {
  for (std::size_t i = 0; i < name.size();) {
    std::size_t length = Cp932CharLength(name, i);
    if (length == 1) {
      unsigned char c = static_cast<unsigned char>(name[i]);
      if (c < 0x20 || std::string_view("<>:\"|?*").find(static_cast<char>(c)) != std::string_view::npos) {
        return true;
      }
    }
    i += length;
  }
  return false;
}

}  // namespace wqplat
