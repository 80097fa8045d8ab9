#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "WqLib.h"
#include "core/startup/system_report.h"

namespace {

struct VersionCase {
  DWORD platform;
  DWORD major;
  DWORD minor;
  const char* servicePack;
  const char* name;
  int code;
};

OSVERSIONINFOA MakeVersion(const VersionCase& c) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  version.dwPlatformId = c.platform;
  version.dwMajorVersion = c.major;
  version.dwMinorVersion = c.minor;
  std::strcpy(version.szCSDVersion, c.servicePack);
  return version;
}

TEST(StartupSystemReportTest, NamesEachKnownWindowsVersionWithItsCode) {
  const VersionCase cases[] = {
      {VER_PLATFORM_WIN32s, 3, 10, "", "3.1", 0},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 0, " C", "95OSR2", 1},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 0, "", "95", 1},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 10, " A", "98SE", 2},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 90, "", "Me", 3},
      {VER_PLATFORM_WIN32_NT, 3, 51, "", "NT 3.51", 0x104},
      {VER_PLATFORM_WIN32_NT, 4, 0, "", "4.0", 0x105},
      {VER_PLATFORM_WIN32_NT, 5, 0, "", "2000", 0x106},
      {VER_PLATFORM_WIN32_NT, 5, 1, "Service Pack 3", "XP", 0x107},
      {VER_PLATFORM_WIN32_NT, 6, 0, "", "Vista", 0x108},
      {VER_PLATFORM_WIN32_NT, 6, 1, "Service Pack 1", "7", 0x109},
  };
  for (const VersionCase& c : cases) {
    int code = -5;
    EXPECT_EQ(std::string(DescribeWindowsVersion(MakeVersion(c), &code)), c.name);
    EXPECT_EQ(code, c.code) << c.name;
  }
}

TEST(StartupSystemReportTest, LaterVersionsGetNoNameAndKeepThePreviousCode) {
  for (const VersionCase& c : {VersionCase{VER_PLATFORM_WIN32_NT, 6, 2, "", "", 0},
                               VersionCase{VER_PLATFORM_WIN32_NT, 10, 0, "", "", 0}}) {
    int code = 0x109;
    EXPECT_STREQ(DescribeWindowsVersion(MakeVersion(c), &code), "");
    EXPECT_EQ(code, 0x109);
  }
}

TEST(StartupSystemReportTest, MmxIsAvailableOnceTheReportHasRun) {
  EXPECT_EQ(IsMmxAvailable(), 0);
  EXPECT_EQ(ReportSystemInfo(), 0);
  EXPECT_EQ(IsMmxAvailable(), 1);  // every x86-64 processor has MMX
}

}  // namespace
