// What the whole-frame benchmarks share: the process CPU clock and its
// per-frame counter, and a scratch folder for the library's log and lock.
#pragma once

#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "WqLib.h"
#include "platform/control.h"

namespace wqbench {

inline double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The process CPU time a frame since cpuStart, as the counter process_cpu_s.
inline void SetCpuCounter(benchmark::State& state, double cpuStart) {
  state.counters["process_cpu_s"] =
      benchmark::Counter((ProcessCpuSeconds() - cpuStart) / static_cast<double>(state.iterations()));
}

// A temporary folder for the log and the lock; window mode.
struct ScratchFolder {
  std::filesystem::path path;
  explicit ScratchFolder(const char* name) : path(std::filesystem::temp_directory_path() / name) {
    std::filesystem::create_directories(path);
    WqControlSetLockFolder(path.c_str());
    SetLogFolder(("C:" + path.string()).c_str());
    ChangeWindowMode(1);
  }
};

}  // namespace wqbench
