#include "core/window/input_direct_input.h"

#include "core/window/input_state.h"
#include "core/startup/runtime_libraries.h"
#include "core/window/window_system_state.h"

namespace {

using CoCreateInstanceFunction = HRESULT (*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

constexpr DWORD kVersion7 = 0x0700;
constexpr DWORD kVersion8 = 0x0800;

HRESULT CreateComObject(REFCLSID clsid, REFIID iid, void** object) {
  const auto coCreateInstance = RuntimeEntry<CoCreateInstanceFunction>(kRuntimeOle32, "CoCreateInstance");
  if (coCreateInstance == nullptr) return REGDB_E_CLASSNOTREG;
  return coCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object);
}

D_IDirectInput7A* AcquireVersion7() {
  LogWrite("DirectInput7 の取得中... ");
  D_IDirectInput7A* directInput = nullptr;
  const HRESULT created =
      CreateComObject(D_CLSID_DirectInput, D_IID_IDirectInput7A, reinterpret_cast<void**>(&directInput));
  if (FAILED(created)) {
    LogWrite("取得に失敗。\n");
    LogWriteFormat("エラーコード 0x%x", static_cast<unsigned>(created));
    return nullptr;
  }
  if (FAILED(directInput->Initialize(WindowSystem().instance, kVersion7))) {
    LogWrite("初期化に失敗。");
    directInput->Release();
    return nullptr;
  }
  return directInput;
}

D_IDirectInput8A* AcquireVersion8() {
  LogWrite("DirectInput8 の取得を試みます...");
  D_IDirectInput8A* directInput = nullptr;
  if (FAILED(CreateComObject(D_CLSID_DirectInput8, D_IID_IDirectInput8A,
                             reinterpret_cast<void**>(&directInput)))) {
    LogWrite("取得に失敗。");
    return nullptr;
  }
  LogWrite("成功\n");
  LogWrite("引き続き初期化処理... ");
  if (FAILED(directInput->Initialize(WindowSystem().instance, kVersion8))) {
    LogWrite("初期化に失敗。");
    directInput->Release();
    return nullptr;
  }
  LogWrite("初期化成功\n");
  return directInput;
}

}  // namespace

bool AcquireDirectInput() {
  InputState& input = Input();
  input.directInput7 = AcquireVersion7();
  if (input.directInput7 != nullptr) return true;
  input.directInput8Object = AcquireVersion8();
  input.directInput8 = input.directInput8Object != nullptr;
  return input.directInput8;
}

void ReleaseDirectInput() {
  InputState& input = Input();
  if (input.directInput7 != nullptr) input.directInput7->Release();
  if (input.directInput8Object != nullptr) input.directInput8Object->Release();
  input.directInput7 = nullptr;
  input.directInput8Object = nullptr;
  input.directInput8 = 0;
}

HRESULT CreateDirectInputDevice(REFGUID instance, D_IDirectInputDevice7A** device) {
  InputState& input = Input();
  if (input.directInput8) return input.directInput8Object->CreateDevice(instance, device, nullptr);
  return input.directInput7->CreateDeviceEx(instance, D_IID_IDirectInputDevice7A,
                                            reinterpret_cast<void**>(device), nullptr);
}

bool ReadDeviceState(D_IDirectInputDevice7A* device, DWORD size, void* state) {
  if (SUCCEEDED(device->GetDeviceState(size, state))) return true;
  device->Acquire();
  return SUCCEEDED(device->GetDeviceState(size, state));
}

HRESULT EnumGameControllers(D_LPDIENUMDEVICESCALLBACKA callback, void* context) {
  InputState& input = Input();
  if (input.directInput8) {
    return input.directInput8Object->EnumDevices(D_DI8DEVCLASS_GAMECTRL, callback, context,
                                                 D_DIEDFL_ATTACHEDONLY);
  }
  return input.directInput7->EnumDevices(D_DIDEVTYPE_JOYSTICK, callback, context, D_DIEDFL_ATTACHEDONLY);
}
