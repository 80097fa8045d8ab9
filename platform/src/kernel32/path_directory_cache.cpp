#include "kernel32/path_directory_cache.h"

#include <dirent.h>
#include <sys/stat.h>

#include <map>
#include <mutex>
#include <unordered_map>

#include "kernel32/path_characters.h"
#include "kernel32/text_encoding.h"

namespace wqplat {
namespace {

struct DirectoryScan {
  timespec modified{};
  std::unordered_map<std::string, std::string> names_by_key;  // folded CP932 -> on disk
};

struct ScanCache {
  std::mutex mutex;
  std::map<std::string, DirectoryScan> scans;
};

// Enough for every folder a game touches; past it the cache starts over
// rather than grow without bound.
constexpr std::size_t kMaxCachedDirectories = 256;

ScanCache& Cache() {
  static ScanCache* cache = new ScanCache;  // outlives static destructors
  return *cache;
}

bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

DirectoryScan ScanDirectory(const std::string& directory, const timespec& modified) {
  DirectoryScan scan;
  scan.modified = modified;
  DIR* dir = opendir(directory.c_str());
  if (dir == nullptr) return scan;
  while (const dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    auto [found, inserted] = scan.names_by_key.try_emplace(FoldNameCase(Utf8ToCp932(name)), name);
    // Names that differ only in case: the smallest wins, whatever order readdir gives.
    if (!inserted && name < found->second) found->second = name;
  }
  closedir(dir);
  return scan;
}

}  // namespace

std::optional<std::string> FindNameIgnoringCase(const std::string& directory, std::string_view name) {
  struct stat status;
  if (stat(directory.c_str(), &status) != 0) return std::nullopt;
  ScanCache& cache = Cache();
  std::lock_guard lock(cache.mutex);
  auto scan = cache.scans.find(directory);
  if (scan == cache.scans.end() || !SameTime(scan->second.modified, status.st_mtim)) {
    if (scan == cache.scans.end() && cache.scans.size() >= kMaxCachedDirectories) cache.scans.clear();
    scan = cache.scans.insert_or_assign(directory, ScanDirectory(directory, status.st_mtim)).first;
  }
  auto found = scan->second.names_by_key.find(FoldNameCase(name));
  if (found == scan->second.names_by_key.end()) return std::nullopt;
  return found->second;
}

void ForgetDirectoryScan(const std::string& directory) {
  ScanCache& cache = Cache();
  std::lock_guard lock(cache.mutex);
  cache.scans.erase(directory);
}

}  // namespace wqplat
