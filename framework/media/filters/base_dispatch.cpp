// The type-library dispatch base.
#include "media/filters/base_dispatch.h"

namespace {

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

HRESULT LoadGraphTypeLibrary(LCID locale, ITypeLib** typeLib) {
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
    HRESULT result = LoadGraphTypeLibrary(locale, &typeLib);
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
