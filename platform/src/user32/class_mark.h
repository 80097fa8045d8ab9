// Marks, visible to other processes, that this process has a window of a
// class: one lock file per class name in the lock folder, with a shared
// record lock held while such a window exists. The kernel drops the lock
// when the process ends, however it ends.
#pragma once

#include <string>

namespace wqplat {

// The lock folder: the control's setting, else $WQ_LOCK_DIR, else a folder
// under /tmp named after the user.
std::string LockFolder();
void SetLockFolder(const char* folder);  // null: back to the default

// Holds or releases the mark for one more or one fewer window of the class.
void HoldClassMark(const std::string& class_name);
void ReleaseClassMark(const std::string& class_name);

// True when another process holds the mark of the class.
bool ClassMarkedElsewhere(const std::string& class_name);

}  // namespace wqplat
