#include "quartz/graph_pins.h"

namespace wqplat {

PinList::PinList(D_IBaseFilter* filter) {
  D_IEnumPins* enumerator = nullptr;
  if (filter == nullptr || FAILED(filter->EnumPins(&enumerator)) || enumerator == nullptr) return;
  D_IPin* pin = nullptr;
  while (enumerator->Next(1, &pin, nullptr) == S_OK) pins_.push_back(pin);
  enumerator->Release();
}

PinList::~PinList() {
  for (D_IPin* pin : pins_) pin->Release();
}

D_PIN_DIRECTION PinDirection(D_IPin* pin) {
  D_PIN_DIRECTION direction = D_PINDIR_INPUT;
  pin->QueryDirection(&direction);
  return direction;
}

bool PinIsConnected(D_IPin* pin) {
  D_IPin* peer = nullptr;
  if (FAILED(pin->ConnectedTo(&peer)) || peer == nullptr) return false;
  peer->Release();
  return true;
}

D_IBaseFilter* PinOwner(D_IPin* pin) {
  D_PIN_INFO info{};
  if (FAILED(pin->QueryPinInfo(&info)) || info.pFilter == nullptr) return nullptr;
  info.pFilter->Release();
  return info.pFilter;
}

bool IsRendererFilter(D_IBaseFilter* filter) {
  D_IAMFilterMiscFlags* flags = nullptr;
  if (SUCCEEDED(filter->QueryInterface(D_IID_IAMFilterMiscFlags, reinterpret_cast<void**>(&flags)))) {
    const bool renderer = (flags->GetMiscFlags() & D_AM_FILTER_MISC_FLAGS_IS_RENDERER) != 0;
    flags->Release();
    if (renderer) return true;
  }
  bool inputs = false;
  PinList list(filter);
  for (D_IPin* pin : list.pins()) {
    if (PinDirection(pin) == D_PINDIR_OUTPUT) return false;
    inputs = true;
  }
  return inputs;
}

}  // namespace wqplat
