// The device's one swap chain: its back buffer and Present.
#pragma once

#include "d3d9/device.h"
#include "d3d9/device_child.h"

namespace wqplat {

class SwapChain final : public DeviceChild<D_IDirect3DSwapChain9> {
 public:
  explicit SwapChain(Device* device)
      : DeviceChild(device, Ownership::kDevice), device_(device) {}

  HRESULT Present(const RECT* source, const RECT* dest, HWND override_window,
                  const void* dirty_region, DWORD flags) override;
  HRESULT GetBackBuffer(UINT index, D_D3DBACKBUFFER_TYPE type,
                        D_IDirect3DSurface9** surface) override;
  HRESULT GetPresentParameters(D_D3DPRESENT_PARAMETERS* parameters) override;

 private:
  Device* device_;
};

}  // namespace wqplat
