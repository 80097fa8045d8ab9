#include "d3d9/swap_chain.h"

namespace wqplat {

HRESULT SwapChain::Present(const RECT* source, const RECT* dest, HWND override_window,
                           const void* dirty_region, DWORD /*flags*/) {
  return device_->Present(source, dest, override_window, dirty_region);
}

HRESULT SwapChain::GetBackBuffer(UINT index, D_D3DBACKBUFFER_TYPE type,
                                 D_IDirect3DSurface9** surface) {
  return device_->GetBackBuffer(0, index, type, surface);
}

HRESULT SwapChain::GetPresentParameters(D_D3DPRESENT_PARAMETERS* parameters) {
  if (!parameters) return D_D3DERR_INVALIDCALL;
  *parameters = device_->parameters();
  return D_D3D_OK;
}

}  // namespace wqplat
