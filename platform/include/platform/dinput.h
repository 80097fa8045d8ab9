// DirectInput 7 and 8: the system keyboard and mouse and the attached game
// controllers, with force-feedback effects. Created through COM
// (CLSID_DirectInput / CLSID_DirectInput8).
#pragma once

#include "platform/ole32.h"

// ---- Class and interface ids --------------------------------------------------

inline constexpr CLSID D_CLSID_DirectInput = {0x6B7C1A01, 0x57D0, 0x4E21,
                                              {0x9A, 0x31, 0x01, 0x44, 0x49, 0x37, 0x00, 0x01}};
inline constexpr CLSID D_CLSID_DirectInput8 = {0x6B7C1A01, 0x57D0, 0x4E21,
                                               {0x9A, 0x31, 0x01, 0x44, 0x49, 0x38, 0x00, 0x01}};
inline constexpr IID D_IID_IDirectInput7A = {0x6B7C1A02, 0x57D0, 0x4E21,
                                             {0x9A, 0x31, 0x01, 0x44, 0x49, 0x37, 0x00, 0x02}};
inline constexpr IID D_IID_IDirectInput8A = {0x6B7C1A02, 0x57D0, 0x4E21,
                                             {0x9A, 0x31, 0x01, 0x44, 0x49, 0x38, 0x00, 0x02}};
inline constexpr IID D_IID_IDirectInputDevice7A = {
    0x6B7C1A03, 0x57D0, 0x4E21, {0x9A, 0x31, 0x01, 0x44, 0x49, 0x37, 0x00, 0x03}};
inline constexpr IID D_IID_IDirectInputDevice8A = {
    0x6B7C1A03, 0x57D0, 0x4E21, {0x9A, 0x31, 0x01, 0x44, 0x49, 0x38, 0x00, 0x03}};
inline constexpr IID D_IID_IDirectInputEffect = {0x6B7C1A04, 0x57D0, 0x4E21,
                                                 {0x9A, 0x31, 0x01, 0x44, 0x49, 0x00, 0x00, 0x04}};

// Instance ids of the system devices.
inline constexpr GUID D_GUID_SysMouse = {0x6B7C1A10, 0x57D0, 0x4E21,
                                         {0x9A, 0x31, 0x01, 0x44, 0x49, 0x00, 0x00, 0x10}};
inline constexpr GUID D_GUID_SysKeyboard = {0x6B7C1A11, 0x57D0, 0x4E21,
                                            {0x9A, 0x31, 0x01, 0x44, 0x49, 0x00, 0x00, 0x11}};
// Effect types.
inline constexpr GUID D_GUID_ConstantForce = {0x6B7C1A20, 0x57D0, 0x4E21,
                                              {0x9A, 0x31, 0x01, 0x44, 0x49, 0x00, 0x00, 0x20}};
inline constexpr GUID D_GUID_Sine = {0x6B7C1A21, 0x57D0, 0x4E21,
                                     {0x9A, 0x31, 0x01, 0x44, 0x49, 0x00, 0x00, 0x21}};

// ---- Results ----------------------------------------------------------------------

#define D_DI_OK S_OK
#define D_DI_NOEFFECT S_FALSE
#define D_DI_POLLEDDEVICE (static_cast<HRESULT>(0x00000002))
#define D_DIERR_INVALIDPARAM E_INVALIDARG
#define D_DIERR_NOINTERFACE E_NOINTERFACE
#define D_DIERR_UNSUPPORTED E_NOTIMPL
#define D_DIERR_DEVICENOTREG REGDB_E_CLASSNOTREG
#define D_DIERR_NOTINITIALIZED (static_cast<HRESULT>(0x80070015u))
#define D_DIERR_NOTACQUIRED (static_cast<HRESULT>(0x8007000Cu))
#define D_DIERR_INPUTLOST (static_cast<HRESULT>(0x8007001Eu))
#define D_DIERR_ACQUIRED (static_cast<HRESULT>(0x800700AAu))
#define D_DIERR_OLDDIRECTINPUTVERSION (static_cast<HRESULT>(0x8007047Eu))

// ---- Devices ----------------------------------------------------------------------

