// The seeking pass-through (CLSID_SeekingPassThru): IMediaSeeking of a
// filter answered by the filter upstream of its input pin. Aggregatable.
#pragma once

#include "platform/dshow.h"

namespace wqplat {

HRESULT CreateSeekingPassThru(REFIID iid, void** object);
HRESULT CreateSeekingPassThruAggregated(LPUNKNOWN outer, IUnknown** inner);

}  // namespace wqplat
