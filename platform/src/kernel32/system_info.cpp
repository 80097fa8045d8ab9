// The machine the layer reports: Windows 7 SP1 on the real processors.
#include <unistd.h>

#include <cstring>

#include "platform/kernel32_system.h"

namespace {

constexpr char kServicePack[] = "Service Pack 1";

static_assert(sizeof(OSVERSIONINFOA) == 148 && sizeof(OSVERSIONINFOEXA) == 156);

void FillVersion(OSVERSIONINFOA& version) {
  version.dwMajorVersion = 6;
  version.dwMinorVersion = 1;
  version.dwBuildNumber = 7601;
  version.dwPlatformId = VER_PLATFORM_WIN32_NT;
  std::memset(version.szCSDVersion, 0, sizeof version.szCSDVersion);
  std::memcpy(version.szCSDVersion, kServicePack, sizeof kServicePack);
}

struct Architecture {
  WORD code;
  DWORD processor_type;
};

constexpr Architecture kArchitecture =
#if defined(__x86_64__)
    {PROCESSOR_ARCHITECTURE_AMD64, 8664};
#elif defined(__i386__)
    {PROCESSOR_ARCHITECTURE_INTEL, 586};
#elif defined(__aarch64__)
    {PROCESSOR_ARCHITECTURE_ARM64, 0};
#elif defined(__arm__)
    {PROCESSOR_ARCHITECTURE_ARM, 0};
#else
    {PROCESSOR_ARCHITECTURE_UNKNOWN, 0};
#endif

}  // namespace

BOOL GetVersionExA(LPOSVERSIONINFOA version) {
  if (version == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (version->dwOSVersionInfoSize == sizeof(OSVERSIONINFOEXA)) {
    auto* extended = static_cast<OSVERSIONINFOEXA*>(version);
    FillVersion(*version);
    extended->wServicePackMajor = 1;
    extended->wServicePackMinor = 0;
    extended->wSuiteMask = 0;
    extended->wProductType = VER_NT_WORKSTATION;
    extended->wReserved = 0;
    return TRUE;
  }
  if (version->dwOSVersionInfoSize == sizeof(OSVERSIONINFOA)) {
    FillVersion(*version);
    return TRUE;
  }
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return FALSE;
}

void GetSystemInfo(LPSYSTEM_INFO info) {
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  const DWORD processors = online > 0 ? static_cast<DWORD>(online) : 1;
  const DWORD mask_bits = processors < 64 ? processors : 64;
  *info = SYSTEM_INFO{};
  info->wProcessorArchitecture = kArchitecture.code;
  info->dwPageSize = static_cast<DWORD>(sysconf(_SC_PAGESIZE));
  info->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(0x10000);
  info->lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(0x7FFFFFFEFFFFull);
  info->dwActiveProcessorMask = mask_bits == 64 ? ~DWORD_PTR{0} : (DWORD_PTR{1} << mask_bits) - 1;
  info->dwNumberOfProcessors = processors;
  info->dwProcessorType = kArchitecture.processor_type;
  info->dwAllocationGranularity = 0x10000;
}