// EnumDevices: the device class (DirectInput 7 types, DirectInput 8 classes).
#define D_DIDEVTYPE_MOUSE 2u
#define D_DIDEVTYPE_KEYBOARD 3u
#define D_DIDEVTYPE_JOYSTICK 4u
#define D_DI8DEVCLASS_POINTER 2u
#define D_DI8DEVCLASS_KEYBOARD 3u
#define D_DI8DEVCLASS_GAMECTRL 4u
#define D_DIEDFL_ATTACHEDONLY 0x00000001u
#define D_DIENUM_STOP FALSE
#define D_DIENUM_CONTINUE TRUE

struct D_DIDEVICEINSTANCEA {
  DWORD dwSize;
  GUID guidInstance;
  GUID guidProduct;
  DWORD dwDevType;
  CHAR tszInstanceName[MAX_PATH];
  CHAR tszProductName[MAX_PATH];
  GUID guidFFDriver;
  WORD wUsagePage;
  WORD wUsage;
};
using D_LPCDIDEVICEINSTANCEA = const D_DIDEVICEINSTANCEA*;
using D_LPDIENUMDEVICESCALLBACKA = BOOL (*)(D_LPCDIDEVICEINSTANCEA instance, LPVOID context);

// SetCooperativeLevel: one of each pair.
#define D_DISCL_EXCLUSIVE 0x00000001u
#define D_DISCL_NONEXCLUSIVE 0x00000002u
#define D_DISCL_FOREGROUND 0x00000004u
#define D_DISCL_BACKGROUND 0x00000008u

// Data formats: a device reports its state in one of three layouts, told
// apart by their data size.
struct D_DIDATAFORMAT {
  DWORD dwSize;
  DWORD dwObjSize;
  DWORD dwFlags;
  DWORD dwDataSize;
  DWORD dwNumObjs;
  const void* rgodf;
};
extern const D_DIDATAFORMAT D_c_dfDIMouse;
extern const D_DIDATAFORMAT D_c_dfDIKeyboard;
extern const D_DIDATAFORMAT D_c_dfDIJoystick;

struct D_DIMOUSESTATE {
  LONG lX;  // motion since the last read
  LONG lY;
  LONG lZ;  // wheel, in WHEEL_DELTA units
  BYTE rgbButtons[4];
};

struct D_DIJOYSTATE {
  LONG lX;
  LONG lY;
  LONG lZ;
  LONG lRx;
  LONG lRy;
  LONG lRz;
  LONG rglSlider[2];
  DWORD rgdwPOV[4];  // hundredths of a degree clockwise from up, 0xFFFFFFFF centred
  BYTE rgbButtons[32];
};
static_assert(sizeof(D_DIJOYSTATE) == 80);

// Axis offsets in D_DIJOYSTATE, for properties given D_DIPH_BYOFFSET.
#define D_DIJOFS_X 0u
#define D_DIJOFS_Y 4u
#define D_DIJOFS_Z 8u
#define D_DIJOFS_RX 12u
#define D_DIJOFS_RY 16u
#define D_DIJOFS_RZ 20u

// Properties, named by small numbers in the place of a GUID pointer.
#define D_DIPROP_BUFFERSIZE (reinterpret_cast<const GUID*>(1))
#define D_DIPROP_RANGE (reinterpret_cast<const GUID*>(4))
#define D_DIPROP_DEADZONE (reinterpret_cast<const GUID*>(5))
#define D_DIPH_DEVICE 0u
#define D_DIPH_BYOFFSET 1u

struct D_DIPROPHEADER {
  DWORD dwSize;
  DWORD dwHeaderSize;
  DWORD dwObj;
  DWORD dwHow;
};
struct D_DIPROPDWORD {
  D_DIPROPHEADER diph;
  DWORD dwData;
};
struct D_DIPROPRANGE {
  D_DIPROPHEADER diph;
  LONG lMin;
  LONG lMax;
};

// ---- Effects ----------------------------------------------------------------------

#define D_DI_FFNOMINALMAX 10000
#define D_DIEB_NOTRIGGER 0xFFFFFFFFu
#define D_DIEFF_OBJECTOFFSETS 0x00000002u
#define D_DIEFF_CARTESIAN 0x00000010u
#define D_DIEFF_POLAR 0x00000020u

