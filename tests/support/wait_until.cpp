// A thread's scheduling state, read from /proc.
#include "support/wait_until.h"

#include <unistd.h>

#include <fstream>
#include <string>

namespace wqtest {

pid_t CurrentThreadId() { return gettid(); }

bool ThreadIsBlocked(pid_t thread) {
  std::ifstream stat("/proc/self/task/" + std::to_string(thread) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return false;
  // "tid (name) state ...": the name may hold spaces and parentheses.
  const std::size_t name_end = line.rfind(')');
  if (name_end == std::string::npos || name_end + 2 >= line.size()) return false;
  const char state = line[name_end + 2];
  return state == 'S' || state == 'D';
}

}  // namespace wqtest
