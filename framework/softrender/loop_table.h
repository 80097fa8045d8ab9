// The definition of PickLoop, included only by the files that instantiate
// the loops, so each table is built in exactly one translation unit.
#pragma once

#include "softrender/kernel_loops.h"

template <class Kernel>
typename Kernel::LoopFn PickLoop(std::size_t combo) {
  static constexpr auto kLoops = MakeLoopTable<Kernel>();
  return kLoops[combo];
}
