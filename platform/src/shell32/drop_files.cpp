#include "shell32/drop_files.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <mutex>

#include "user32/window_table.h"

namespace wqplat {
namespace {

std::mutex drop_lock;
std::map<HDROP, std::vector<std::string>> drops;
std::uintptr_t next_drop_handle = 0x2000;

}  // namespace

HDROP CreateDropHandle(std::vector<std::string> names) {
  std::lock_guard lock(drop_lock);
  HDROP handle = reinterpret_cast<HDROP>(next_drop_handle);
  next_drop_handle += 4;
  drops[handle] = std::move(names);
  return handle;
}

}  // namespace wqplat

using namespace wqplat;

void DragAcceptFiles(HWND window, BOOL accept) {
  auto record = FindWindowRecord(window);
  if (!record) return;
  std::lock_guard lock(UserLock());
  record->accepts_files = accept != FALSE;
}

UINT DragQueryFileA(HDROP drop, UINT index, LPSTR file, UINT size) {
  std::lock_guard lock(drop_lock);
  auto found = drops.find(drop);
  if (found == drops.end()) return 0;
  const std::vector<std::string>& names = found->second;
  if (index == 0xFFFFFFFFu) return static_cast<UINT>(names.size());
  if (index >= names.size()) return 0;
  const std::string& name = names[index];
  if (!file) return static_cast<UINT>(name.size());
  if (size == 0) return 0;
  std::size_t copied = std::min<std::size_t>(name.size(), size - 1);
  name.copy(file, copied);
  file[copied] = '\0';
  return static_cast<UINT>(copied);
}

void DragFinish(HDROP drop) {
  std::lock_guard lock(drop_lock);
  drops.erase(drop);
}
