#include <gtest/gtest.h>

#include "platform/control.h"
#include "platform/mmsystem.h"
#include "platform/windows.h"

namespace {

using TimeGetTimeFunction = DWORD (*)();
using TimeGetDevCapsFunction = MMRESULT (*)(LPTIMECAPS, UINT);

TEST(ModuleRegistryTest, NamesMatchWhateverTheirCaseAndEnding) {
  const char* names[] = {"winmm.dll", "WINMM.DLL", "WinMM", "winmm", "C:\\Windows\\System32\\winmm.dll"};
  HMODULE first = LoadLibraryA(names[0]);
  ASSERT_NE(first, nullptr);
  for (const char* name : names) {
    HMODULE module = LoadLibraryA(name);
    EXPECT_EQ(module, first) << name;
    FreeLibrary(module);
  }
  FreeLibrary(first);
}

TEST(ModuleRegistryTest, ExportsAreCallable) {
  HMODULE winmm = LoadLibraryA("Winmm.dll");
  ASSERT_NE(winmm, nullptr);
  auto get_time = reinterpret_cast<TimeGetTimeFunction>(GetProcAddress(winmm, "timeGetTime"));
  auto get_caps = reinterpret_cast<TimeGetDevCapsFunction>(GetProcAddress(winmm, "timeGetDevCaps"));
  ASSERT_NE(get_time, nullptr);
  ASSERT_NE(get_caps, nullptr);
  const DWORD before = timeGetTime();
  const DWORD through_export = get_time();
  EXPECT_LE(before, through_export);
  EXPECT_LE(through_export, timeGetTime());
  TIMECAPS caps{};
  EXPECT_EQ(get_caps(&caps, sizeof caps), TIMERR_NOERROR);
  EXPECT_EQ(caps.wPeriodMin, 1u);

  HMODULE kernel32 = LoadLibraryA("Kernel32.dll");
  auto memory_status = reinterpret_cast<BOOL (*)(LPMEMORYSTATUSEX)>(
      GetProcAddress(kernel32, "GlobalMemoryStatusEx"));
  ASSERT_NE(memory_status, nullptr);
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  EXPECT_TRUE(memory_status(&status));

  EXPECT_EQ(GetProcAddress(winmm, "timegettime"), nullptr) << "export names keep their case";
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_EQ(GetProcAddress(winmm, reinterpret_cast<LPCSTR>(1)), nullptr) << "ordinal";
  FreeLibrary(winmm);
  FreeLibrary(kernel32);
}

TEST(ModuleRegistryTest, LoadsAreReferenceCounted) {
  EXPECT_EQ(GetModuleHandleA("winmm.dll"), nullptr) << "not loaded yet";
  HMODULE first = LoadLibraryA("winmm");
  HMODULE second = LoadLibraryA("winmm");
  EXPECT_EQ(GetModuleHandleA("WINMM"), first);

  EXPECT_TRUE(FreeLibrary(second));
  EXPECT_NE(GetProcAddress(first, "timeGetTime"), nullptr) << "one reference is left";
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_EQ(GetModuleHandleA("winmm"), nullptr);
  EXPECT_EQ(GetProcAddress(first, "timeGetTime"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(FreeLibrary(first));
}

TEST(ModuleRegistryTest, ProgramHandleExportsNothing) {
  HMODULE program = GetModuleHandleA(nullptr);
  ASSERT_NE(program, nullptr);
  EXPECT_EQ(GetModuleHandleA(nullptr), program);
  EXPECT_EQ(GetProcAddress(program, "timeGetTime"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
}

TEST(ModuleRegistryTest, UnknownAndAbsentModulesAndExports) {
  EXPECT_EQ(LoadLibraryA("nosuch.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);

  WqControlSetModuleAbsent("WINMM.dll", true);
  EXPECT_EQ(LoadLibraryA("winmm.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  WqControlSetModuleAbsent("winmm", false);

  HMODULE winmm = LoadLibraryA("winmm.dll");
  ASSERT_NE(winmm, nullptr);
  WqControlSetExportAbsent("winmm.dll", "timeGetDevCaps", true);
  EXPECT_EQ(GetProcAddress(winmm, "timeGetDevCaps"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_NE(GetProcAddress(winmm, "timeGetTime"), nullptr) << "only that export is gone";
  WqControlSetExportAbsent("winmm.dll", "timeGetDevCaps", false);
  EXPECT_NE(GetProcAddress(winmm, "timeGetDevCaps"), nullptr);
  FreeLibrary(winmm);
}

}  // namespace
