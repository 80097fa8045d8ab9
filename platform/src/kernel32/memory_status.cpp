// GlobalMemoryStatus(Ex): the real memory of the machine from
// /proc/meminfo; the page file is memory plus swap, as Windows counts its
// commit limit.
#include <unistd.h>

#include <fstream>
#include <string>

#include "platform/kernel32_system.h"

namespace {

// The user address space of a 64-bit Linux process.
constexpr DWORDLONG kTotalVirtual = 0x7FFFFFFF0000ull;

struct MemoryFigures {
  DWORDLONG total_physical = 0;
  DWORDLONG available_physical = 0;
  DWORDLONG total_swap = 0;
  DWORDLONG free_swap = 0;
  DWORDLONG process_virtual = 0;
};

MemoryFigures ReadMemoryFigures() {
  MemoryFigures figures;
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  DWORDLONG kilobytes;
  std::string unit;
  while (meminfo >> key >> kilobytes) {
    std::getline(meminfo, unit);
    const DWORDLONG bytes = kilobytes * 1024;
    if (key == "MemTotal:") figures.total_physical = bytes;
    if (key == "MemAvailable:") figures.available_physical = bytes;
    if (key == "SwapTotal:") figures.total_swap = bytes;
    if (key == "SwapFree:") figures.free_swap = bytes;
  }
  std::ifstream statm("/proc/self/statm");
  DWORDLONG pages = 0;
  if (statm >> pages) figures.process_virtual = pages * static_cast<DWORDLONG>(sysconf(_SC_PAGESIZE));
  return figures;
}

void FillStatus(MEMORYSTATUSEX& status) {
  const MemoryFigures figures = ReadMemoryFigures();
  status.ullTotalPhys = figures.total_physical;
  status.ullAvailPhys = figures.available_physical;
  status.ullTotalPageFile = figures.total_physical + figures.total_swap;
  status.ullAvailPageFile = figures.available_physical + figures.free_swap;
  status.ullTotalVirtual = kTotalVirtual;
  status.ullAvailVirtual =
      figures.process_virtual < kTotalVirtual ? kTotalVirtual - figures.process_virtual : 0;
  status.ullAvailExtendedVirtual = 0;
  status.dwMemoryLoad =
      figures.total_physical == 0
          ? 0
          : static_cast<DWORD>(100 - figures.available_physical * 100 / figures.total_physical);
}

SIZE_T Clamp32(DWORDLONG bytes) { return bytes > 0xFFFFFFFFull ? 0xFFFFFFFFu : bytes; }

}  // namespace

BOOL GlobalMemoryStatusEx(LPMEMORYSTATUSEX status) {
  if (status == nullptr || status->dwLength != sizeof(MEMORYSTATUSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  FillStatus(*status);
  return TRUE;
}

void GlobalMemoryStatus(LPMEMORYSTATUS status) {
  MEMORYSTATUSEX full{};
  FillStatus(full);
  status->dwLength = sizeof(MEMORYSTATUS);
  status->dwMemoryLoad = full.dwMemoryLoad;
  status->dwTotalPhys = Clamp32(full.ullTotalPhys);
  status->dwAvailPhys = Clamp32(full.ullAvailPhys);
  status->dwTotalPageFile = Clamp32(full.ullTotalPageFile);
  status->dwAvailPageFile = Clamp32(full.ullAvailPageFile);
  status->dwTotalVirtual = Clamp32(full.ullTotalVirtual);
  status->dwAvailVirtual = Clamp32(full.ullAvailVirtual);
}
