// The system reference clock (CLSID_SystemClock): the layer's clock in
// 100 ns units, with advise requests served by winmm timer events.
#pragma once

#include "platform/dshow.h"

namespace wqplat {

HRESULT CreateSystemReferenceClock(REFIID iid, void** object);

}  // namespace wqplat
