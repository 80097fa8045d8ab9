// The filter graph controls: graph methods made to fail for tests.
#include "quartz/quartz_controls.h"

#include <atomic>
#include <mutex>
#include <set>
#include <string>

#include "platform/control_quartz.h"

namespace wqplat {
namespace {

std::mutex g_lock;
std::set<std::string> g_failing;
// Graph calls come from streaming threads too; this spares them the lock
// when nothing is set.
std::atomic<bool> g_anyFailing{false};

}  // namespace

bool FilterGraphCallFails(const char* method) {
  if (!g_anyFailing.load(std::memory_order_relaxed)) return false;
  std::lock_guard guard(g_lock);
  return g_failing.count(method) != 0;
}

}  // namespace wqplat

void WqControlSetFilterGraphCallFails(const char* method, bool fails) {
  std::lock_guard guard(wqplat::g_lock);
  if (fails) {
    wqplat::g_failing.insert(method);
  } else {
    wqplat::g_failing.erase(method);
  }
  wqplat::g_anyFailing = !wqplat::g_failing.empty();
}
