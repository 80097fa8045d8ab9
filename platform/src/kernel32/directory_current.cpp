// The process's current directory, in Windows form.
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "kernel32/file_errors.h"
#include "kernel32/path_caller_buffer.h"
#include "kernel32/path_mapping.h"
#include "kernel32/path_windows_form.h"
#include "platform/kernel32_file.h"

DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
  std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
  if (!cwd) return wqplat::FailWith(wqplat::FileErrorFromErrno(errno), DWORD{0});
  return wqplat::CopyToCallerBuffer(wqplat::LinuxPathToWindows(cwd.get()), nBufferLength, lpBuffer);
}

BOOL SetCurrentDirectoryA(LPCSTR lpPathName) {
  wqplat::MappedPath path;
  if (DWORD error = wqplat::MapExistingWindowsPath(lpPathName, &path); error != ERROR_SUCCESS) {
    return wqplat::FailWith(error, FALSE);
  }
  if (chdir(path.linux_path.c_str()) != 0) {
    return wqplat::FailWith(errno == ENOTDIR ? ERROR_DIRECTORY : wqplat::FileErrorFromErrno(errno), FALSE);
  }
  return TRUE;
}
