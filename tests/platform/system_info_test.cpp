#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "platform/windows.h"

namespace {

TEST(SystemInfoTest, VersionIsWindows7ServicePack1InBothForms) {
  OSVERSIONINFOA basic{};
  basic.dwOSVersionInfoSize = sizeof basic;
  ASSERT_TRUE(GetVersionExA(&basic));
  EXPECT_EQ(basic.dwMajorVersion, 6u);
  EXPECT_EQ(basic.dwMinorVersion, 1u);
  EXPECT_EQ(basic.dwBuildNumber, 7601u);
  EXPECT_EQ(basic.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_STREQ(basic.szCSDVersion, "Service Pack 1");

  OSVERSIONINFOEXA extended{};
  extended.dwOSVersionInfoSize = sizeof extended;
  ASSERT_TRUE(GetVersionExA(&extended));
  EXPECT_EQ(extended.dwBuildNumber, 7601u);
  EXPECT_EQ(extended.wServicePackMajor, 1);
  EXPECT_EQ(extended.wProductType, VER_NT_WORKSTATION);

  OSVERSIONINFOA unsized{};
  EXPECT_FALSE(GetVersionExA(&unsized));
}

TEST(SystemInfoTest, ReportsTheRealProcessorsAndPageSize) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  EXPECT_EQ(info.dwNumberOfProcessors, static_cast<DWORD>(sysconf(_SC_NPROCESSORS_ONLN)));
  EXPECT_EQ(info.dwPageSize, static_cast<DWORD>(sysconf(_SC_PAGESIZE)));
  EXPECT_EQ(info.dwAllocationGranularity, 0x10000u);
#if defined(__x86_64__)
  EXPECT_EQ(info.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_AMD64);
#endif
}

ULONGLONG MemTotalBytes() {
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  ULONGLONG kilobytes = 0;
  meminfo >> key >> kilobytes;
  return kilobytes * 1024;
}

TEST(SystemInfoTest, MemoryStatusIsTheRealMemoryClampedForTheOldForm) {
  MEMORYSTATUSEX extended{};
  extended.dwLength = sizeof extended;
  ASSERT_TRUE(GlobalMemoryStatusEx(&extended));
  EXPECT_EQ(extended.ullTotalPhys, MemTotalBytes());
  EXPECT_GT(extended.ullAvailPhys, 0u);
  EXPECT_LE(extended.ullAvailPhys, extended.ullTotalPhys);
  EXPECT_GE(extended.ullTotalPageFile, extended.ullTotalPhys);
  EXPECT_LE(extended.dwMemoryLoad, 100u);

  MEMORYSTATUS old{};
  GlobalMemoryStatus(&old);
  EXPECT_EQ(old.dwLength, sizeof old);
  EXPECT_EQ(old.dwTotalPhys, std::min<ULONGLONG>(extended.ullTotalPhys, 0xFFFFFFFFull));
  EXPECT_EQ(old.dwTotalVirtual, 0xFFFFFFFFu) << "a 64-bit address space does not fit";

  MEMORYSTATUSEX unsized{};
  EXPECT_FALSE(GlobalMemoryStatusEx(&unsized));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(SystemDebugOutputTest, WritesShiftJisTextToStderrAsUtf8) {
  testing::internal::CaptureStderr();
  OutputDebugStringA("表示");
  OutputDebugStringA(" ok\n");
  OutputDebugStringA(nullptr);
  const std::string written = testing::internal::GetCapturedStderr();
  const char8_t expected[] = u8"表示 ok\n";
  EXPECT_EQ(written, std::string(reinterpret_cast<const char*>(expected)));
}

}  // namespace
