// winmm: the multimedia timer services.
#pragma once

#include "platform/wintypes.h"

using MMRESULT = UINT;

#define TIMERR_NOERROR 0u
#define TIMERR_NOCANDO 97u

struct TIMECAPS {
  UINT wPeriodMin;
  UINT wPeriodMax;
};
using LPTIMECAPS = TIMECAPS*;

// Milliseconds since the system started, wrapping at 2^32; the same clock
// as GetTickCount.
DWORD timeGetTime();
// Periods from 1 ms up are accepted; the clock is always that precise.
MMRESULT timeBeginPeriod(UINT period);
MMRESULT timeEndPeriod(UINT period);
MMRESULT timeGetDevCaps(LPTIMECAPS caps, UINT size);

// ---- Timer events ----------------------------------------------------------

#define TIME_ONESHOT 0x0000u
#define TIME_PERIODIC 0x0001u
#define TIME_CALLBACK_FUNCTION 0x0000u
#define TIME_CALLBACK_EVENT_SET 0x0010u
#define TIME_KILL_SYNCHRONOUS 0x0100u

using LPTIMECALLBACK = void (*)(UINT timerId, UINT message, DWORD_PTR user, DWORD_PTR reserved1,
                                DWORD_PTR reserved2);
// Callbacks run on winmm's timer thread, one at a time, `delay` ms after
// the call (and every `delay` ms for TIME_PERIODIC); with
// TIME_CALLBACK_EVENT_SET, `user` is an event handle that is set instead.
// The resolution is ignored: the clock is precise to the millisecond. 0
// for a delay outside 1 to 1,000,000 ms, no callback or an unknown flag.
MMRESULT timeSetEvent(UINT delay, UINT resolution, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags);
// Once it returns, the event's callback is not running and never runs
// again, unless it is called from that callback. MMSYSERR_INVALPARAM for
// an event that does not exist (a one-shot event that already ran).
MMRESULT timeKillEvent(UINT timerId);

// ---- MCI devices -------------------------------------------------------------
//
// Not served; each request refuses as Windows does when it cannot serve
// it: no MCI device opens and no device id is valid.

using MCIERROR = DWORD;
using MCIDEVICEID = UINT;
#define MCI_OPEN 0x0803u
#define MCI_CLOSE 0x0804u
#define MCI_PLAY 0x0806u
#define MCI_NOTIFY 0x00000001u
#define MCI_FROM 0x00000004u
struct MCI_PLAY_PARMS {
  DWORD_PTR dwCallback;
  DWORD dwFrom;
  DWORD dwTo;
};
#define MCIERR_INVALID_DEVICE_ID 257u
#define MCIERR_CANNOT_LOAD_DRIVER 266u
MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters);

// ---- Wave formats ------------------------------------------------------------
//
// Byte-packed as in files and on 32-bit Windows: WAVEFORMATEX is 18 bytes.

#define WAVE_FORMAT_PCM 1

#pragma pack(push, 1)
struct WAVEFORMATEX {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wBitsPerSample;
  WORD cbSize;  // bytes of format-specific data that follow
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);
using LPWAVEFORMATEX = WAVEFORMATEX*;
using LPCWAVEFORMATEX = const WAVEFORMATEX*;

#define MMSYSERR_NOERROR 0u
#define MMSYSERR_ERROR 1u
#define MMSYSERR_INVALHANDLE 5u
#define MMSYSERR_NOTSUPPORTED 8u
#define MMSYSERR_INVALFLAG 10u
#define MMSYSERR_INVALPARAM 11u
#define MMSYSERR_NOMEM 7u

// ---- Joysticks ---------------------------------------------------------------
//
// The attached game pads, numbered 0, 1, ... in their order of attachment.

#define JOYSTICKID1 0
#define MAXPNAMELEN 32
#define JOYERR_NOERROR 0u
#define JOYERR_PARMS 165u
#define JOYERR_UNPLUGGED 167u

// JOYCAPSA wCaps
#define JOYCAPS_HASZ 0x0001u
#define JOYCAPS_HASR 0x0002u
#define JOYCAPS_HASU 0x0004u
#define JOYCAPS_HASV 0x0008u
#define JOYCAPS_HASPOV 0x0010u
#define JOYCAPS_POV4DIR 0x0020u

struct JOYCAPSA {
  WORD wMid;
  WORD wPid;
  CHAR szPname[MAXPNAMELEN];
  UINT wXmin;
  UINT wXmax;
  UINT wYmin;
  UINT wYmax;
  UINT wZmin;
  UINT wZmax;
  UINT wNumButtons;
  UINT wPeriodMin;
  UINT wPeriodMax;
  UINT wRmin;
  UINT wRmax;
  UINT wUmin;
  UINT wUmax;
  UINT wVmin;
  UINT wVmax;
  UINT wCaps;
  UINT wMaxAxes;
  UINT wNumAxes;
  UINT wMaxButtons;
  CHAR szRegKey[MAXPNAMELEN];
  CHAR szOEMVxD[MAX_PATH];
};
using LPJOYCAPSA = JOYCAPSA*;

// JOYINFOEX dwFlags
#define JOY_RETURNX 0x0001u
#define JOY_RETURNY 0x0002u
#define JOY_RETURNZ 0x0004u
#define JOY_RETURNR 0x0008u
#define JOY_RETURNU 0x0010u
#define JOY_RETURNV 0x0020u
#define JOY_RETURNPOV 0x0040u
#define JOY_RETURNBUTTONS 0x0080u
#define JOY_RETURNALL 0x00FFu
#define JOY_POVCENTERED 0xFFFFu

struct JOYINFOEX {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwXpos;  // 0..65535, 32767 centred
  DWORD dwYpos;
  DWORD dwZpos;
  DWORD dwRpos;
  DWORD dwUpos;
  DWORD dwVpos;
  DWORD dwButtons;  // bit n: button n held
  DWORD dwButtonNumber;
  DWORD dwPOV;  // hundredths of a degree, JOY_POVCENTERED
  DWORD dwReserved1;
  DWORD dwReserved2;
};
using LPJOYINFOEX = JOYINFOEX*;

// JOYERR_PARMS for an id beyond 15 or a wrong size, JOYERR_UNPLUGGED for
// an id with no pad attached.
MMRESULT joyGetDevCapsA(UINT_PTR id, LPJOYCAPSA caps, UINT size);
MMRESULT joyGetPosEx(UINT id, LPJOYINFOEX info);
