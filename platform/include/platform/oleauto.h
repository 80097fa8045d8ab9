// OLE Automation: IDispatch, type libraries and the values they pass. The
// layer serves no automation module; these are the shapes that dispatch
// interfaces derive from and that a type library loader would hand out.
#pragma once

#include "platform/ole32.h"

using OLECHAR = WCHAR;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using BSTR = OLECHAR*;
using LCID = DWORD;
using DISPID = LONG;
using MEMBERID = DISPID;
using HREFTYPE = DWORD;
using VARTYPE = USHORT;
using SCODE = LONG;

#define DISP_E_UNKNOWNINTERFACE (static_cast<HRESULT>(0x80020001u))
#define DISP_E_MEMBERNOTFOUND (static_cast<HRESULT>(0x80020003u))
#define TYPE_E_ELEMENTNOTFOUND (static_cast<HRESULT>(0x8002802Bu))

#define DISPATCH_METHOD 0x1u
#define DISPATCH_PROPERTYGET 0x2u
#define DISPATCH_PROPERTYPUT 0x4u

// {00020400-0000-0000-C000-000000000046}
inline constexpr IID IID_IDispatch = {0x00020400, 0x0000, 0x0000,
                                      {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {00000000-0000-0000-0000-000000000000}
inline constexpr IID IID_NULL = {0x00000000, 0x0000, 0x0000, {0, 0, 0, 0, 0, 0, 0, 0}};

class IDispatch;

struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    SHORT iVal;
    double dblVal;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    struct {
      void* pvRecord;
      void* pRecInfo;
    } record;
  };
};
using VARIANTARG = VARIANT;

struct DISPPARAMS {
  VARIANTARG* rgvarg;
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
};

struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  void* pvReserved;
  HRESULT (*pfnDeferredFillIn)(EXCEPINFO* info);
  SCODE scode;
};

class ITypeLib;

// Only GetIDsOfNames and Invoke are called by the layer's users; the
// descriptor records of the other methods are passed as opaque pointers.
class ITypeInfo : public IUnknown {
 public:
  virtual HRESULT GetTypeAttr(void** attributes) = 0;
  virtual HRESULT GetTypeComp(IUnknown** type_comp) = 0;
  virtual HRESULT GetFuncDesc(UINT index, void** description) = 0;
  virtual HRESULT GetVarDesc(UINT index, void** description) = 0;
  virtual HRESULT GetNames(MEMBERID member, BSTR* names, UINT max_names, UINT* names_count) = 0;
  virtual HRESULT GetRefTypeOfImplType(UINT index, HREFTYPE* type) = 0;
  virtual HRESULT GetImplTypeFlags(UINT index, INT* flags) = 0;
  virtual HRESULT GetIDsOfNames(LPOLESTR* names, UINT names_count, MEMBERID* members) = 0;
  virtual HRESULT Invoke(void* instance, MEMBERID member, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                         EXCEPINFO* exception, UINT* argument_error) = 0;
  virtual HRESULT GetDocumentation(MEMBERID member, BSTR* name, BSTR* doc_string, DWORD* help_context,
                                   BSTR* help_file) = 0;
  virtual HRESULT GetDllEntry(MEMBERID member, INT invoke_kind, BSTR* dll_name, BSTR* name, WORD* ordinal) = 0;
  virtual HRESULT GetRefTypeInfo(HREFTYPE type, ITypeInfo** info) = 0;
  virtual HRESULT AddressOfMember(MEMBERID member, INT invoke_kind, void** address) = 0;
  virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
  virtual HRESULT GetMops(MEMBERID member, BSTR* mops) = 0;
  virtual HRESULT GetContainingTypeLib(ITypeLib** library, UINT* index) = 0;
  virtual void ReleaseTypeAttr(void* attributes) = 0;
  virtual void ReleaseFuncDesc(void* description) = 0;
  virtual void ReleaseVarDesc(void* description) = 0;

 protected:
  ~ITypeInfo() = default;
};

class ITypeLib : public IUnknown {
 public:
  virtual UINT GetTypeInfoCount() = 0;
  virtual HRESULT GetTypeInfo(UINT index, ITypeInfo** info) = 0;
  virtual HRESULT GetTypeInfoType(UINT index, INT* kind) = 0;
  virtual HRESULT GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** info) = 0;
  virtual HRESULT GetLibAttr(void** attributes) = 0;
  virtual HRESULT GetTypeComp(IUnknown** type_comp) = 0;
  virtual HRESULT GetDocumentation(INT index, BSTR* name, BSTR* doc_string, DWORD* help_context,
                                   BSTR* help_file) = 0;
  virtual HRESULT IsName(LPOLESTR name, ULONG hash, BOOL* found) = 0;
  virtual HRESULT FindName(LPOLESTR name, ULONG hash, ITypeInfo** infos, MEMBERID* members, USHORT* found) = 0;
  virtual void ReleaseTLibAttr(void* attributes) = 0;

 protected:
  ~ITypeLib() = default;
};

// The two loaders an automation module exports, as GetProcAddress gives them.
using LoadRegTypeLibFunction = HRESULT (*)(REFGUID library, WORD major, WORD minor, LCID locale,
                                           ITypeLib** loaded);
using LoadTypeLibFunction = HRESULT (*)(LPCOLESTR file, ITypeLib** loaded);

class IDispatch : public IUnknown {
 public:
  virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
  virtual HRESULT GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) = 0;
  virtual HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT names_count, LCID locale, DISPID* ids) = 0;
  virtual HRESULT Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                         VARIANT* result, EXCEPINFO* exception, UINT* argument_error) = 0;

 protected:
  ~IDispatch() = default;
};
