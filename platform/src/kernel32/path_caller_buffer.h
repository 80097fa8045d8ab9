// Text handed back in a caller's buffer, the Windows way.
#pragma once

#include <string_view>

#include "platform/wintypes.h"

namespace wqplat {

// When the text and its terminator fit in `size` bytes: copies them and
// returns the text's length. Otherwise writes nothing and returns the size
// needed, terminator included. A null buffer counts as size 0.
DWORD CopyToCallerBuffer(std::string_view text, DWORD size, char* buffer);

}  // namespace wqplat
