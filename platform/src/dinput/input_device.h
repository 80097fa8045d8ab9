// A DirectInput device: the system keyboard, the system mouse or one pad.
#pragma once

#include <cstdint>
#include <mutex>

#include "dinput/device_states.h"
#include "ole32/com_object.h"
#include "platform/dinput.h"

namespace wqplat {

enum class DeviceKind { kKeyboard, kMouse, kPad };

// The device's instance and product names and ids, and its type for
// enumeration (the DirectInput 7 numbering, which version 8 shares).
D_DIDEVICEINSTANCEA DescribeKeyboard();
D_DIDEVICEINSTANCEA DescribeMouse();
D_DIDEVICEINSTANCEA DescribePad(const PadInfo& pad);

// Creates the device an instance id names; D_DIERR_DEVICENOTREG for none.
HRESULT CreateInputDevice(REFGUID instance, D_IDirectInputDevice7A** device);

// Motors of a pad, driven by its effects.
enum class Motor { kStrong, kWeak };

class InputDevice final : public ComObject<D_IDirectInputDevice7A, D_IID_IDirectInputDevice7A> {
 public:
  InputDevice(DeviceKind kind, D_DIDEVICEINSTANCEA description, int pad_instance_id);

  // Answers the version-8 interface too.
  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT GetDeviceInfo(D_DIDEVICEINSTANCEA* instance) override;
  HRESULT SetDataFormat(const D_DIDATAFORMAT* format) override;
  HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
  HRESULT SetProperty(const GUID* property, const D_DIPROPHEADER* header) override;
  HRESULT SetEventNotification(HANDLE event) override;
  HRESULT Acquire() override;
  HRESULT Unacquire() override;
  HRESULT GetDeviceState(DWORD size, LPVOID data) override;
  HRESULT Poll() override;
  HRESULT CreateEffect(REFGUID effect_type, const D_DIEFFECT* parameters,
                       D_IDirectInputEffect** effect, LPUNKNOWN outer) override;

  // An effect starts or stops driving a motor (strength 0 stops it).
  void DriveMotor(Motor motor, std::uint16_t strength);

 private:
  ~InputDevice() override;
  DWORD FormatSize() const;
  HRESULT SetAxisProperty(const GUID* property, const D_DIPROPHEADER* header);

  const DeviceKind kind_;
  const D_DIDEVICEINSTANCEA description_;
  const int pad_instance_id_;
  std::mutex lock_;
  const D_DIDATAFORMAT* format_ = nullptr;
  bool acquired_ = false;
  HANDLE event_ = nullptr;  // the keyboard's notification
  AxisSettings axes_{};  // 0..65535 without a dead zone until set
  MouseTracker mouse_{};
  std::uint16_t motors_[2] = {0, 0};
};

}  // namespace wqplat
