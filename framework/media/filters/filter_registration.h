// Registration of a filter's set-up description with the filter mapper.
#pragma once

#include "media/filters/com_object.h"

// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND): an entry the mapper never had,
// which registration and unregistration both read as success.
inline constexpr HRESULT kFileNotFoundResult = static_cast<HRESULT>(0x80070002u);

HRESULT RegisterFilterWithMapper(const D_AMOVIESETUP_FILTER* setup, D_IFilterMapper* mapper, BOOL registering);
