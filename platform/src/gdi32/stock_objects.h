// The process-wide stock objects, made on first use.
#pragma once

#include "platform/wintypes.h"

namespace wqplat {

// The 1 x 1 monochrome bitmap every fresh memory DC holds.
HGDIOBJ StockBitmapHandle();

}  // namespace wqplat
