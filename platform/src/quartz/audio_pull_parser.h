// The parser the graph builder puts after a byte-stream source: it reads
// through IAsyncReader and gives the stream's first audio track as PCM.
#pragma once

#include "platform/dshow.h"

namespace wqplat {

HRESULT CreateAudioPullParser(REFIID iid, void** object);

}  // namespace wqplat
