// MCI devices: nothing serves them, so each request is refused with the
// failure Windows gives when it cannot serve it.
#include "platform/mmsystem.h"

MCIERROR mciSendCommandA(MCIDEVICEID, UINT message, DWORD_PTR, DWORD_PTR) {
  return message == MCI_OPEN ? MCIERR_CANNOT_LOAD_DRIVER : MCIERR_INVALID_DEVICE_ID;
}
