// GetFullPathNameA: a path made full without looking at the disk.
#include "kernel32/file_errors.h"
#include "kernel32/path_caller_buffer.h"
#include "kernel32/path_windows_form.h"
#include "platform/kernel32_file.h"

DWORD GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart) {
  wqplat::WindowsPath path;
  if (DWORD error = wqplat::ParseWindowsPath(lpFileName, &path); error != ERROR_SUCCESS) {
    return wqplat::FailWith(error, DWORD{0});
  }
  std::string full = wqplat::FormatWindowsPath(path);
  DWORD result = wqplat::CopyToCallerBuffer(full, nBufferLength, lpBuffer);
  if (lpBuffer != nullptr && result < nBufferLength && lpFilePart != nullptr) {
    // The name after the last backslash; none when the path ends in one.
    std::size_t name = wqplat::FindAfterLastSeparator(full);
    *lpFilePart = name < full.size() ? lpBuffer + name : nullptr;
  }
  return result;
}
