#include "user32/class_mark.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>

namespace wqplat {
namespace {

struct HeldMark {
  int fd = -1;
  int windows = 0;
};

std::mutex mark_lock;
std::map<std::string, HeldMark> held_marks;  // by file path
std::optional<std::string> folder_setting;

// Class names compare case-insensitively, and may hold any code page 932
// byte: the file name is the upper-cased name in hexadecimal.
std::string MarkPath(const std::string& class_name) {
  std::string path = LockFolder() + "/class-";
  for (char byte : class_name) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", std::toupper(static_cast<unsigned char>(byte)));
    path += digits;
  }
  return path + ".lock";
}

// A record lock over the whole file.
struct flock WholeFile(short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  return lock;
}

// Whether a process other than this one holds a lock on the file: record
// locks of this process never count against itself.
bool LockedByAnotherProcess(int fd) {
  struct flock probe = WholeFile(F_WRLCK);
  return fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

void MakeFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
       slash = folder.find('/', slash + 1)) {
    mkdir(folder.substr(0, slash).c_str(), 0700);
  }
  mkdir(folder.c_str(), 0700);
}

}  // namespace

std::string LockFolder() {
  std::lock_guard lock(mark_lock);
  if (folder_setting) return *folder_setting;
  if (const char* folder = std::getenv("WQ_LOCK_DIR"); folder && *folder) return folder;
  return "/tmp/wqlib-locks-" + std::to_string(getuid());
}

void SetLockFolder(const char* folder) {
  std::lock_guard lock(mark_lock);
  if (folder) {
    folder_setting = folder;
  } else {
    folder_setting.reset();
  }
}

void HoldClassMark(const std::string& class_name) {
  std::string path = MarkPath(class_name);
  std::lock_guard lock(mark_lock);
  HeldMark& mark = held_marks[path];
  if (mark.windows++ > 0) return;
  MakeFolders(path.substr(0, path.rfind('/')));
  // Close-on-exec: a child process must not inherit (and so keep) the lock.
  mark.fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  struct flock shared = WholeFile(F_RDLCK);
  if (mark.fd >= 0) fcntl(mark.fd, F_SETLK, &shared);
}

void ReleaseClassMark(const std::string& class_name) {
  std::string path = MarkPath(class_name);
  std::lock_guard lock(mark_lock);
  auto found = held_marks.find(path);
  if (found == held_marks.end() || --found->second.windows > 0) return;
  // The file stays: removing it could race with another process taking it.
  if (found->second.fd >= 0) close(found->second.fd);
  held_marks.erase(found);
}

bool ClassMarkedElsewhere(const std::string& class_name) {
  std::string path = MarkPath(class_name);
  std::lock_guard lock(mark_lock);
  // Closing any descriptor of a file drops this process's record locks on
  // it, so a mark held here is probed through its own descriptor.
  if (auto held = held_marks.find(path); held != held_marks.end() && held->second.fd >= 0) {
    return LockedByAnotherProcess(held->second.fd);
  }
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool marked = LockedByAnotherProcess(fd);
  close(fd);
  return marked;
}

}  // namespace wqplat
