// Filter registration with the mapper and the type-library dispatch base.
#include "media/filters/filter_registration.h"

namespace {

HRESULT FileNotFoundIsSuccess(HRESULT result) { return result == kFileNotFoundResult ? S_OK : result; }

// The automation library, loaded once for the whole process.
HRESULT LoadAutomationExport(const char* name, FARPROC* function) {
  if (GetAutomationModule() == nullptr) {
    const HMODULE module = LoadLibraryA("OleAut32.dll");
    if (module == nullptr) return LastErrorResult();
    SetAutomationModule(module);
  }
  *function = GetProcAddress(GetAutomationModule(), name);
  return *function == nullptr ? LastErrorResult() : S_OK;
}

HRESULT LoadQuartzTypeLib(LCID locale, ITypeLib** typeLib) {
  FARPROC function = nullptr;
  HRESULT result = LoadAutomationExport("LoadRegTypeLib", &function);
  if (FAILED(result)) return result;
  result = reinterpret_cast<LoadRegTypeLibFunction>(function)(D_LIBID_QuartzTypeLib, 1, 0, locale, typeLib);
  if (SUCCEEDED(result)) return result;
  result = LoadAutomationExport("LoadTypeLib", &function);
  if (FAILED(result)) return result;
  static const WCHAR kControlLibrary[] = u"control.tlb";
  return reinterpret_cast<LoadTypeLibFunction>(function)(kControlLibrary, typeLib);
}

}  // namespace

HRESULT LastErrorResult() { return static_cast<HRESULT>(0x80070000u | GetLastError()); }

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

D_CBaseDispatch::~D_CBaseDispatch() {
  if (typeInfo_ != nullptr) typeInfo_->Release();
}

HRESULT D_CBaseDispatch::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT D_CBaseDispatch::GetTypeInfo(REFIID iid, UINT index, LCID locale, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return TYPE_E_ELEMENTNOTFOUND;
  if (typeInfo_ == nullptr) {
    ITypeLib* typeLib = nullptr;
    HRESULT result = LoadQuartzTypeLib(locale, &typeLib);
    if (FAILED(result)) return result;
    result = typeLib->GetTypeInfoOfGuid(iid, &typeInfo_);
    typeLib->Release();
    if (FAILED(result)) return result;
  }
  *info = typeInfo_;
  typeInfo_->AddRef();
  return S_OK;
}

HRESULT D_CBaseDispatch::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) {
  ITypeInfo* info = nullptr;
  HRESULT result = GetTypeInfo(iid, 0, locale, &info);
  if (FAILED(result)) return result;
  result = info->GetIDsOfNames(names, count, ids);
  info->Release();
  return result;
}
