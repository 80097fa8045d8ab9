// Reading, writing and positioning open files.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "kernel32/file_errors.h"
#include "kernel32/file_object.h"
#include "platform/kernel32_file.h"

namespace {

BOOL Fail(DWORD error) { return wqplat::FailWith(error, FALSE); }

// Moves bytes until all are done, the end of the file is met (a read of 0)
// or the system refuses; Windows transfers all of a synchronous request.
template <class Buffer, class Transfer>
BOOL TransferAll(HANDLE file_handle, Buffer buffer, DWORD count, LPDWORD transferred,
                 LPOVERLAPPED overlapped, bool (wqplat::FileObject::*allowed)() const, Transfer transfer) {
  if (transferred != nullptr) *transferred = 0;
  auto file = wqplat::LookupKernelObjectAs<wqplat::FileObject>(file_handle);
  if (!file) return Fail(ERROR_INVALID_HANDLE);
  if (overlapped != nullptr || (buffer == nullptr && count != 0)) return Fail(ERROR_INVALID_PARAMETER);
  if (!((*file).*allowed)()) return Fail(ERROR_ACCESS_DENIED);

  DWORD done = 0;
  while (done < count) {
    ssize_t moved = transfer(file->fd(), buffer + done, count - done);
    if (moved < 0 && errno == EINTR) continue;
    if (moved < 0) return Fail(wqplat::FileErrorFromErrno(errno));
    if (moved == 0) break;
    done += static_cast<DWORD>(moved);
    if (transferred != nullptr) *transferred = done;
  }
  return TRUE;
}

}  // namespace

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped) {
  return TransferAll(hFile, static_cast<char*>(lpBuffer), nNumberOfBytesToRead, lpNumberOfBytesRead,
                     lpOverlapped, &wqplat::FileObject::CanRead,
                     [](int fd, char* data, DWORD size) { return read(fd, data, size); });
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped) {
  return TransferAll(hFile, static_cast<const char*>(lpBuffer), nNumberOfBytesToWrite, lpNumberOfBytesWritten,
                     lpOverlapped, &wqplat::FileObject::CanWrite,
                     [](int fd, const char* data, DWORD size) { return write(fd, data, size); });
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod) {
  auto fail = [](DWORD error) { return wqplat::FailWith(error, INVALID_SET_FILE_POINTER); };
  auto file = wqplat::LookupKernelObjectAs<wqplat::FileObject>(hFile);
  if (!file) return fail(ERROR_INVALID_HANDLE);

  // Without a high part the distance is a signed 32-bit value.
  std::int64_t distance = lpDistanceToMoveHigh == nullptr
                              ? lDistanceToMove
                              : static_cast<std::int64_t>((static_cast<std::uint64_t>(*lpDistanceToMoveHigh) << 32) |
                                                          static_cast<DWORD>(lDistanceToMove));
  off_t base = 0;
  if (dwMoveMethod == FILE_CURRENT) {
    base = lseek(file->fd(), 0, SEEK_CUR);
  } else if (dwMoveMethod == FILE_END) {
    struct stat status;
    base = fstat(file->fd(), &status) == 0 ? status.st_size : -1;
  } else if (dwMoveMethod != FILE_BEGIN) {
    return fail(ERROR_INVALID_PARAMETER);
  }
  if (base < 0) return fail(wqplat::FileErrorFromErrno(errno));

  std::int64_t target;
  if (__builtin_add_overflow(static_cast<std::int64_t>(base), distance, &target)) return fail(ERROR_INVALID_PARAMETER);
  if (target < 0) return fail(ERROR_NEGATIVE_SEEK);
  // A caller without a high part cannot be told a position past 4 GB.
  if (lpDistanceToMoveHigh == nullptr && target > 0xFFFFFFFF) return fail(ERROR_INVALID_PARAMETER);
  if (lseek(file->fd(), target, SEEK_SET) < 0) return fail(wqplat::FileErrorFromErrno(errno));

  if (lpDistanceToMoveHigh != nullptr) *lpDistanceToMoveHigh = static_cast<LONG>(target >> 32);
  // A position whose low part is 0xFFFFFFFF is told from failure by the error.
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(target);
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
  auto file = wqplat::LookupKernelObjectAs<wqplat::FileObject>(hFile);
  struct stat status;
  if (!file) return wqplat::FailWith(ERROR_INVALID_HANDLE, INVALID_FILE_SIZE);
  if (fstat(file->fd(), &status) != 0) return wqplat::FailWith(wqplat::FileErrorFromErrno(errno), INVALID_FILE_SIZE);
  auto size = static_cast<std::uint64_t>(status.st_size);
  if (lpFileSizeHigh != nullptr) *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(size);
}
