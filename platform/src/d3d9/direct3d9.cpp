// The Direct3D 9 object: the adapter's modes, formats and capabilities, and
// device creation on a window.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "d3d9/adapter.h"
#include "d3d9/d3d9_controls.h"
#include "d3d9/device.h"
#include "ole32/com_object.h"
#include "user32/display_mode_list.h"

namespace wqplat {
namespace {

int BitsOf(D_D3DFORMAT format) { return format == D_D3DFMT_X8R8G8B8 ? 32 : 16; }

// The display modes at the depth of `format`, as DirectX lists them.
std::vector<D_D3DDISPLAYMODE> ModesOf(D_D3DFORMAT format) {
  std::vector<D_D3DDISPLAYMODE> modes;
  if (!IsDisplayFormat(format) || D3d9FormatRefused(format)) return modes;
  for (const DesktopMode& mode : ListDisplayModes()) {
    if (mode.bits_per_pixel != BitsOf(format)) continue;
    modes.push_back({static_cast<UINT>(mode.width), static_cast<UINT>(mode.height),
                     static_cast<UINT>(mode.refresh_rate), format});
  }
  return modes;
}

class Direct3D final : public ComObject<D_IDirect3D9, IID_IDirect3D9> {
 public:
  UINT GetAdapterCount() override { return 1; }

  HRESULT GetAdapterIdentifier(UINT adapter, DWORD /*flags*/,
                               D_D3DADAPTER_IDENTIFIER9* identifier) override {
    if (adapter != 0 || !identifier) return D_D3DERR_INVALIDCALL;
    *identifier = {};
    std::snprintf(identifier->Driver, sizeof identifier->Driver, "wqgl33.drv");
    std::snprintf(identifier->Description, sizeof identifier->Description,
                  "WQ OpenGL 3.3 display adapter");
    std::snprintf(identifier->DeviceName, sizeof identifier->DeviceName, "\\\\.\\DISPLAY1");
    return D_D3D_OK;
  }

  UINT GetAdapterModeCount(UINT adapter, D_D3DFORMAT format) override {
    return adapter == 0 ? static_cast<UINT>(ModesOf(format).size()) : 0;
  }

  HRESULT EnumAdapterModes(UINT adapter, D_D3DFORMAT format, UINT mode,
                           D_D3DDISPLAYMODE* display_mode) override {
    std::vector<D_D3DDISPLAYMODE> modes = ModesOf(format);
    if (adapter != 0 || !display_mode || mode >= modes.size()) return D_D3DERR_INVALIDCALL;
    *display_mode = modes[mode];
    return D_D3D_OK;
  }

  HRESULT GetAdapterDisplayMode(UINT adapter, D_D3DDISPLAYMODE* mode) override {
    if (adapter != 0 || !mode) return D_D3DERR_INVALIDCALL;
    DesktopMode current = CurrentDisplayMode();
    *mode = {static_cast<UINT>(current.width), static_cast<UINT>(current.height),
             static_cast<UINT>(current.refresh_rate),
             current.bits_per_pixel == 16 ? D_D3DFMT_R5G6B5 : D_D3DFMT_X8R8G8B8};
    return D_D3D_OK;
  }

  HRESULT CheckDeviceFormat(UINT adapter, D_D3DDEVTYPE type, D_D3DFORMAT adapter_format,
                            DWORD usage, D_D3DRESOURCETYPE resource_type,
                            D_D3DFORMAT check_format) override {
    if (adapter != 0 || type != D_D3DDEVTYPE_HAL || !IsDisplayFormat(adapter_format)) {
      return D_D3DERR_INVALIDCALL;
    }
    return AdapterSupportsFormat(usage, resource_type, check_format) ? D_D3D_OK
                                                                     : D_D3DERR_NOTAVAILABLE;
  }

  HRESULT CheckDeviceMultiSampleType(UINT adapter, D_D3DDEVTYPE type, D_D3DFORMAT /*format*/,
                                     BOOL /*windowed*/, D_D3DMULTISAMPLE_TYPE multisample,
                                     DWORD* quality_levels) override {
    if (adapter != 0 || type != D_D3DDEVTYPE_HAL) return D_D3DERR_INVALIDCALL;
    if (quality_levels) *quality_levels = multisample == D_D3DMULTISAMPLE_NONE ? 1 : 0;
    return multisample == D_D3DMULTISAMPLE_NONE ? D_D3D_OK : D_D3DERR_NOTAVAILABLE;
  }

  HRESULT CheckDepthStencilMatch(UINT adapter, D_D3DDEVTYPE type, D_D3DFORMAT adapter_format,
                                 D_D3DFORMAT render_target_format,
                                 D_D3DFORMAT depth_format) override {
    if (adapter != 0 || type != D_D3DDEVTYPE_HAL || !IsDisplayFormat(adapter_format)) {
      return D_D3DERR_INVALIDCALL;
    }
    bool usable =
        AdapterSupportsFormat(D_D3DUSAGE_RENDERTARGET, D_D3DRTYPE_SURFACE, render_target_format) &&
        AdapterSupportsFormat(D_D3DUSAGE_DEPTHSTENCIL, D_D3DRTYPE_SURFACE, depth_format);
    return usable ? D_D3D_OK : D_D3DERR_NOTAVAILABLE;
  }

  HRESULT GetDeviceCaps(UINT adapter, D_D3DDEVTYPE type, D_D3DCAPS9* caps) override {
    if (adapter != 0 || type != D_D3DDEVTYPE_HAL || !caps) return D_D3DERR_INVALIDCALL;
    *caps = AdapterCaps();
    return D_D3D_OK;
  }

  HRESULT CreateDevice(UINT adapter, D_D3DDEVTYPE type, HWND focus_window, DWORD /*behaviour*/,
                       D_D3DPRESENT_PARAMETERS* parameters,
                       D_IDirect3DDevice9** device) override {
    if (!device) return D_D3DERR_INVALIDCALL;
    *device = nullptr;
    if (adapter != 0 || type != D_D3DDEVTYPE_HAL || !parameters) return D_D3DERR_INVALIDCALL;
    if (D3d9CallFails("CreateDevice")) return D_D3DERR_NOTAVAILABLE;
    D_D3DPRESENT_PARAMETERS accepted = *parameters;
    if (!accepted.hDeviceWindow) accepted.hDeviceWindow = focus_window;
    HRESULT result = D_D3D_OK;
    Device* created = Device::Create(this, accepted, &result);
    if (!created) return result;
    *parameters = created->parameters();
    *device = created;
    return D_D3D_OK;
  }
};

}  // namespace
}  // namespace wqplat

D_IDirect3D9* Direct3DCreate9(UINT sdk_version) {
  if (sdk_version != D_D3D_SDK_VERSION || wqplat::D3d9CallFails("Direct3DCreate9")) {
    return nullptr;
  }
  if (!wqplat::ProbeGlDriver().available) return nullptr;
  return new wqplat::Direct3D;
}
