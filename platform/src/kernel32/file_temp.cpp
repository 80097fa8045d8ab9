// The temporary folder and unique temporary file names in it.
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>

#include "kernel32/file_errors.h"
#include "kernel32/path_caller_buffer.h"
#include "kernel32/path_characters.h"
#include "kernel32/path_windows_form.h"
#include "platform/kernel32_file.h"

namespace {

// Room the name adds to the folder: a backslash, three prefix characters,
// four hex digits, ".tmp" and the terminator.
constexpr std::size_t kTempNameRoom = 14;

// Where the search for a free number starts; differs between processes so
// that they rarely probe the same names.
UINT NextUniqueStart() {
  static std::atomic<UINT> next{static_cast<UINT>(getpid()) * 7919u + static_cast<UINT>(std::time(nullptr))};
  return next.fetch_add(1);
}

std::string FirstCharacters(std::string_view text, int count) {
  std::size_t end = 0;
  for (; end < text.size() && count > 0; --count) end += wqplat::Cp932CharLength(text, end);
  return std::string(text.substr(0, end));
}

std::string TempFileName(const std::string& stem, UINT unique) {
  char number[16];
  std::snprintf(number, sizeof number, "%X.tmp", unique & 0xFFFF);
  return stem + number;
}

// Creates the file; true when it was new, false when the name is taken.
// Other failures are reported through `error`.
bool CreateIfNew(const std::string& name, DWORD* error) {
  HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return true;
  }
  *error = GetLastError();
  return false;
}

}  // namespace

DWORD GetTempPathA(DWORD nBufferLength, LPSTR lpBuffer) {
  std::error_code failed;
  std::filesystem::path folder = std::filesystem::temp_directory_path(failed);
  if (failed) folder = "/tmp";
  std::string windows = wqplat::LinuxPathToWindows(folder.string());
  if (windows.back() != '\\') windows += '\\';
  return wqplat::CopyToCallerBuffer(windows, nBufferLength, lpBuffer);
}

UINT GetTempFileNameA(LPCSTR lpPathName, LPCSTR lpPrefixString, UINT uUnique, LPSTR lpTempFileName) {
  if (lpPathName == nullptr || lpTempFileName == nullptr) return wqplat::FailWith(ERROR_INVALID_PARAMETER, 0u);
  std::string_view folder(lpPathName, strnlen(lpPathName, MAX_PATH));
  if (folder.size() > MAX_PATH - kTempNameRoom) return wqplat::FailWith(ERROR_BUFFER_OVERFLOW, 0u);

  std::string stem(folder);
  if (wqplat::FindAfterLastSeparator(stem) != stem.size()) stem += '\\';
  if (lpPrefixString != nullptr) stem += FirstCharacters(lpPrefixString, 3);
  // Double-byte prefix characters can still push the name past MAX_PATH.
  if (TempFileName(stem, 0xFFFF).size() >= MAX_PATH) return wqplat::FailWith(ERROR_BUFFER_OVERFLOW, 0u);

  UINT unique = uUnique;
  if (uUnique == 0) {
    // Every 16-bit number but 0 is tried once before giving up.
    UINT start = NextUniqueStart();
    DWORD error = ERROR_FILE_EXISTS;
    bool created = false;
    for (UINT step = 0; step < 0xFFFF && !created; ++step) {
      unique = (start + step) % 0xFFFF + 1;
      created = CreateIfNew(TempFileName(stem, unique), &error);
      if (!created && error != ERROR_FILE_EXISTS) {
        return wqplat::FailWith(error, 0u);
      }
    }
    if (!created) return wqplat::FailWith(ERROR_FILE_EXISTS, 0u);
  }
  std::string name = TempFileName(stem, unique);
  std::memcpy(lpTempFileName, name.c_str(), name.size() + 1);
  return unique;
}
