#include "kernel32/path_mapping.h"

#include <sys/stat.h>

#include <optional>

#include "kernel32/path_characters.h"
#include "kernel32/path_directory_cache.h"
#include "kernel32/path_windows_form.h"
#include "kernel32/text_encoding.h"
#include "platform/kernel32_base.h"

namespace wqplat {
namespace {

std::string JoinLinux(const std::string& directory, const std::string& name) {
  return directory == "/" ? "/" + name : directory + "/" + name;
}

// The on-disk name of `name` in `directory`: exact first, then ignoring case.
std::optional<std::string> FindOnDisk(const std::string& directory, const std::string& utf8_name,
                                      const std::string& name) {
  struct stat status;
  if (lstat(JoinLinux(directory, utf8_name).c_str(), &status) == 0) return utf8_name;
  return FindNameIgnoringCase(directory, name);
}

bool IsDirectory(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

DWORD MapWindowsPath(const char* path, MappedPath* out) {
  WindowsPath windows;
  if (DWORD error = ParseWindowsPath(path, &windows); error != ERROR_SUCCESS) return error;

  MappedPath mapped{"/", "/", true};
  for (std::size_t i = 0; i < windows.components.size(); ++i) {
    const std::string& name = windows.components[i];
    std::string utf8_name = Cp932ToUtf8(name);
    // A '?' here stands for bytes that are not code page 932.
    if (HasInvalidNameCharacter(name) || utf8_name.find('?') != std::string::npos) {
      return ERROR_INVALID_NAME;
    }
    bool last = i + 1 == windows.components.size();
    std::optional<std::string> on_disk = FindOnDisk(mapped.linux_path, utf8_name, name);
    mapped.directory = mapped.linux_path;
    mapped.linux_path = JoinLinux(mapped.linux_path, on_disk.value_or(utf8_name));
    if (last) {
      mapped.exists = on_disk.has_value();
    } else if (!on_disk || !IsDirectory(mapped.linux_path)) {
      return ERROR_PATH_NOT_FOUND;
    }
  }
  *out = std::move(mapped);
  return ERROR_SUCCESS;
}

DWORD MapExistingWindowsPath(const char* path, MappedPath* out) {
  DWORD error = MapWindowsPath(path, out);
  if (error == ERROR_SUCCESS && !out->exists) error = ERROR_FILE_NOT_FOUND;
  return error;
}

}  // namespace wqplat
