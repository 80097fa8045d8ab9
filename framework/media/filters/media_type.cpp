// Copying, comparing and matching media types.
#include "media/filters/media_type.h"

#include <cstring>

namespace {

bool FormatsEqual(const D_AM_MEDIA_TYPE& a, const D_AM_MEDIA_TYPE& b) {
  if (a.formattype != b.formattype || a.cbFormat != b.cbFormat) return false;
  return a.cbFormat == 0 || std::memcmp(a.pbFormat, b.pbFormat, a.cbFormat) == 0;
}

}  // namespace

HRESULT CopyMediaType(D_AM_MEDIA_TYPE* target, const D_AM_MEDIA_TYPE* source) {
  *target = *source;
  if (source->cbFormat != 0) {
    target->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source->cbFormat));
    if (target->pbFormat == nullptr) {
      target->cbFormat = 0;
      // Nothing was referenced, so the failed copy holds nothing either.
      target->pUnk = nullptr;
      return E_OUTOFMEMORY;
    }
    std::memcpy(target->pbFormat, source->pbFormat, source->cbFormat);
  }
  if (target->pUnk != nullptr) target->pUnk->AddRef();
  return S_OK;
}

void FreeMediaType(D_AM_MEDIA_TYPE* type) {
  if (type->cbFormat != 0) {
    CoTaskMemFree(type->pbFormat);
    type->cbFormat = 0;
    type->pbFormat = nullptr;
  }
  if (type->pUnk != nullptr) {
    type->pUnk->Release();
    type->pUnk = nullptr;
  }
}

void DeleteMediaType(D_AM_MEDIA_TYPE* type) {
  if (type == nullptr) return;
  FreeMediaType(type);
  CoTaskMemFree(type);
}

bool MediaTypesEqual(const D_AM_MEDIA_TYPE& a, const D_AM_MEDIA_TYPE& b) {
  return a.majortype == b.majortype && a.subtype == b.subtype && FormatsEqual(a, b);
}

D_CMediaType::D_CMediaType() : D_AM_MEDIA_TYPE{} {
  bFixedSizeSamples = TRUE;
  lSampleSize = 1;
}

D_CMediaType::D_CMediaType(const D_CMediaType& other) : D_CMediaType() { Set(other); }

D_CMediaType::D_CMediaType(const D_AM_MEDIA_TYPE& other) : D_CMediaType() { Set(other); }

D_CMediaType::~D_CMediaType() { FreeMediaType(this); }

D_CMediaType& D_CMediaType::operator=(const D_CMediaType& other) {
  Set(other);
  return *this;
}

D_CMediaType& D_CMediaType::operator=(const D_AM_MEDIA_TYPE& other) {
  Set(other);
  return *this;
}

HRESULT D_CMediaType::Set(const D_AM_MEDIA_TYPE& other) {
  if (&other == this) return S_OK;
  FreeMediaType(this);
  return FAILED(CopyMediaType(this, &other)) ? E_OUTOFMEMORY : S_OK;
}

bool D_CMediaType::operator==(const D_CMediaType& other) const { return MediaTypesEqual(*this, other); }

bool D_CMediaType::IsPartiallySpecified() const {
  return majortype == GUID{} || formattype == GUID{};
}

bool D_CMediaType::MatchesPartial(const D_AM_MEDIA_TYPE* partial) const {
  if (partial->majortype != GUID{} && partial->majortype != majortype) return false;
  if (partial->subtype != GUID{} && partial->subtype != subtype) return false;
  if (partial->formattype == GUID{}) return true;
  return FormatsEqual(*this, *partial);
}

void D_CMediaType::Clear() {
  FreeMediaType(this);
  *static_cast<D_AM_MEDIA_TYPE*>(this) = D_AM_MEDIA_TYPE{};
  bFixedSizeSamples = TRUE;
  lSampleSize = 1;
}
