// A kernel object that WaitForSingleObject and WaitForMultipleObjects accept.
#pragma once

#include "kernel32/kernel_object.h"

namespace wqplat {

// Both functions are called with the wait lock held (wait_state.h); state
// they read changes only through ChangeWaitState.
class WaitableObject : public KernelObject {
 public:
  virtual bool IsSignalled() const = 0;
  // Called when a wait is satisfied by this object: an auto-reset event
  // resets itself here.
  virtual void OnWaitSatisfied() {}
};

}  // namespace wqplat
