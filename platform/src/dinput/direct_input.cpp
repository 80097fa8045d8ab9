// The DirectInput 7 and 8 objects: version check, device enumeration and
// device creation, and the module's COM class table.
#include <vector>

#include "dinput/input_device.h"
#include "ole32/com_object.h"
#include "ole32/com_class_table.h"

namespace wqplat {
namespace {

// What both versions share; the versions differ only in how a device is
// asked for.
class DirectInputCore {
 public:
  HRESULT Initialize(DWORD version, DWORD lowest, DWORD highest) {
    if (version < lowest || version > highest) return D_DIERR_OLDDIRECTINPUTVERSION;
    initialized_ = true;
    return D_DI_OK;
  }

  HRESULT EnumDevices(DWORD device_type, D_LPDIENUMDEVICESCALLBACKA callback, LPVOID context) {
    if (!initialized_) return D_DIERR_NOTINITIALIZED;
    if (!callback) return D_DIERR_INVALIDPARAM;
    std::vector<D_DIDEVICEINSTANCEA> devices;
    // Type 0 lists every device; the version-8 classes share the numbers.
    if (device_type == 0 || device_type == D_DIDEVTYPE_MOUSE) devices.push_back(DescribeMouse());
    if (device_type == 0 || device_type == D_DIDEVTYPE_KEYBOARD) devices.push_back(DescribeKeyboard());
    if (device_type == 0 || device_type == D_DIDEVTYPE_JOYSTICK) {
      for (const PadInfo& pad : AttachedPads()) devices.push_back(DescribePad(pad));
    }
    for (const D_DIDEVICEINSTANCEA& device : devices) {
      if (callback(&device, context) == D_DIENUM_STOP) break;
    }
    return D_DI_OK;
  }

  HRESULT CreateDevice(REFGUID instance, D_IDirectInputDevice7A** device, LPUNKNOWN outer) {
    if (!initialized_) return D_DIERR_NOTINITIALIZED;
    if (outer) return CLASS_E_NOAGGREGATION;
    return CreateInputDevice(instance, device);
  }

 private:
  bool initialized_ = false;
};

class DirectInput7 final : public ComObject<D_IDirectInput7A, D_IID_IDirectInput7A> {
 public:
  HRESULT Initialize(HINSTANCE, DWORD version) override {
    return core_.Initialize(version, 0x0300, 0x0700);
  }
  HRESULT EnumDevices(DWORD device_type, D_LPDIENUMDEVICESCALLBACKA callback, LPVOID context,
                      DWORD) override {
    return core_.EnumDevices(device_type, callback, context);
  }
  HRESULT CreateDeviceEx(REFGUID instance, REFIID iid, LPVOID* device, LPUNKNOWN outer) override {
    if (!device) return D_DIERR_INVALIDPARAM;
    *device = nullptr;
    if (!(iid == D_IID_IDirectInputDevice7A)) return D_DIERR_NOINTERFACE;
    return core_.CreateDevice(instance, reinterpret_cast<D_IDirectInputDevice7A**>(device), outer);
  }

 private:
  DirectInputCore core_;
};

class DirectInput8 final : public ComObject<D_IDirectInput8A, D_IID_IDirectInput8A> {
 public:
  HRESULT Initialize(HINSTANCE, DWORD version) override {
    return core_.Initialize(version, 0x0800, 0x0800);
  }
  HRESULT EnumDevices(DWORD device_class, D_LPDIENUMDEVICESCALLBACKA callback, LPVOID context,
                      DWORD) override {
    return core_.EnumDevices(device_class, callback, context);
  }
  HRESULT CreateDevice(REFGUID instance, D_IDirectInputDevice8A** device, LPUNKNOWN outer) override {
    return core_.CreateDevice(instance, device, outer);
  }

 private:
  DirectInputCore core_;
};

const ComClassDefinition kClasses[] = {
    {D_CLSID_DirectInput, CreateComClassObject<DirectInput7>},
    {D_CLSID_DirectInput8, CreateComClassObject<DirectInput8>},
};

}  // namespace

extern const ComClassTable kDinputComClasses{"dinput", kClasses};

}  // namespace wqplat
