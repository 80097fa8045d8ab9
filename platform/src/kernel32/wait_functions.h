// The wait behind WaitForSingleObject and WaitForMultipleObjects, open to
// modules that wait for kernel objects and something of their own at once
// (a message queue, for MsgWaitForMultipleObjects).
#pragma once

#include <functional>

#include "platform/kernel32_system.h"

namespace wqplat {

// As WaitForMultipleObjects, with an extra condition `also_ready` (may be
// empty; called under the wait lock, see wait_state.h). Waiting for any
// object, the condition holding first gives WAIT_OBJECT_0 + count; waiting
// for all of a non-empty list, it must hold together with them, and the
// result is WAIT_OBJECT_0. The list may be empty. Whatever `also_ready`
// reads must change through ChangeWaitState so that the wait notices.
DWORD WaitForObjects(DWORD count, const HANDLE* handles, BOOL wait_all, DWORD milliseconds,
                     const std::function<bool()>& also_ready);

}  // namespace wqplat