struct D_DICONSTANTFORCE {
  LONG lMagnitude;
};
struct D_DIPERIODIC {
  DWORD dwMagnitude;
  LONG lOffset;
  DWORD dwPhase;
  DWORD dwPeriod;
};
struct D_DIEFFECT {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwDuration;  // microseconds, INFINITE for none
  DWORD dwSamplePeriod;
  DWORD dwGain;  // 0..D_DI_FFNOMINALMAX
  DWORD dwTriggerButton;
  DWORD dwTriggerRepeatInterval;
  DWORD cAxes;
  LPDWORD rgdwAxes;
  LPLONG rglDirection;
  LPVOID lpEnvelope;
  DWORD cbTypeSpecificParams;
  LPVOID lpvTypeSpecificParams;
  DWORD dwStartDelay;
};

// A force played on a pad's rumble motors: constant force drives the
// strong motor, the sine the weak one, each at magnitude x gain.
class D_IDirectInputEffect : public IUnknown {
 public:
  // Plays the effect; iterations other than 1 are not supported.
  virtual HRESULT Start(DWORD iterations, DWORD flags) = 0;
  virtual HRESULT Stop() = 0;

 protected:
  ~D_IDirectInputEffect() = default;
};

// ---- Device and DirectInput interfaces ------------------------------------------

// The device calls this program makes are the same in both versions; one
// interface answers both IIDs.
class D_IDirectInputDevice7A : public IUnknown {
 public:
  virtual HRESULT GetDeviceInfo(D_DIDEVICEINSTANCEA* instance) = 0;
  virtual HRESULT SetDataFormat(const D_DIDATAFORMAT* format) = 0;
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
  // Buffer size (device), range and dead zone (an axis by offset, or every
  // axis with D_DIPH_DEVICE).
  virtual HRESULT SetProperty(const GUID* property, const D_DIPROPHEADER* header) = 0;
  // The event is set whenever the device's state changes; polled devices
  // (pads) return D_DI_POLLEDDEVICE and never set it. Null clears it.
  virtual HRESULT SetEventNotification(HANDLE event) = 0;
  // D_DI_OK, or S_FALSE when already acquired.
  virtual HRESULT Acquire() = 0;
  virtual HRESULT Unacquire() = 0;
  // The state in the layout of the data format; D_DIERR_NOTACQUIRED unless
  // acquired, D_DIERR_INVALIDPARAM when the size is not the format's.
  virtual HRESULT GetDeviceState(DWORD size, LPVOID data) = 0;
  virtual HRESULT Poll() = 0;
  virtual HRESULT CreateEffect(REFGUID effect_type, const D_DIEFFECT* parameters,
                               D_IDirectInputEffect** effect, LPUNKNOWN outer) = 0;

 protected:
  ~D_IDirectInputDevice7A() = default;
};
using D_IDirectInputDevice8A = D_IDirectInputDevice7A;

class D_IDirectInput7A : public IUnknown {
 public:
  // Version 0x0700 (or older); D_DIERR_OLDDIRECTINPUTVERSION for a newer one.
  virtual HRESULT Initialize(HINSTANCE instance, DWORD version) = 0;
  virtual HRESULT EnumDevices(DWORD device_type, D_LPDIENUMDEVICESCALLBACKA callback,
                              LPVOID context, DWORD flags) = 0;
  virtual HRESULT CreateDeviceEx(REFGUID instance, REFIID iid, LPVOID* device,
                                 LPUNKNOWN outer) = 0;

 protected:
  ~D_IDirectInput7A() = default;
};

class D_IDirectInput8A : public IUnknown {
 public:
  // Version 0x0800.
  virtual HRESULT Initialize(HINSTANCE instance, DWORD version) = 0;
  virtual HRESULT EnumDevices(DWORD device_class, D_LPDIENUMDEVICESCALLBACKA callback,
                              LPVOID context, DWORD flags) = 0;
  virtual HRESULT CreateDevice(REFGUID instance, D_IDirectInputDevice8A** device,
                               LPUNKNOWN outer) = 0;

 protected:
  ~D_IDirectInput8A() = default;
};

// ---- Key codes (the keyboard's scan codes, extended keys with bit 7) -------------

