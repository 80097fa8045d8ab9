// CreateFileA: opening and creating files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "kernel32/file_errors.h"
#include "kernel32/file_object.h"
#include "kernel32/path_directory_cache.h"
#include "kernel32/path_mapping.h"
#include "platform/kernel32_file.h"

namespace {

HANDLE Fail(DWORD error) { return wqplat::FailWith(error, INVALID_HANDLE_VALUE); }

int OpenFlags(DWORD desired_access, DWORD disposition) {
  int flags = O_CLOEXEC;
  bool read = desired_access & GENERIC_READ;
  bool write = desired_access & GENERIC_WRITE;
  flags |= read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
  if (disposition == CREATE_NEW) flags |= O_CREAT | O_EXCL;
  if (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS) flags |= O_CREAT;
  return flags;
}

}  // namespace

HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE /*hTemplateFile*/) {
  if (dwCreationDisposition < CREATE_NEW || dwCreationDisposition > TRUNCATE_EXISTING) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if (dwCreationDisposition == TRUNCATE_EXISTING && !(dwDesiredAccess & GENERIC_WRITE)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  wqplat::MappedPath path;
  if (DWORD error = wqplat::MapWindowsPath(lpFileName, &path); error != ERROR_SUCCESS) return Fail(error);
  if (path.exists && dwCreationDisposition == CREATE_NEW) return Fail(ERROR_FILE_EXISTS);
  if (!path.exists && (dwCreationDisposition == OPEN_EXISTING || dwCreationDisposition == TRUNCATE_EXISTING)) {
    return Fail(ERROR_FILE_NOT_FOUND);
  }

  mode_t mode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
  int fd = open(path.linux_path.c_str(), OpenFlags(dwDesiredAccess, dwCreationDisposition), mode);
  if (fd < 0) return Fail(wqplat::FileErrorFromErrno(errno));
  if (!path.exists) wqplat::ForgetDirectoryScan(path.directory);
  auto close_and_fail = [fd](DWORD error) {
    close(fd);
    return Fail(error);
  };

  struct stat status;
  if (fstat(fd, &status) != 0) return close_and_fail(wqplat::FileErrorFromErrno(errno));
  if (S_ISDIR(status.st_mode)) return close_and_fail(ERROR_ACCESS_DENIED);
  bool truncate = path.exists && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == TRUNCATE_EXISTING);
  // A read-only file refuses writers, whoever runs the process (root included).
  bool read_only = path.exists && (status.st_mode & S_IWUSR) == 0;
  if (read_only && (truncate || (dwDesiredAccess & GENERIC_WRITE))) return close_and_fail(ERROR_ACCESS_DENIED);

  auto lease = wqplat::ShareLease::Acquire({status.st_dev, status.st_ino},
                                           wqplat::ShareAccessFromDesired(dwDesiredAccess), dwShareMode);
  if (!lease) return close_and_fail(ERROR_SHARING_VIOLATION);
  // Only now that no other open forbids it may the old contents go.
  // CREATE_ALWAYS truncates even for a reader, whose descriptor cannot.
  int truncated = !truncate                            ? 0
                  : (dwDesiredAccess & GENERIC_WRITE) ? ftruncate(fd, 0)
                                                      : ::truncate(path.linux_path.c_str(), 0);
  if (truncated != 0) return close_and_fail(wqplat::FileErrorFromErrno(errno));

  HANDLE handle = wqplat::RegisterKernelObject(
      std::make_shared<wqplat::FileObject>(fd, dwDesiredAccess, std::move(*lease)));
  bool reopened = path.exists && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS);
  SetLastError(reopened ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}
