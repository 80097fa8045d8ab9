// Reference counting for the layer's own DirectShow objects: AddRef and
// Release over an atomic count that starts at one and deletes at zero.
#pragma once

#include <atomic>

#include "platform/ole32.h"

namespace wqplat {

template <class Interface>
class CountedObject : public Interface {
 public:
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  CountedObject() = default;
  virtual ~CountedObject() = default;
  CountedObject(const CountedObject&) = delete;
  CountedObject& operator=(const CountedObject&) = delete;

 private:
  std::atomic<ULONG> references_{1};
};

}  // namespace wqplat
