#include "gdi32/gdi_object.h"

namespace wqplat {

std::mutex& GdiStateMutex() {
  static std::mutex* mutex = new std::mutex;  // outlives static destructors
  return *mutex;
}

}  // namespace wqplat