#define D_DIK_ESCAPE 0x01
#define D_DIK_1 0x02
#define D_DIK_2 0x03
#define D_DIK_3 0x04
#define D_DIK_4 0x05
#define D_DIK_5 0x06
#define D_DIK_6 0x07
#define D_DIK_7 0x08
#define D_DIK_8 0x09
#define D_DIK_9 0x0A
#define D_DIK_0 0x0B
#define D_DIK_MINUS 0x0C
#define D_DIK_EQUALS 0x0D
#define D_DIK_BACK 0x0E
#define D_DIK_TAB 0x0F
#define D_DIK_Q 0x10
#define D_DIK_W 0x11
#define D_DIK_E 0x12
#define D_DIK_R 0x13
#define D_DIK_T 0x14
#define D_DIK_Y 0x15
#define D_DIK_U 0x16
#define D_DIK_I 0x17
#define D_DIK_O 0x18
#define D_DIK_P 0x19
#define D_DIK_LBRACKET 0x1A
#define D_DIK_RBRACKET 0x1B
#define D_DIK_RETURN 0x1C
#define D_DIK_LCONTROL 0x1D
#define D_DIK_A 0x1E
#define D_DIK_S 0x1F
#define D_DIK_D 0x20
#define D_DIK_F 0x21
#define D_DIK_G 0x22
#define D_DIK_H 0x23
#define D_DIK_J 0x24
#define D_DIK_K 0x25
#define D_DIK_L 0x26
#define D_DIK_SEMICOLON 0x27
#define D_DIK_APOSTROPHE 0x28
#define D_DIK_GRAVE 0x29
#define D_DIK_LSHIFT 0x2A
#define D_DIK_BACKSLASH 0x2B
#define D_DIK_Z 0x2C
#define D_DIK_X 0x2D
#define D_DIK_C 0x2E
#define D_DIK_V 0x2F
#define D_DIK_B 0x30
#define D_DIK_N 0x31
#define D_DIK_M 0x32
#define D_DIK_COMMA 0x33
#define D_DIK_PERIOD 0x34
#define D_DIK_SLASH 0x35
#define D_DIK_RSHIFT 0x36
#define D_DIK_MULTIPLY 0x37
#define D_DIK_LMENU 0x38
#define D_DIK_SPACE 0x39
#define D_DIK_CAPITAL 0x3A
#define D_DIK_F1 0x3B
#define D_DIK_F2 0x3C
#define D_DIK_F3 0x3D
#define D_DIK_F4 0x3E
#define D_DIK_F5 0x3F
#define D_DIK_F6 0x40
#define D_DIK_F7 0x41
#define D_DIK_F8 0x42
#define D_DIK_F9 0x43
#define D_DIK_F10 0x44
#define D_DIK_NUMLOCK 0x45
#define D_DIK_SCROLL 0x46
#define D_DIK_NUMPAD7 0x47
#define D_DIK_NUMPAD8 0x48
#define D_DIK_NUMPAD9 0x49
#define D_DIK_SUBTRACT 0x4A
#define D_DIK_NUMPAD4 0x4B
#define D_DIK_NUMPAD5 0x4C
#define D_DIK_NUMPAD6 0x4D
#define D_DIK_ADD 0x4E
#define D_DIK_NUMPAD1 0x4F
#define D_DIK_NUMPAD2 0x50
#define D_DIK_NUMPAD3 0x51
#define D_DIK_NUMPAD0 0x52
#define D_DIK_DECIMAL 0x53
#define D_DIK_OEM_102 0x56
#define D_DIK_F11 0x57
#define D_DIK_F12 0x58
#define D_DIK_KANA 0x70
#define D_DIK_ABNT_C1 0x73
#define D_DIK_CONVERT 0x79
#define D_DIK_NOCONVERT 0x7B
#define D_DIK_YEN 0x7D
#define D_DIK_CIRCUMFLEX 0x90
#define D_DIK_AT 0x91
#define D_DIK_COLON 0x92
#define D_DIK_UNDERLINE 0x93
#define D_DIK_KANJI 0x94
#define D_DIK_NUMPADENTER 0x9C
#define D_DIK_RCONTROL 0x9D
#define D_DIK_DIVIDE 0xB5
#define D_DIK_SYSRQ 0xB7
#define D_DIK_RMENU 0xB8
#define D_DIK_PAUSE 0xC5
#define D_DIK_HOME 0xC7
#define D_DIK_UP 0xC8
#define D_DIK_PRIOR 0xC9
#define D_DIK_LEFT 0xCB
#define D_DIK_RIGHT 0xCD
#define D_DIK_END 0xCF
#define D_DIK_DOWN 0xD0
#define D_DIK_NEXT 0xD1
#define D_DIK_INSERT 0xD2
#define D_DIK_DELETE 0xD3
#define D_DIK_LWIN 0xDB
#define D_DIK_RWIN 0xDC
#define D_DIK_APPS 0xDD
