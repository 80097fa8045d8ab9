// Copies of media types in task memory, as samples hand them out.
#pragma once

#include "platform/dshow.h"

namespace wqplat {

// A deep copy of `source` into `target` (format block in task memory, the
// IUnknown referenced); false when the format block cannot be allocated.
bool CopyMediaType(D_AM_MEDIA_TYPE& target, const D_AM_MEDIA_TYPE& source);
// Frees the format block and lets the IUnknown go; the record stays.
void FreeMediaTypeContents(D_AM_MEDIA_TYPE& type);
// A copy in a task-memory record, or null.
D_AM_MEDIA_TYPE* CreateMediaTypeCopy(const D_AM_MEDIA_TYPE& source);
void DeleteMediaTypeCopy(D_AM_MEDIA_TYPE* type);

}  // namespace wqplat
