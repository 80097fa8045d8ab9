// The kernel's handle table: every HANDLE the layer gives out (files, events,
// threads, ...) names a reference-counted object here.
#pragma once

#include <memory>

#include "platform/wintypes.h"

namespace wqplat {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
};

// Registers an object and returns its new handle (never null and never
// INVALID_HANDLE_VALUE).
HANDLE RegisterKernelObject(std::shared_ptr<KernelObject> object);

// The object behind a handle, or null for an unknown or closed handle.
std::shared_ptr<KernelObject> LookupKernelObject(HANDLE handle);

template <class T>
std::shared_ptr<T> LookupKernelObjectAs(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(LookupKernelObject(handle));
}

// Removes a handle; the object lives on while someone still holds it (a
// thread waiting on an event, for instance). False for an unknown handle.
bool UnregisterKernelObject(HANDLE handle);

}  // namespace wqplat
