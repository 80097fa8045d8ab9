#include "platform/dwmapi.h"

HRESULT DwmEnableComposition(UINT composition_action) {
  if (composition_action > DWM_EC_ENABLECOMPOSITION) return E_INVALIDARG;
  return S_OK;
}
