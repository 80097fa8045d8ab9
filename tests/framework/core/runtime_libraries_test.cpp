#include <gtest/gtest.h>

#include <vector>

#include "WqLib.h"
#include "platform/control.h"
#include "core/startup/runtime_libraries.h"
#include "startup_test_support.h"

namespace {

struct LibraryEntries {
  RuntimeLibrary library;
  const char* fileName;
  std::vector<const char*> names;
};

// Every entry point start-up reads by name, library by library.
const std::vector<LibraryEntries>& StartupEntries() {
  static const std::vector<LibraryEntries> entries = {
      {kRuntimeWs2_32,
       "ws2_32.dll",
       {"WSAGetLastError", "WSAStartup", "WSACleanup", "WSAAsyncSelect", "gethostbyaddr", "gethostbyname",
        "gethostname", "ntohs", "htons", "connect", "socket", "send", "sendto", "recvfrom", "accept",
        "closesocket", "shutdown", "listen", "bind", "inet_addr", "recv"}},
      {kRuntimeImm32,
       "Imm32.dll",
       {"ImmGetContext", "ImmReleaseContext", "ImmGetOpenStatus", "ImmGetConversionStatus", "ImmNotifyIME",
        "ImmSetOpenStatus", "ImmGetCandidateListA", "ImmGetCompositionStringA", "ImmSetCompositionStringA"}},
      {kRuntimeWinmm,
       "winmm.dll",
       {"timeSetEvent", "timeKillEvent", "timeBeginPeriod", "timeEndPeriod", "timeGetTime", "timeGetDevCaps",
        "joyGetPosEx", "joyGetDevCapsA", "mciSendCommandA"}},
      {kRuntimeOle32,
       "ole32.dll",
       {"CoCreateInstance", "CoTaskMemAlloc", "CoTaskMemFree", "CoInitialize", "CoFreeUnusedLibraries",
        "CoUninitialize"}},
      {kRuntimeComctl32, "comctl32.dll", {"InitCommonControls"}},
      {kRuntimeDwmapi, "dwmapi.dll", {"DwmEnableComposition"}},
      {kRuntimeUser32, "User32.dll", {"WINNLSEnableIME"}},
  };
  return entries;
}

class RuntimeLibrariesTest : public wqtest::LibraryTest {};

TEST_F(RuntimeLibrariesTest, StartFindsEveryEntryPointAndEndForgetsThemAll) {
  ASSERT_EQ(StartLibrary(), 0);
  for (const LibraryEntries& library : StartupEntries()) {
    for (const char* name : library.names) {
      EXPECT_NE(FindRuntimeEntry(library.library, name), nullptr) << library.fileName << " " << name;
    }
  }
  ASSERT_EQ(EndLibrary(), 0);
  for (const LibraryEntries& library : StartupEntries()) {
    for (const char* name : library.names) {
      EXPECT_EQ(FindRuntimeEntry(library.library, name), nullptr) << library.fileName << " " << name;
    }
  }
}

// A missing library or export leaves a null that its users skip: start-up
// and shutdown still run.
TEST_F(RuntimeLibrariesTest, AMissingLibraryOrExportLeavesNullsAndStartStillWorks) {
  WqControlSetModuleAbsent("dwmapi.dll", true);
  WqControlSetExportAbsent("User32.dll", "WINNLSEnableIME", true);
  const int started = StartLibrary();
  WqControlSetModuleAbsent("dwmapi.dll", false);
  WqControlSetExportAbsent("User32.dll", "WINNLSEnableIME", false);
  ASSERT_EQ(started, 0);
  EXPECT_EQ(FindRuntimeEntry(kRuntimeDwmapi, "DwmEnableComposition"), nullptr);
  EXPECT_EQ(FindRuntimeEntry(kRuntimeUser32, "WINNLSEnableIME"), nullptr);
  EXPECT_NE(FindRuntimeEntry(kRuntimeOle32, "CoInitialize"), nullptr);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(EndLibrary(), 0);
  EXPECT_NE(ReadLog().find("Alloc num:0"), std::string::npos);
}

}  // namespace
