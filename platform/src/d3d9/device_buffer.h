// Vertex and index buffers: memory the program fills through Lock. The
// framework draws from its own arrays (DrawPrimitiveUP), so a buffer is
// storage with Direct3D's locking rules.
#pragma once

#include <vector>

#include "d3d9/device_child.h"

namespace wqplat {

template <class Interface, class Description>
class DeviceBuffer final : public DeviceChild<Interface> {
 public:
  DeviceBuffer(D_IDirect3DDevice9* device, const Description& desc)
      : DeviceChild<Interface>(device, DeviceChild<Interface>::Ownership::kCaller),
        desc_(desc),
        memory_(desc.Size) {}

  D_D3DRESOURCETYPE GetType() override { return desc_.Type; }

  // Size 0 with offset 0 locks the whole buffer, as in Direct3D.
  HRESULT Lock(UINT offset, UINT size, void** data, DWORD /*flags*/) override {
    if (!data || offset > desc_.Size) return D_D3DERR_INVALIDCALL;
    if (size == 0) size = desc_.Size - offset;
    if (size > desc_.Size - offset) return D_D3DERR_INVALIDCALL;
    *data = memory_.data() + offset;
    ++locks_;
    return D_D3D_OK;
  }

  HRESULT Unlock() override {
    if (locks_ == 0) return D_D3DERR_INVALIDCALL;
    --locks_;
    return D_D3D_OK;
  }

  HRESULT GetDesc(Description* desc) override {
    if (!desc) return D_D3DERR_INVALIDCALL;
    *desc = desc_;
    return D_D3D_OK;
  }

 private:
  Description desc_;
  std::vector<std::uint8_t> memory_;
  int locks_ = 0;
};

using VertexBuffer = DeviceBuffer<D_IDirect3DVertexBuffer9, D_D3DVERTEXBUFFER_DESC>;
using IndexBuffer = DeviceBuffer<D_IDirect3DIndexBuffer9, D_D3DINDEXBUFFER_DESC>;

}  // namespace wqplat
