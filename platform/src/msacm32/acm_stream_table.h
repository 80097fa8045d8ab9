// The open ACM streams. A HACMSTREAM is the address of its stream and is
// checked against this table before use, so a stale or forged handle is
// refused instead of followed.
#pragma once

#include "msacm32/acm_converter.h"

namespace wqplat {

struct AcmStream {
  std::unique_ptr<AcmConverter> converter;
};

HACMSTREAM AddAcmStream(std::unique_ptr<AcmConverter> converter);
// The stream behind a handle, or null for one that is not open.
AcmStream* FindAcmStream(HACMSTREAM handle);
bool RemoveAcmStream(HACMSTREAM handle);

}  // namespace wqplat
