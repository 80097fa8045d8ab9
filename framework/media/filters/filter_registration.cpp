// Filter registration with the mapper.
#include "media/filters/filter_registration.h"

namespace {

HRESULT FileNotFoundIsSuccess(HRESULT result) { return result == kFileNotFoundResult ? S_OK : result; }

}  // namespace

HRESULT RegisterFilterWithMapper(const D_AMOVIESETUP_FILTER* setup, D_IFilterMapper* mapper, BOOL registering) {
  if (setup == nullptr) return S_FALSE;
  HRESULT result = mapper->UnregisterFilter(*setup->clsID);
  if (!registering) return FileNotFoundIsSuccess(result);
  result = FileNotFoundIsSuccess(mapper->RegisterFilter(*setup->clsID, setup->strName, setup->dwMerit));
  if (FAILED(result)) return result;
  for (UINT p = 0; p < setup->nPins; ++p) {
    const D_AMOVIESETUP_PIN& pin = setup->lpPin[p];
    result = mapper->RegisterPin(*setup->clsID, pin.strName, pin.bRendered, pin.bOutput, pin.bZero, pin.bMany,
                                 *pin.clsConnectsToFilter, pin.strConnectsToPin);
    if (FAILED(result)) break;
    for (UINT t = 0; t < pin.nMediaTypes; ++t) {
      const D_AMOVIESETUP_MEDIATYPE& type = pin.lpMediaType[t];
      result = FileNotFoundIsSuccess(
          mapper->RegisterPinType(*setup->clsID, pin.strName, *type.clsMajorType, *type.clsMinorType));
      if (FAILED(result)) return result;
    }
  }
  return FileNotFoundIsSuccess(result);
}
