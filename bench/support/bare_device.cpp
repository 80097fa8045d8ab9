#include "support/bare_device.h"

namespace wqbench {
namespace {

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

HWND CreateBareWindow(const char* className, int width, int height) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &BareWindowProc;
  windowClass.lpszClassName = className;
  RegisterClassExA(&windowClass);
  HWND window =
      CreateWindowExA(0, className, className, WS_POPUP, 0, 0, width, height, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(window, SW_SHOW);
  return window;
}

BareDevice CreateBareDevice(const char* className, int width, int height, DWORD behaviour) {
  BareDevice bare{CreateBareWindow(className, width, height), Direct3DCreate9(D_D3D_SDK_VERSION), nullptr};
  D_D3DPRESENT_PARAMETERS parameters{};
  parameters.BackBufferWidth = width;
  parameters.BackBufferHeight = height;
  parameters.BackBufferFormat = D_D3DFMT_X8R8G8B8;
  parameters.BackBufferCount = 1;
  parameters.SwapEffect = D_D3DSWAPEFFECT_COPY;
  parameters.hDeviceWindow = bare.window;
  parameters.Windowed = TRUE;
  parameters.PresentationInterval = D_D3DPRESENT_INTERVAL_IMMEDIATE;
  if (bare.direct3d == nullptr ||
      bare.direct3d->CreateDevice(0, D_D3DDEVTYPE_HAL, bare.window, behaviour, &parameters, &bare.device) != D_D3D_OK) {
    bare.device = nullptr;
  }
  return bare;
}

void ReleaseBareDevice(BareDevice* bare) {
  if (bare->device != nullptr) bare->device->Release();
  if (bare->direct3d != nullptr) bare->direct3d->Release();
  DestroyWindow(bare->window);
  *bare = BareDevice{};
}

}  // namespace wqbench
