// dsound.dll: its export for device enumeration, and the DirectSound class.
#include "dsound/direct_sound_object.h"
#include "kernel32/module_definition.h"
#include "ole32/com_class_table.h"

HRESULT DirectSoundEnumerateA(D_LPDSENUMCALLBACKA callback, LPVOID context) {
  if (callback == nullptr) return D_DSERR_INVALIDPARAM;
  // The one device: the default, named by a null GUID and no driver module.
  callback(nullptr, "Primary Sound Driver", "", context);
  return D_DS_OK;
}

namespace wqplat {
namespace {

const ModuleExport kExports[] = {
    {"DirectSoundEnumerateA", ExportAddress(&DirectSoundEnumerateA)},
};

const ComClassDefinition kClasses[] = {
    {CLSID_DirectSound, &CreateComClassObject<DirectSoundObject>},
};

}  // namespace

extern const ModuleDefinition kDsoundModule{"dsound", kExports};
extern const ComClassTable kDsoundClasses{"dsound", kClasses};

}  // namespace wqplat
