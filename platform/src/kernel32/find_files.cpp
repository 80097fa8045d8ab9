// FindFirstFileA / FindNextFileA / FindClose: directory searches. The
// matching entries are collected when the search starts, in the order an
// NTFS volume gives them ("." and ".." first, then by upper-cased name).
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "kernel32/file_attributes.h"
#include "kernel32/file_errors.h"
#include "kernel32/find_pattern.h"
#include "kernel32/kernel_object.h"
#include "kernel32/path_characters.h"
#include "kernel32/path_mapping.h"
#include "kernel32/path_windows_form.h"
#include "kernel32/text_encoding.h"
#include "platform/kernel32_file.h"

namespace {

class FindSearch : public wqplat::KernelObject {
 public:
  explicit FindSearch(std::vector<WIN32_FIND_DATAA> entries) : entries_(std::move(entries)) {}

  bool Next(WIN32_FIND_DATAA* data) {
    if (next_ == entries_.size()) return false;
    *data = entries_[next_++];
    return true;
  }

 private:
  std::vector<WIN32_FIND_DATAA> entries_;
  std::size_t next_ = 0;
};

struct SplitPattern {
  std::string folder;  // a path MapWindowsPath takes: "C:\x\", "C:", "."
  std::string names;   // the pattern for names in it
};

SplitPattern SplitFolderAndNames(std::string_view pattern) {
  std::size_t after = wqplat::FindAfterLastSeparator(pattern);
  if (after != std::string_view::npos) return {std::string(pattern.substr(0, after)), std::string(pattern.substr(after))};
  if (pattern.size() >= 2 && pattern[1] == ':') return {std::string(pattern.substr(0, 2)), std::string(pattern.substr(2))};
  return {".", std::string(pattern)};
}

WIN32_FIND_DATAA FindData(const std::string& name, const wqplat::FileStatus& status) {
  WIN32_FIND_DATAA data{};
  data.dwFileAttributes = status.attributes;
  data.ftCreationTime = status.creation;
  data.ftLastAccessTime = status.last_access;
  data.ftLastWriteTime = status.last_write;
  data.nFileSizeHigh = static_cast<DWORD>(status.size >> 32);
  data.nFileSizeLow = static_cast<DWORD>(status.size);
  // No short names: as a volume with 8.3 names turned off, cAlternateFileName stays empty.
  std::memcpy(data.cFileName, name.c_str(), name.size() + 1);
  return data;
}

// Sort key: "." and ".." ahead of every name, then the upper-cased name.
std::pair<int, std::string> ListingOrder(const WIN32_FIND_DATAA& data) {
  std::string_view name = data.cFileName;
  int rank = name == "." ? 0 : name == ".." ? 1 : 2;
  return {rank, wqplat::FoldNameCase(name) + '\0' + std::string(name)};
}

std::vector<WIN32_FIND_DATAA> ListMatches(const std::string& folder, const std::string& pattern) {
  std::vector<WIN32_FIND_DATAA> matches;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return matches;
  while (const dirent* entry = readdir(dir)) {
    std::string disk_name = entry->d_name;
    // The root of a drive has no "." or "..".
    if (folder == "/" && (disk_name == "." || disk_name == "..")) continue;
    std::string name = wqplat::Utf8ToCp932(disk_name);
    if (name.size() >= MAX_PATH || !wqplat::MatchesFindPattern(pattern, name)) continue;
    wqplat::FileStatus status;
    std::string path = folder == "/" ? "/" + disk_name : folder + "/" + disk_name;
    if (wqplat::QueryFileStatus(path, disk_name, &status)) matches.push_back(FindData(name, status));
  }
  closedir(dir);
  std::sort(matches.begin(), matches.end(),
            [](const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) { return ListingOrder(a) < ListingOrder(b); });
  return matches;
}

}  // namespace

HANDLE FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData) {
  if (lpFileName == nullptr || lpFindFileData == nullptr) return wqplat::FailWith(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
  std::string_view text(lpFileName, strnlen(lpFileName, MAX_PATH));
  if (text.size() >= MAX_PATH) return wqplat::FailWith(ERROR_FILENAME_EXCED_RANGE, INVALID_HANDLE_VALUE);

  SplitPattern split = SplitFolderAndNames(text);
  wqplat::MappedPath folder;
  DWORD error = wqplat::MapExistingWindowsPath(split.folder.c_str(), &folder);
  if (error == ERROR_FILE_NOT_FOUND) error = ERROR_PATH_NOT_FOUND;
  if (error != ERROR_SUCCESS) return wqplat::FailWith(error, INVALID_HANDLE_VALUE);

  struct stat status;
  if (stat(folder.linux_path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
    return wqplat::FailWith(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);
  }
  std::vector<WIN32_FIND_DATAA> matches;
  if (!split.names.empty()) matches = ListMatches(folder.linux_path, split.names);
  if (matches.empty()) return wqplat::FailWith(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);

  auto search = std::make_shared<FindSearch>(std::move(matches));
  search->Next(lpFindFileData);
  return wqplat::RegisterKernelObject(std::move(search));
}

BOOL FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData) {
  auto search = wqplat::LookupKernelObjectAs<FindSearch>(hFindFile);
  if (!search) return wqplat::FailWith(ERROR_INVALID_HANDLE, FALSE);
  if (lpFindFileData == nullptr) return wqplat::FailWith(ERROR_INVALID_PARAMETER, FALSE);
  if (!search->Next(lpFindFileData)) return wqplat::FailWith(ERROR_NO_MORE_FILES, FALSE);
  return TRUE;
}

BOOL FindClose(HANDLE hFindFile) {
  if (!wqplat::LookupKernelObjectAs<FindSearch>(hFindFile) || !wqplat::UnregisterKernelObject(hFindFile)) {
    return wqplat::FailWith(ERROR_INVALID_HANDLE, FALSE);
  }
  return TRUE;
}
