#include "quartz/media_type_copy.h"

#include <cstring>

namespace wqplat {

bool CopyMediaType(D_AM_MEDIA_TYPE& target, const D_AM_MEDIA_TYPE& source) {
  target = source;
  target.pbFormat = nullptr;
  if (source.cbFormat != 0) {
    target.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source.cbFormat));
    if (target.pbFormat == nullptr) {
      target.cbFormat = 0;
      target.pUnk = nullptr;
      return false;
    }
    std::memcpy(target.pbFormat, source.pbFormat, source.cbFormat);
  }
  if (target.pUnk) target.pUnk->AddRef();
  return true;
}

void FreeMediaTypeContents(D_AM_MEDIA_TYPE& type) {
  CoTaskMemFree(type.pbFormat);
  type.pbFormat = nullptr;
  type.cbFormat = 0;
  if (type.pUnk) type.pUnk->Release();
  type.pUnk = nullptr;
}

D_AM_MEDIA_TYPE* CreateMediaTypeCopy(const D_AM_MEDIA_TYPE& source) {
  auto* copy = static_cast<D_AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(D_AM_MEDIA_TYPE)));
  if (copy == nullptr) return nullptr;
  if (!CopyMediaType(*copy, source)) {
    CoTaskMemFree(copy);
    return nullptr;
  }
  return copy;
}

void DeleteMediaTypeCopy(D_AM_MEDIA_TYPE* type) {
  if (type == nullptr) return;
  FreeMediaTypeContents(*type);
  CoTaskMemFree(type);
}

}  // namespace wqplat
