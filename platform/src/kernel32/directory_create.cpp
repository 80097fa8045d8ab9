// CreateDirectoryA.
#include <sys/stat.h>

#include <cerrno>

#include "kernel32/file_errors.h"
#include "kernel32/path_directory_cache.h"
#include "kernel32/path_mapping.h"
#include "platform/kernel32_file.h"

BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/) {
  wqplat::MappedPath path;
  if (DWORD error = wqplat::MapWindowsPath(lpPathName, &path); error != ERROR_SUCCESS) {
    return wqplat::FailWith(error, FALSE);
  }
  if (path.exists) return wqplat::FailWith(ERROR_ALREADY_EXISTS, FALSE);
  if (mkdir(path.linux_path.c_str(), 0777) != 0) {
    DWORD error = errno == EEXIST ? ERROR_ALREADY_EXISTS : wqplat::FileErrorFromErrno(errno);
    return wqplat::FailWith(error, FALSE);
  }
  wqplat::ForgetDirectoryScan(path.directory);
  return TRUE;
}
