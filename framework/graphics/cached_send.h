// The pattern every cached device setter follows.
#pragma once

#include <cstring>

#include "graphics/device_state_cache.h"
#include "graphics/vertex_batch.h"

template <typename Value>
bool SameValue(const Value& a, const Value& b) {
  return std::memcmp(&a, &b, sizeof(Value)) == 0;
}

// Sends when the value differs from its copy (or while resending): draws the
// pending batch first, stores the copy, and gives -1 when the device call
// failed.
template <typename Value, typename Send>
int SendCached(Value* copy, const Value& value, Send send) {
  if (!DeviceStateResend && SameValue(*copy, value)) return 0;
  FlushVertexBatch();
  const HRESULT result = send();
  *copy = value;
  return FAILED(result) ? -1 : 0;
}
