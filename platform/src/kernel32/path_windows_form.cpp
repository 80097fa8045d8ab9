#include "kernel32/path_windows_form.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "kernel32/path_characters.h"
#include "kernel32/text_encoding.h"
#include "platform/kernel32_base.h"

namespace wqplat {
namespace {

bool CurrentDirectoryComponents(std::vector<std::string>* components) {
  std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
  if (!cwd) return false;
  for (std::string& piece : SplitPathComponents(Utf8ToCp932(cwd.get()))) {
    if (!piece.empty()) components->push_back(std::move(piece));
  }
  return true;
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

DWORD ParseWindowsPath(const char* path, WindowsPath* out) {
  if (path == nullptr) return ERROR_INVALID_PARAMETER;
  std::string_view text(path, strnlen(path, MAX_PATH));
  if (text.size() >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
  if (text.empty()) return ERROR_PATH_NOT_FOUND;

  std::string_view rest = text;
  if (text.size() >= 2 && text[1] == ':' && IsAsciiLetter(text[0])) {
    if (text[0] != 'C' && text[0] != 'c') return ERROR_PATH_NOT_FOUND;
    rest = text.substr(2);
  } else if (text.size() >= 2 && IsPathSeparator(text[0]) && IsPathSeparator(text[1])) {
    return ERROR_PATH_NOT_FOUND;  // network shares do not exist here
  }

  WindowsPath result;
  bool absolute = !rest.empty() && IsPathSeparator(rest[0]);
  if (!absolute && !CurrentDirectoryComponents(&result.components)) return ERROR_PATH_NOT_FOUND;
  std::vector<std::string> pieces = SplitPathComponents(rest);
  result.trailing_separator = pieces.size() > 1 && pieces.back().empty();
  for (std::string& piece : pieces) {
    if (piece.empty() || piece == ".") continue;
    if (piece == "..") {
      if (!result.components.empty()) result.components.pop_back();
      continue;
    }
    result.components.push_back(std::move(piece));
  }
  if (FormatWindowsPath(result).size() >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
  *out = std::move(result);
  return ERROR_SUCCESS;
}

std::string FormatWindowsPath(const WindowsPath& path) {
  std::string text = "C:";
  for (const std::string& component : path.components) text += "\\" + component;
  if (path.components.empty() || path.trailing_separator) text += '\\';
  return text;
}

std::string LinuxPathToWindows(std::string_view linux_path) {
  WindowsPath path;
  // '/' never occurs inside a UTF-8 or Shift-JIS character, so a plain split is safe.
  std::string converted = Utf8ToCp932(linux_path);
  for (std::string& piece : SplitPathComponents(converted)) {
    if (!piece.empty()) path.components.push_back(std::move(piece));
  }
  return FormatWindowsPath(path);
}

std::size_t FindAfterLastSeparator(std::string_view path) {
  std::size_t after = std::string_view::npos;
  for (std::size_t i = 0; i < path.size();) {
    std::size_t length = Cp932CharLength(path, i);
    if (length == 1 && IsPathSeparator(path[i])) after = i + 1;
    i += length;
  }
  return after;
}

}  // namespace wqplat
