// A shown window and a Direct3D 9 device on it, made straight on the
// platform for the benchmarks' bare peers: a back buffer of the window's
// size, copied on Present without waiting for the vertical blank.
#pragma once

#include "platform/d3d9.h"
#include "platform/windows.h"

namespace wqbench {

struct BareDevice {
  HWND window;
  D_IDirect3D9* direct3d;
  D_IDirect3DDevice9* device;  // null when the device could not be made
};

// A pop-up window of a class of that name (registered on first use).
HWND CreateBareWindow(const char* className, int width, int height);
// behaviour: the D3DCREATE flags of CreateDevice.
BareDevice CreateBareDevice(const char* className, int width, int height, DWORD behaviour);
void ReleaseBareDevice(BareDevice* bare);

}  // namespace wqbench
