// Windows paths to Linux paths: drive C: is the root, names are found as
// Windows finds them (the exact name first, then ignoring case), code page
// 932 names become the UTF-8 names on disk.
#pragma once

#include <string>

#include "platform/wintypes.h"

namespace wqplat {

struct MappedPath {
  std::string linux_path;  // UTF-8
  std::string directory;   // the Linux folder holding the last component
  bool exists = false;     // the last component was found on disk
};

// Every folder on the way must exist (else ERROR_PATH_NOT_FOUND). The last
// component may be missing: it is then kept as given, ready to be created,
// and `exists` is false. Names with wildcards or other characters Windows
// forbids are ERROR_INVALID_NAME. Returns ERROR_SUCCESS or the error.
DWORD MapWindowsPath(const char* path, MappedPath* out);

// The same for a path that must name an existing entry: a missing last
// component is ERROR_FILE_NOT_FOUND.
DWORD MapExistingWindowsPath(const char* path, MappedPath* out);

}  // namespace wqplat
