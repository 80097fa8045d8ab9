// WaitForSingleObject and WaitForMultipleObjects over events and threads.
#include <algorithm>
#include <memory>
#include <vector>

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

// Wait-all: nothing is taken until every object is signalled at once.
bool TakeAll(const WaitList& objects) {
  for (const auto& object : objects) {
    if (!object->IsSignalled()) return false;
  }
  for (const auto& object : objects) object->OnWaitSatisfied();
  return true;
}

DWORD Fail(DWORD error) {
  SetLastError(error);
  return WAIT_FAILED;
}

}  // namespace

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL wait_all,
                             DWORD milliseconds) {
  if (handles == nullptr || count == 0 || count > MAXIMUM_WAIT_OBJECTS) {
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
    auto object = wqplat::LookupKernelObjectAs<wqplat::WaitableObject>(handles[i]);
    if (!object) return Fail(ERROR_INVALID_HANDLE);
    objects.push_back(std::move(object));
  }
  DWORD index = 0;
  const bool satisfied = wqplat::WaitForState(
      [&] { return wait_all ? TakeAll(objects) : TakeAny(objects, index); },
      TimeoutUs(milliseconds));
  return satisfied ? WAIT_OBJECT_0 + index : WAIT_TIMEOUT;
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
  return WaitForMultipleObjects(1, &object, FALSE, milliseconds);
}
