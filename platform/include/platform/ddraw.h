// DirectDraw 7, as far as the framework uses it: the COM class
// CLSID_DirectDraw7 for waiting on the display's vertical blank.
#pragma once

#include "platform/ole32.h"
#include "platform/wintypes.h"

// {3C305196-50DB-11D3-9CFE-00C04FD930C5}
inline constexpr CLSID CLSID_DirectDraw7 = {
    0x3C305196, 0x50DB, 0x11D3, {0x9C, 0xFE, 0x00, 0xC0, 0x4F, 0xD9, 0x30, 0xC5}};
// {15E65EC0-3B9C-11D2-B92F-00609797EA5B}
inline constexpr IID IID_IDirectDraw7 = {
    0x15E65EC0, 0x3B9C, 0x11D2, {0xB9, 0x2F, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};

#define D_DD_OK S_OK
#define D_DDERR_ALREADYINITIALIZED (static_cast<HRESULT>(0x88760005u))
#define D_DDERR_INVALIDPARAMS E_INVALIDARG
#define D_DDERR_UNSUPPORTED E_NOTIMPL
#define D_DDERR_NOTINITIALIZED CO_E_NOTINITIALIZED

#define D_DDSCL_FULLSCREEN 0x00000001u
#define D_DDSCL_NORMAL 0x00000008u
#define D_DDSCL_EXCLUSIVE 0x00000010u
#define D_DDSCL_FPUPRESERVE 0x00001000u

#define D_DDWAITVB_BLOCKBEGIN 0x00000001u
#define D_DDWAITVB_BLOCKBEGINEVENT 0x00000002u
#define D_DDWAITVB_BLOCKEND 0x00000004u

class D_IDirectDraw7 : public IUnknown {
 public:
  // `driver` null: the display driver. Every other call needs it done first.
  virtual HRESULT Initialize(GUID* driver) = 0;
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
  // Returns at the display clock's next vertical blank (BLOCKBEGIN, or
  // BLOCKEND: the blank takes no time of its own); BLOCKBEGINEVENT is not
  // supported.
  virtual HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event) = 0;
};
