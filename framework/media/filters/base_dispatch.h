// The dispatch base: serves IDispatch for an interface from the type
// library of the graph's interfaces, loading the automation library on
// first need.
#pragma once

#include "media/filters/com_object.h"

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
