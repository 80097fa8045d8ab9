// Media types: the owning wrapper of a media type (its format block in task
// memory, one reference on its format object) and the plain copy and free
// routines under it.
#pragma once

#include "platform/dshow.h"

// The target gets its own copy of the format block and a reference on the
// format object; without memory for the block, E_OUTOFMEMORY and an empty
// format.
HRESULT CopyMediaType(D_AM_MEDIA_TYPE* target, const D_AM_MEDIA_TYPE* source);
void FreeMediaType(D_AM_MEDIA_TYPE* type);
// FreeMediaType and the record itself (a task-memory type handed out).
void DeleteMediaType(D_AM_MEDIA_TYPE* type);

class D_CMediaType : public D_AM_MEDIA_TYPE {
 public:
  D_CMediaType();
  D_CMediaType(const D_CMediaType& other);
  explicit D_CMediaType(const D_AM_MEDIA_TYPE& other);
  ~D_CMediaType();
  D_CMediaType& operator=(const D_CMediaType& other);
  D_CMediaType& operator=(const D_AM_MEDIA_TYPE& other);

  HRESULT Set(const D_AM_MEDIA_TYPE& other);
  void SetType(const GUID* type) { majortype = *type; }
  void SetSubtype(const GUID* type) { subtype = *type; }
  bool operator==(const D_CMediaType& other) const;
  bool operator!=(const D_CMediaType& other) const { return !(*this == other); }
  bool IsPartiallySpecified() const;
  bool MatchesPartial(const D_AM_MEDIA_TYPE* partial) const;
  // Back to the state of a new type, the format released.
  void Clear();
};

bool MediaTypesEqual(const D_AM_MEDIA_TYPE& a, const D_AM_MEDIA_TYPE& b);
