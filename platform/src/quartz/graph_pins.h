// Small helpers the graph manager uses on any filter and pin: the pins of
// a filter, a pin's direction and owner, and a filter's outputs.
#pragma once

#include <vector>

#include "platform/dshow.h"

namespace wqplat {

// Holds one reference on each pin until it goes.
class PinList {
 public:
  explicit PinList(D_IBaseFilter* filter);
  ~PinList();
  PinList(const PinList&) = delete;
  PinList& operator=(const PinList&) = delete;

  const std::vector<D_IPin*>& pins() const { return pins_; }

 private:
  std::vector<D_IPin*> pins_;
};

D_PIN_DIRECTION PinDirection(D_IPin* pin);
bool PinIsConnected(D_IPin* pin);
// The owning filter, without a reference (the graph holds one).
D_IBaseFilter* PinOwner(D_IPin* pin);
// True for a filter that ends a stream: it says so, or it has input pins
// and no output pins.
bool IsRendererFilter(D_IBaseFilter* filter);

}  // namespace wqplat
