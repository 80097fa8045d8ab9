// Reference counting shared by every object a device hands out, with
// Direct3D 9's rules: an object keeps its device alive while the program
// holds it; the device's own bindings (a texture set on a stage, a render
// target in use) keep the object but not the device, so that releasing the
// device ends everything it still has bound; an object the device owns
// (back buffer, swap chain) lives on at zero until the device goes; a
// texture's level counts on its texture.
#pragma once

#include <atomic>

#include "platform/d3d9.h"

namespace wqplat {

class DeviceChildCount {
 public:
  enum class Ownership { kCaller, kDevice };

  virtual ~DeviceChildCount() = default;
  DeviceChildCount(const DeviceChildCount&) = delete;
  DeviceChildCount& operator=(const DeviceChildCount&) = delete;

  ULONG AddRefCount() {
    if (container_) return container_->AddRefCount();
    ULONG count = ++references_;
    if (count == 1) device_->AddRef();
    return count;
  }

  ULONG ReleaseCount() {
    if (container_) return container_->ReleaseCount();
    ULONG count = --references_;
    if (count == 0) {
      D_IDirect3DDevice9* device = device_;
      DeleteIfUnused();
      device->Release();
    }
    return count;
  }

  // Whether the program holds the object (or its container).
  bool held() const { return container_ ? container_->held() : references_ > 0; }

  // A binding of the device's own.
  void Bind() {
    if (container_) return container_->Bind();
    ++bindings_;
  }
  void Unbind() {
    if (container_) return container_->Unbind();
    if (--bindings_ == 0) DeleteIfUnused();
  }

 protected:
  DeviceChildCount(D_IDirect3DDevice9* device, Ownership ownership, DeviceChildCount* container)
      : device_(device), ownership_(ownership), container_(container) {}

  D_IDirect3DDevice9* device() const { return device_; }

 private:
  void DeleteIfUnused() {
    if (ownership_ == Ownership::kCaller && references_ == 0 && bindings_ == 0) delete this;
  }

  D_IDirect3DDevice9* device_;
  Ownership ownership_;
  DeviceChildCount* container_;
  std::atomic<ULONG> references_{0};
  std::atomic<ULONG> bindings_{0};
};

template <class Interface>
class DeviceChild : public Interface, public DeviceChildCount {
 public:
  // An object for the caller starts with one reference.
  DeviceChild(D_IDirect3DDevice9* device, Ownership ownership,
              DeviceChildCount* container = nullptr)
      : DeviceChildCount(device, ownership, container) {
    if (!container && ownership == Ownership::kCaller) AddRefCount();
  }

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown) {
      AddRef();
      *object = static_cast<IUnknown*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }

  ULONG AddRef() override { return AddRefCount(); }
  ULONG Release() override { return ReleaseCount(); }

  HRESULT GetDevice(D_IDirect3DDevice9** device) {
    if (!device) return D_D3DERR_INVALIDCALL;
    this->device()->AddRef();
    *device = this->device();
    return D_D3D_OK;
  }
};

// Moves a binding of the device's from one object to another (either null).
template <class Object>
void Rebind(Object*& slot, Object* value) {
  if (value) value->Bind();
  if (slot) slot->Unbind();
  slot = value;
}

}  // namespace wqplat
