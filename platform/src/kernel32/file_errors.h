// Linux errno values as the Windows error codes a file call reports.
#pragma once

#include "platform/kernel32_base.h"
#include "platform/wintypes.h"

namespace wqplat {

DWORD FileErrorFromErrno(int error);

// Sets the last error and gives back the call's failure value.
template <class Result>
Result FailWith(DWORD error, Result failure) {
  SetLastError(error);
  return failure;
}

}  // namespace wqplat
