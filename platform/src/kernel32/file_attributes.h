// What Windows reports about a file: attributes, times and size, read from
// the Linux file.
#pragma once

#include <string>
#include <string_view>

#include "platform/wintypes.h"

namespace wqplat {

struct FileStatus {
  DWORD attributes = 0;
  FILETIME creation{};
  FILETIME last_access{};
  FILETIME last_write{};
  ULONGLONG size = 0;
};

// Follows symbolic links (a dangling link reports as the link itself).
// `name` is the entry's name, which decides the hidden attribute (dot-names).
// False with errno set when the file cannot be read.
bool QueryFileStatus(const std::string& linux_path, std::string_view name, FileStatus* out);

// Seconds and nanoseconds since 1970 as 100-ns intervals since 1601;
// instants outside FILETIME's range are clamped to its ends.
FILETIME FileTimeFromUnix(std::int64_t seconds, std::uint32_t nanoseconds);

}  // namespace wqplat
