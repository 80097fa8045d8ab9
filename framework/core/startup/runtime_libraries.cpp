#include "core/startup/runtime_libraries.h"

#include <cstring>
#include <initializer_list>

namespace {

constexpr int kMaxEntries = 24;

struct LibraryTable {
  const char* fileName;
  const char* entryNames[kMaxEntries];
};

// Order and names as the libraries are loaded; a table ends at the first null.
constexpr LibraryTable kLibraries[kRuntimeLibraryCount] = {
    {"ws2_32.dll",
     {"WSAGetLastError", "WSAStartup", "WSACleanup", "WSAAsyncSelect", "gethostbyaddr", "gethostbyname",
      "gethostname", "ntohs", "htons", "connect", "socket", "send", "sendto", "recvfrom", "accept",
      "closesocket", "shutdown", "listen", "bind", "inet_addr", "recv"}},
    {"Imm32.dll",
     {"ImmGetContext", "ImmReleaseContext", "ImmGetOpenStatus", "ImmGetConversionStatus", "ImmNotifyIME",
      "ImmSetOpenStatus", "ImmGetCandidateListA", "ImmGetCompositionStringA", "ImmSetCompositionStringA"}},
    {"winmm.dll",
     {"timeSetEvent", "timeKillEvent", "timeBeginPeriod", "timeEndPeriod", "timeGetTime", "timeGetDevCaps",
      "joyGetPosEx", "joyGetDevCapsA", "mciSendCommandA"}},
    {"ole32.dll",
     {"CoCreateInstance", "CoTaskMemAlloc", "CoTaskMemFree", "CoInitialize", "CoFreeUnusedLibraries",
      "CoUninitialize"}},
    {"comctl32.dll", {"InitCommonControls"}},
    {"dwmapi.dll", {"DwmEnableComposition"}},
    {"User32.dll", {"WINNLSEnableIME"}},
};

struct LoadedLibrary {
  HMODULE module;
  FARPROC entries[kMaxEntries];
};

LoadedLibrary g_loaded[kRuntimeLibraryCount];

void LoadLibraryEntries(RuntimeLibrary library) {
  LoadedLibrary& loaded = g_loaded[library];
  if (loaded.module != nullptr) return;
  loaded.module = LoadLibraryA(kLibraries[library].fileName);
  if (loaded.module == nullptr) return;
  const char* const* names = kLibraries[library].entryNames;
  for (int i = 0; i < kMaxEntries && names[i] != nullptr; ++i) {
    loaded.entries[i] = GetProcAddress(loaded.module, names[i]);
  }
}

}  // namespace

void LoadEarlyRuntimeLibraries() {
  for (RuntimeLibrary library : {kRuntimeWs2_32, kRuntimeImm32, kRuntimeWinmm, kRuntimeOle32, kRuntimeComctl32}) {
    LoadLibraryEntries(library);
  }
}

void LoadLateRuntimeLibraries() {
  LoadLibraryEntries(kRuntimeDwmapi);
  LoadLibraryEntries(kRuntimeUser32);
}

void FreeRuntimeLibraries() {
  for (RuntimeLibrary library : {kRuntimeDwmapi, kRuntimeUser32, kRuntimeWs2_32, kRuntimeImm32, kRuntimeWinmm,
                                 kRuntimeOle32, kRuntimeComctl32}) {
    LoadedLibrary& loaded = g_loaded[library];
    if (loaded.module != nullptr) FreeLibrary(loaded.module);
    loaded = LoadedLibrary{};
  }
}

FARPROC FindRuntimeEntry(RuntimeLibrary library, const char* name) {
  const char* const* names = kLibraries[library].entryNames;
  for (int i = 0; i < kMaxEntries && names[i] != nullptr; ++i) {
    if (std::strcmp(names[i], name) == 0) return g_loaded[library].entries[i];
  }
  return nullptr;
}
