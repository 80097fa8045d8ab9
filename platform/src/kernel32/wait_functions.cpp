// WaitForSingleObject and WaitForMultipleObjects over events and threads.
#include <algorithm>
#include <memory>
#include <vector>

#include "kernel32/wait_functions.h"
#include "kernel32/wait_state.h"
#include "kernel32/waitable_object.h"
#include "platform/kernel32_system.h"

namespace {

using WaitList = std::vector<std::shared_ptr<wqplat::WaitableObject>>;

std::uint64_t TimeoutUs(DWORD milliseconds) {
  return milliseconds == INFINITE ? wqplat::kWaitForever
                                  : static_cast<std::uint64_t>(milliseconds) * 1000;
}

// Wait-any: the lowest signalled index, so a busy first object can starve
// the others, as on Windows.
bool TakeAny(const WaitList& objects, DWORD& index) {
  for (DWORD i = 0; i < objects.size(); ++i) {
    if (objects[i]->IsSignalled()) {
      objects[i]->OnWaitSatisfied();
      index = i;
      return true;
    }
  }
  return false;
}

// Wait-all: nothing is taken until every object is signalled at once (and
// `also_ready` holds, when given).
bool TakeAll(const WaitList& objects, const std::function<bool()>& also_ready) {
  for (const auto& object : objects) {
    if (!object->IsSignalled()) return false;
  }
  if (also_ready && !also_ready()) return false;
  for (const auto& object : objects) object->OnWaitSatisfied();
  return true;
}

// Takes what satisfies the wait, if anything; `index` names the object
// that did (0 for wait-all).
bool TakeSignalled(const WaitList& objects, bool wait_all, const std::function<bool()>& also_ready,
                   DWORD& index) {
  if (objects.empty()) return false;
  if (!wait_all) return TakeAny(objects, index);
  index = 0;
  return TakeAll(objects, also_ready);
}

DWORD Fail(DWORD error) {
  SetLastError(error);
  return WAIT_FAILED;
}

}  // namespace

namespace wqplat {

DWORD WaitForObjects(DWORD count, const HANDLE* handles, BOOL wait_all, DWORD milliseconds,
                     const std::function<bool()>& also_ready) {
  if (count > MAXIMUM_WAIT_OBJECTS || (handles == nullptr && count > 0)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  // Waiting for all of a list that names one object twice is refused: an
  // auto-reset event could not satisfy both entries.
  if (wait_all) {
    std::vector<HANDLE> sorted(handles, handles + count);
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
      return Fail(ERROR_INVALID_PARAMETER);
    }
  }
  WaitList objects;
  for (DWORD i = 0; i < count; ++i) {
    auto object = LookupKernelObjectAs<WaitableObject>(handles[i]);
    if (!object) return Fail(ERROR_INVALID_HANDLE);
    objects.push_back(std::move(object));
  }
  DWORD index = 0;
  const bool satisfied = WaitForState(
      [&] {
        if (TakeSignalled(objects, wait_all, also_ready, index)) return true;
        // Waiting for all objects, the extra condition only completes them.
        if (!also_ready || (wait_all && count > 0)) return false;
        index = count;
        return also_ready();
      },
      TimeoutUs(milliseconds));
  return satisfied ? WAIT_OBJECT_0 + index : WAIT_TIMEOUT;
}

}  // namespace wqplat

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL wait_all,
                             DWORD milliseconds) {
  if (count == 0) return Fail(ERROR_INVALID_PARAMETER);
  return wqplat::WaitForObjects(count, handles, wait_all, milliseconds, {});
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
  return WaitForMultipleObjects(1, &object, FALSE, milliseconds);
}
