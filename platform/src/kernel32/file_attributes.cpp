#include "kernel32/file_attributes.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <limits>

#include "platform/kernel32_file.h"

namespace wqplat {
namespace {

constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
constexpr std::int64_t kIntervalsPerSecond = 10000000;

FILETIME FileTimeFrom(const statx_timestamp& stamp) { return FileTimeFromUnix(stamp.tv_sec, stamp.tv_nsec); }

DWORD AttributesOf(const struct statx& status, std::string_view name) {
  DWORD attributes = 0;
  if (S_ISDIR(status.stx_mode)) {
    attributes |= FILE_ATTRIBUTE_DIRECTORY;
  } else if (S_ISREG(status.stx_mode)) {
    // Linux keeps no archive bit; a file is as Windows leaves one after writing.
    attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if ((status.stx_mode & S_IWUSR) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
  }
  if (!name.empty() && name[0] == '.' && name != "." && name != "..") attributes |= FILE_ATTRIBUTE_HIDDEN;
  return attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
}

}  // namespace

FILETIME FileTimeFromUnix(std::int64_t seconds, std::uint32_t nanoseconds) {
  constexpr std::int64_t kMaxSeconds = std::numeric_limits<std::int64_t>::max() / kIntervalsPerSecond - kSecondsFrom1601To1970 - 1;
  std::uint64_t intervals = 0;
  if (seconds > kMaxSeconds) {
    intervals = std::numeric_limits<std::int64_t>::max();
  } else if (seconds >= -kSecondsFrom1601To1970) {
    intervals = static_cast<std::uint64_t>((seconds + kSecondsFrom1601To1970) * kIntervalsPerSecond + nanoseconds / 100);
  }
  return FILETIME{static_cast<DWORD>(intervals), static_cast<DWORD>(intervals >> 32)};
}

bool QueryFileStatus(const std::string& linux_path, std::string_view name, FileStatus* out) {
  struct statx status;
  constexpr unsigned kWanted = STATX_BASIC_STATS | STATX_BTIME;
  if (statx(AT_FDCWD, linux_path.c_str(), 0, kWanted, &status) != 0 &&
      statx(AT_FDCWD, linux_path.c_str(), AT_SYMLINK_NOFOLLOW, kWanted, &status) != 0) {
    return false;
  }
  out->attributes = AttributesOf(status, name);
  out->last_write = FileTimeFrom(status.stx_mtime);
  out->last_access = FileTimeFrom(status.stx_atime);
  // File systems without birth times: the last write is the best known bound.
  out->creation = (status.stx_mask & STATX_BTIME) ? FileTimeFrom(status.stx_btime) : out->last_write;
  out->size = S_ISDIR(status.stx_mode) ? 0 : status.stx_size;
  return true;
}

}  // namespace wqplat
