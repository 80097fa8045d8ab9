// Events: manual-reset ones stay signalled until reset; auto-reset ones
// release one wait and reset themselves.
#include <memory>

#include "kernel32/wait_state.h"
#include "kernel32/waitable_object.h"
#include "platform/kernel32_system.h"

namespace {

class Event : public wqplat::WaitableObject {
 public:
  Event(bool manual_reset, bool signalled) : manual_reset_(manual_reset), signalled_(signalled) {}

  bool IsSignalled() const override { return signalled_; }
  void OnWaitSatisfied() override {
    if (!manual_reset_) signalled_ = false;
  }
  void Set(bool signalled) { signalled_ = signalled; }

 private:
  const bool manual_reset_;
  bool signalled_;
};

BOOL ChangeEvent(HANDLE handle, bool signalled) {
  std::shared_ptr<Event> event = wqplat::LookupKernelObjectAs<Event>(handle);
  if (!event) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  wqplat::ChangeWaitState([&] { event->Set(signalled); });
  return TRUE;
}

}  // namespace

// Events are unnamed within this one process; a name is accepted and ignored.
HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manual_reset, BOOL initial_state, LPCSTR) {
  return wqplat::RegisterKernelObject(
      std::make_shared<Event>(manual_reset != FALSE, initial_state != FALSE));
}

BOOL SetEvent(HANDLE event) { return ChangeEvent(event, true); }

BOOL ResetEvent(HANDLE event) { return ChangeEvent(event, false); }
