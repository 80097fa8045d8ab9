// Timer events and MCI devices: nothing serves them yet, so each request is
// refused with the failure Windows gives when it cannot serve it.
#include "platform/mmsystem.h"

MMRESULT timeSetEvent(UINT, UINT, LPTIMECALLBACK, DWORD_PTR, UINT) { return 0; }

MMRESULT timeKillEvent(UINT) { return MMSYSERR_INVALPARAM; }

MCIERROR mciSendCommandA(MCIDEVICEID, UINT message, DWORD_PTR, DWORD_PTR) {
  return message == MCI_OPEN ? MCIERR_CANNOT_LOAD_DRIVER : MCIERR_INVALID_DEVICE_ID;
}
