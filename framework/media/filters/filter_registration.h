// Registration of a filter's set-up description with the filter mapper,
// and the dispatch base that serves IDispatch from the type library.
#pragma once

#include "media/filters/com_object.h"

// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND): an entry the mapper never had,
// which registration and unregistration both read as success.
inline constexpr HRESULT kFileNotFoundResult = static_cast<HRESULT>(0x80070002u);

HRESULT RegisterFilterWithMapper(const D_AMOVIESETUP_FILTER* setup, D_IFilterMapper* mapper, BOOL registering);

class D_CBaseDispatch {
 public:
  D_CBaseDispatch() = default;
  ~D_CBaseDispatch();
  D_CBaseDispatch(const D_CBaseDispatch&) = delete;
  D_CBaseDispatch& operator=(const D_CBaseDispatch&) = delete;

  HRESULT GetTypeInfoCount(UINT* count);
  HRESULT GetTypeInfo(REFIID iid, UINT index, LCID locale, ITypeInfo** info);
  HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids);

 private:
  ITypeInfo* typeInfo_ = nullptr;
};

// HRESULT_FROM_WIN32 of the thread's last error.
HRESULT LastErrorResult();
