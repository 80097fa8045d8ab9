// The file lists behind HDROP handles.
#pragma once

#include <string>
#include <vector>

#include "platform/shell32.h"

namespace wqplat {

// A new drop handle for the dropped names (code page 932); DragFinish frees
// it.
HDROP CreateDropHandle(std::vector<std::string> names);

}  // namespace wqplat
