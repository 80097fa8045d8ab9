// The filter-graph conversion behind the sound loader's last decoder.
#pragma once

#include "platform/dshow.h"

// The filter's first pin of the direction, with a reference; null when it
// has none.
D_IPin* FindFilterPin(D_IBaseFilter* filter, D_PIN_DIRECTION direction);
// The grabber callback that appends each sample's bytes to the decoder's
// PCM block (the context); always S_OK.
HRESULT SampleGrabberPcmCallback(D_IMediaSample* sample, D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop,
                                 BOOL typeChanged, void* context);
