// Windows paths taken apart and put together without touching the disk:
// the drive, the current directory for relative paths, "." and "..".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/wintypes.h"

namespace wqplat {

struct WindowsPath {
  std::vector<std::string> components;  // below C:\, code page 932
  bool trailing_separator = false;      // the text ended with \ or /
};

// The full form of a path on drive C: (upper or lower case), "\" or "/"
// separated, relative to the current directory unless it starts at a
// separator. Other drives and network paths are ERROR_PATH_NOT_FOUND; text
// of MAX_PATH or more, given or resolved, is ERROR_FILENAME_EXCED_RANGE.
DWORD ParseWindowsPath(const char* path, WindowsPath* out);

// "C:\a\b", or "C:\" for the root; a trailing separator is kept.
std::string FormatWindowsPath(const WindowsPath& path);

// A Linux path (UTF-8) in Windows form on drive C:, without trailing
// separator except for the root.
std::string LinuxPathToWindows(std::string_view linux_path);

// Offset just past the last separator of a code page 932 path, or npos.
std::size_t FindAfterLastSeparator(std::string_view path);

}  // namespace wqplat
