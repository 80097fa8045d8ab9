// The wait behind WaitForSingleObject and WaitForMultipleObjects, open to
// modules that wait for kernel objects and something of their own at once
// (a message queue, for MsgWaitForMultipleObjects).
#pragma once

#include <functional>

#include "platform/kernel32_system.h"

namespace wqplat {

// As WaitForMultipleObjects; in addition, when `also_ready` (called under
// the wait lock, see wait_state.h) returns true first, the result is
// WAIT_OBJECT_0 + count. The list may be empty. Whatever `also_ready` reads must change through
// ChangeWaitState so that the wait notices.
DWORD WaitForObjects(DWORD count, const HANDLE* handles, BOOL wait_all, DWORD milliseconds,
                     const std::function<bool()>& also_ready);

}  // namespace wqplat
