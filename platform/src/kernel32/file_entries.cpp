// Files as directory entries: deleting them and reading their attributes.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "kernel32/file_attributes.h"
#include "kernel32/file_errors.h"
#include "kernel32/file_sharing.h"
#include "kernel32/path_directory_cache.h"
#include "kernel32/path_mapping.h"
#include "kernel32/wide_text.h"
#include "platform/kernel32_file.h"

BOOL DeleteFileA(LPCSTR lpFileName) {
  auto fail = [](DWORD error) { return wqplat::FailWith(error, FALSE); };
  wqplat::MappedPath path;
  if (DWORD error = wqplat::MapExistingWindowsPath(lpFileName, &path); error != ERROR_SUCCESS) return fail(error);
  struct stat status;
  if (lstat(path.linux_path.c_str(), &status) != 0) return fail(wqplat::FileErrorFromErrno(errno));
  bool read_only = S_ISREG(status.st_mode) && (status.st_mode & S_IWUSR) == 0;
  if (S_ISDIR(status.st_mode) || read_only) return fail(ERROR_ACCESS_DENIED);

  // Deleting is an open for delete access: every open handle must share it.
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  auto lease = wqplat::ShareLease::Acquire({status.st_dev, status.st_ino}, FILE_SHARE_DELETE, kShareAll);
  if (!lease) return fail(ERROR_SHARING_VIOLATION);
  if (unlink(path.linux_path.c_str()) != 0) return fail(wqplat::FileErrorFromErrno(errno));
  wqplat::ForgetDirectoryScan(path.directory);
  return TRUE;
}

BOOL DeleteFileW(LPCWSTR lpFileName) {
  if (lpFileName == nullptr) return wqplat::FailWith(ERROR_PATH_NOT_FOUND, FALSE);
  bool substituted = false;
  std::string name = wqplat::Utf16ToNarrow(lpFileName, "CP932", '?', substituted);
  if (substituted) return wqplat::FailWith(ERROR_INVALID_NAME, FALSE);
  return DeleteFileA(name.c_str());
}

DWORD GetFileAttributesA(LPCSTR lpFileName) {
  wqplat::MappedPath path;
  DWORD error = wqplat::MapExistingWindowsPath(lpFileName, &path);
  wqplat::FileStatus status;
  if (error == ERROR_SUCCESS) {
    std::string name = path.linux_path.substr(path.linux_path.rfind('/') + 1);
    if (!wqplat::QueryFileStatus(path.linux_path, name, &status)) error = wqplat::FileErrorFromErrno(errno);
  }
  return error == ERROR_SUCCESS ? status.attributes : wqplat::FailWith(error, INVALID_FILE_ATTRIBUTES);
}
