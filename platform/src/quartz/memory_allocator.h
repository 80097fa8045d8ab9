// The system memory allocator (CLSID_MemoryAllocator): a pool of equal,
// aligned buffers in one committed block, lent out as media samples.
#pragma once

#include "platform/dshow.h"

namespace wqplat {

HRESULT CreateMemoryAllocator(REFIID iid, void** object);

}  // namespace wqplat
