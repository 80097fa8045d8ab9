// GDI objects: fonts, bitmaps, brushes and device contexts. They share the
// kernel's handle table; a handle of another kind is simply not found here.
#pragma once

#include <memory>
#include <mutex>

#include "kernel32/kernel_object.h"
#include "platform/wintypes.h"

namespace wqplat {

class GdiObject : public KernelObject {
 public:
  // GetObjectA: writes the object's description when buffer is given and
  // size is enough; returns the bytes written (or needed), 0 when the kind
  // has no description.
  virtual int Describe(int size, void* buffer) const {
    (void)size;
    (void)buffer;
    return 0;
  }

  // Stock objects live for the whole process; DeleteObject ignores them.
  bool is_stock = false;
  // Device contexts currently holding the object (guarded by
  // GdiStateMutex()); such an object cannot be deleted, so a selected
  // bitmap's bits stay valid.
  int selection_count = 0;
};

inline HGDIOBJ RegisterGdiObject(std::shared_ptr<GdiObject> object) {
  return RegisterKernelObject(std::move(object));
}

inline bool UnregisterGdiObject(HGDIOBJ handle) { return UnregisterKernelObject(handle); }

template <class T = GdiObject>
std::shared_ptr<T> LookupGdiObjectAs(HGDIOBJ handle) {
  return LookupKernelObjectAs<T>(handle);
}

// Serialises selection and deletion across threads.
std::mutex& GdiStateMutex();

}  // namespace wqplat
