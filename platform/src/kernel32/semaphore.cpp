// Semaphores: a count between zero and a maximum; each satisfied wait takes
// one, ReleaseSemaphore gives some back.
#include <memory>

#include "kernel32/wait_state.h"
#include "kernel32/waitable_object.h"
#include "platform/kernel32_system.h"

namespace {

class Semaphore : public wqplat::WaitableObject {
 public:
  Semaphore(LONG count, LONG maximum) : count_(count), maximum_(maximum) {}

  bool IsSignalled() const override { return count_ > 0; }
  void OnWaitSatisfied() override { --count_; }

  // Adds `release` unless that would pass the maximum; the count before.
  bool Release(LONG release, LONG& previous) {
    previous = count_;
    if (release > maximum_ - count_) return false;
    count_ += release;
    return true;
  }

 private:
  LONG count_;
  const LONG maximum_;
};

}  // namespace

// Semaphores are unnamed within this one process; a name is accepted and
// ignored.
HANDLE CreateSemaphoreA(LPSECURITY_ATTRIBUTES, LONG initial_count, LONG maximum_count, LPCSTR) {
  if (maximum_count <= 0 || initial_count < 0 || initial_count > maximum_count) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return wqplat::RegisterKernelObject(std::make_shared<Semaphore>(initial_count, maximum_count));
}

BOOL ReleaseSemaphore(HANDLE semaphore, LONG release_count, LPLONG previous_count) {
  std::shared_ptr<Semaphore> object = wqplat::LookupKernelObjectAs<Semaphore>(semaphore);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (release_count <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  bool released = false;
  LONG previous = 0;
  wqplat::ChangeWaitState([&] { released = object->Release(release_count, previous); });
  if (!released) {
    SetLastError(ERROR_TOO_MANY_POSTS);
    return FALSE;
  }
  if (previous_count) *previous_count = previous;
  return TRUE;
}
