#include "dinput/input_device.h"

#include <cstring>
#include <string>

#include "dinput/input_effect.h"
#include "kernel32/text_encoding.h"
#include "platform/user32.h"
#include "user32/input_script.h"
#include "user32/keyboard_state.h"

namespace wqplat {
namespace {

// Pads' instance ids carry SDL's instance id in their last bytes.
constexpr GUID kPadInstanceBase = {0x6B7C1A30, 0x57D0, 0x4E21,
                                   {0x9A, 0x31, 0x01, 0x44, 0, 0, 0, 0}};
constexpr GUID kPadProduct = {0x6B7C1A31, 0x57D0, 0x4E21,
                              {0x9A, 0x31, 0x01, 0x44, 0x49, 0x00, 0x00, 0x31}};

D_DIDEVICEINSTANCEA Describe(const GUID& instance, const GUID& product, DWORD type,
                             const std::string& name) {
  D_DIDEVICEINSTANCEA description{};
  description.dwSize = sizeof description;
  description.guidInstance = instance;
  description.guidProduct = product;
  description.dwDevType = type;
  std::strncpy(description.tszInstanceName, name.c_str(), MAX_PATH - 1);
  std::strncpy(description.tszProductName, name.c_str(), MAX_PATH - 1);
  return description;
}

GUID PadInstance(int instance_id) {
  GUID guid = kPadInstanceBase;
  std::memcpy(&guid.Data4[4], &instance_id, sizeof instance_id);
  return guid;
}

bool IsPadInstance(REFGUID guid, int* instance_id) {
  GUID base = guid;
  std::memset(&base.Data4[4], 0, 4);
  if (!(base == kPadInstanceBase)) return false;
  std::memcpy(instance_id, &guid.Data4[4], sizeof *instance_id);
  return true;
}

bool OneOfEach(DWORD flags, DWORD first, DWORD second) {
  return ((flags & first) != 0) != ((flags & second) != 0);
}

}  // namespace

D_DIDEVICEINSTANCEA DescribeKeyboard() {
  return Describe(D_GUID_SysKeyboard, D_GUID_SysKeyboard, D_DIDEVTYPE_KEYBOARD, "Keyboard");
}

D_DIDEVICEINSTANCEA DescribeMouse() {
  return Describe(D_GUID_SysMouse, D_GUID_SysMouse, D_DIDEVTYPE_MOUSE, "Mouse");
}

D_DIDEVICEINSTANCEA DescribePad(const PadInfo& pad) {
  return Describe(PadInstance(pad.instance_id), kPadProduct, D_DIDEVTYPE_JOYSTICK,
                  Utf8ToCp932(pad.name));
}

HRESULT CreateInputDevice(REFGUID instance, D_IDirectInputDevice7A** device) {
  if (!device) return D_DIERR_INVALIDPARAM;
  *device = nullptr;
  int pad_id = -1;
  if (instance == D_GUID_SysKeyboard) {
    *device = new InputDevice(DeviceKind::kKeyboard, DescribeKeyboard(), -1);
  } else if (instance == D_GUID_SysMouse) {
    *device = new InputDevice(DeviceKind::kMouse, DescribeMouse(), -1);
  } else if (IsPadInstance(instance, &pad_id)) {
    for (const PadInfo& pad : AttachedPads()) {
      if (pad.instance_id == pad_id) *device = new InputDevice(DeviceKind::kPad, DescribePad(pad), pad_id);
    }
  }
  return *device ? D_DI_OK : D_DIERR_DEVICENOTREG;
}

InputDevice::InputDevice(DeviceKind kind, D_DIDEVICEINSTANCEA description, int pad_instance_id)
    : kind_(kind), description_(description), pad_instance_id_(pad_instance_id) {}

InputDevice::~InputDevice() {
  if (event_) WatchKeyChanges(event_, false);
  if (kind_ == DeviceKind::kPad && (motors_[0] || motors_[1])) RumblePad(pad_instance_id_, 0, 0);
}

HRESULT InputDevice::QueryInterface(REFIID iid, void** object) {
  return ComObject::QueryInterface(iid == D_IID_IDirectInputDevice8A ? D_IID_IDirectInputDevice7A : iid,
                                   object);
}

HRESULT InputDevice::GetDeviceInfo(D_DIDEVICEINSTANCEA* instance) {
  if (!instance || instance->dwSize != sizeof(D_DIDEVICEINSTANCEA)) return D_DIERR_INVALIDPARAM;
  *instance = description_;
  return D_DI_OK;
}

DWORD InputDevice::FormatSize() const {
  switch (kind_) {
    case DeviceKind::kKeyboard: return D_c_dfDIKeyboard.dwDataSize;
    case DeviceKind::kMouse: return D_c_dfDIMouse.dwDataSize;
    case DeviceKind::kPad: return D_c_dfDIJoystick.dwDataSize;
  }
  return 0;
}

HRESULT InputDevice::SetDataFormat(const D_DIDATAFORMAT* format) {
  // Each device offers the one layout of its kind.
  if (!format || format->dwSize != sizeof(D_DIDATAFORMAT) || format->dwDataSize != FormatSize()) {
    return D_DIERR_INVALIDPARAM;
  }
  std::lock_guard lock(lock_);
  if (acquired_) return D_DIERR_ACQUIRED;
  format_ = format;
  return D_DI_OK;
}

HRESULT InputDevice::SetCooperativeLevel(HWND window, DWORD flags) {
  if (!OneOfEach(flags, D_DISCL_EXCLUSIVE, D_DISCL_NONEXCLUSIVE) ||
      !OneOfEach(flags, D_DISCL_FOREGROUND, D_DISCL_BACKGROUND) || !IsWindow(window)) {
    return D_DIERR_INVALIDPARAM;
  }
  // Every program of this layer's session shares the devices; the level
  // is accepted as asked.
  return D_DI_OK;
}

HRESULT InputDevice::SetAxisProperty(const GUID* property, const D_DIPROPHEADER* header) {
  if (kind_ != DeviceKind::kPad) return D_DIERR_UNSUPPORTED;
  const DWORD size = property == D_DIPROP_RANGE ? sizeof(D_DIPROPRANGE) : sizeof(D_DIPROPDWORD);
  if (header->dwSize != size) return D_DIERR_INVALIDPARAM;
  int first = 0;
  int last = kJoystickAxes - 1;
  if (header->dwHow == D_DIPH_BYOFFSET) {
    if (header->dwObj % 4 != 0 || header->dwObj / 4 >= kJoystickAxes) return D_DIERR_INVALIDPARAM;
    first = last = static_cast<int>(header->dwObj / 4);
  } else if (header->dwHow != D_DIPH_DEVICE || header->dwObj != 0) {
    return D_DIERR_INVALIDPARAM;
  }
  std::lock_guard lock(lock_);
  for (int axis = first; axis <= last; ++axis) {
    if (property == D_DIPROP_RANGE) {
      const auto* range = reinterpret_cast<const D_DIPROPRANGE*>(header);
      if (range->lMin >= range->lMax) return D_DIERR_INVALIDPARAM;
      axes_[axis].min = range->lMin;
      axes_[axis].max = range->lMax;
    } else {
      DWORD dead_zone = reinterpret_cast<const D_DIPROPDWORD*>(header)->dwData;
      if (dead_zone > 10000) return D_DIERR_INVALIDPARAM;
      axes_[axis].dead_zone = dead_zone;
    }
  }
  return D_DI_OK;
}

HRESULT InputDevice::SetProperty(const GUID* property, const D_DIPROPHEADER* header) {
  if (!header || header->dwHeaderSize != sizeof(D_DIPROPHEADER)) return D_DIERR_INVALIDPARAM;
  if (property == D_DIPROP_RANGE || property == D_DIPROP_DEADZONE) {
    return SetAxisProperty(property, header);
  }
  if (property == D_DIPROP_BUFFERSIZE) {
    // States are read whole; no buffered data is kept, so any size is fine.
    return header->dwSize == sizeof(D_DIPROPDWORD) && header->dwHow == D_DIPH_DEVICE
               ? D_DI_OK
               : D_DIERR_INVALIDPARAM;
  }
  return D_DIERR_UNSUPPORTED;
}

HRESULT InputDevice::SetEventNotification(HANDLE event) {
  std::lock_guard lock(lock_);
  if (acquired_) return D_DIERR_ACQUIRED;
  // Only the keyboard tells its changes; the others are polled.
  if (kind_ != DeviceKind::kKeyboard) return D_DI_POLLEDDEVICE;
  if (event_) WatchKeyChanges(event_, false);
  event_ = event;
  if (event_) WatchKeyChanges(event_, true);
  return D_DI_OK;
}

HRESULT InputDevice::Acquire() {
  std::lock_guard lock(lock_);
  if (!format_) return D_DIERR_INVALIDPARAM;
  if (acquired_) return S_FALSE;
  acquired_ = true;
  mouse_.started = false;
  return D_DI_OK;
}

HRESULT InputDevice::Unacquire() {
  std::lock_guard lock(lock_);
  if (!acquired_) return D_DI_NOEFFECT;
  acquired_ = false;
  return D_DI_OK;
}

HRESULT InputDevice::GetDeviceState(DWORD size, LPVOID data) {
  if (!data || size != FormatSize()) return D_DIERR_INVALIDPARAM;
  if (kind_ == DeviceKind::kKeyboard) ApplyDueInputScript();
  std::lock_guard lock(lock_);
  if (!acquired_) return D_DIERR_NOTACQUIRED;
  switch (kind_) {
    case DeviceKind::kKeyboard:
      ReadKeyboardKeys(static_cast<BYTE*>(data));
      return D_DI_OK;
    case DeviceKind::kMouse:
      ReadMouse(&mouse_, static_cast<D_DIMOUSESTATE*>(data));
      return D_DI_OK;
    case DeviceKind::kPad: {
      PadState pad;
      if (!ReadPad(pad_instance_id_, &pad)) {
        acquired_ = false;
        return D_DIERR_INPUTLOST;
      }
      ReadJoystick(pad, axes_, static_cast<D_DIJOYSTATE*>(data));
      return D_DI_OK;
    }
  }
  return D_DIERR_INVALIDPARAM;
}

HRESULT InputDevice::Poll() {
  std::lock_guard lock(lock_);
  if (!acquired_) return D_DIERR_NOTACQUIRED;
  // Pads are read afresh by GetDeviceState; the others need no poll.
  return kind_ == DeviceKind::kPad ? D_DI_OK : D_DI_NOEFFECT;
}

HRESULT InputDevice::CreateEffect(REFGUID effect_type, const D_DIEFFECT* parameters,
                                  D_IDirectInputEffect** effect, LPUNKNOWN outer) {
  if (!effect) return D_DIERR_INVALIDPARAM;
  *effect = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (kind_ != DeviceKind::kPad) return D_DIERR_UNSUPPORTED;
  return CreateRumbleEffect(this, effect_type, parameters, effect);
}

void InputDevice::DriveMotor(Motor motor, std::uint16_t strength) {
  std::lock_guard lock(lock_);
  motors_[static_cast<int>(motor)] = strength;
  RumblePad(pad_instance_id_, motors_[0], motors_[1]);
}

}  // namespace wqplat
