// Reference counting and QueryInterface for an object of one interface.
#pragma once

#include <atomic>

#include "platform/ole32.h"

namespace wqplat {

template <class Interface, const IID& kInterfaceId>
class ComObject : public Interface {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (!IsEqualGUID(iid, IID_IUnknown) && !IsEqualGUID(iid, kInterfaceId)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    *object = static_cast<Interface*>(this);
    return S_OK;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;

 private:
  std::atomic<ULONG> references_{1};
};

}  // namespace wqplat
