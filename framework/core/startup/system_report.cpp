#include "core/startup/system_report.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include "core/base/log_file.h"
#include "platform/mmsystem.h"
#include "core/base/string_utils.h"
#include "core/base/time_source.h"
#include "core/window/window_system_state.h"

namespace {

constexpr const char* kLibraryVersion = "3.05";

struct CpuFeatures {
  int hasCpuid = 0;
  int hasTimeStampCounter = 0;
  int mmx = 0;
  int sse = 0;
  int sse2 = 0;
  char vendor[13] = "";
  char brand[49] = "";
};

CpuFeatures ReadCpuFeatures() {
  CpuFeatures features;
#if defined(__x86_64__) || defined(__i386__)
  unsigned int a = 0, b = 0, c = 0, d = 0;
  if (__get_cpuid(0, &a, &b, &c, &d) == 0) return features;
  features.hasCpuid = 1;
  std::memcpy(features.vendor + 0, &b, 4);
  std::memcpy(features.vendor + 4, &d, 4);
  std::memcpy(features.vendor + 8, &c, 4);
  __get_cpuid(1, &a, &b, &c, &d);
  features.hasTimeStampCounter = (d >> 4) & 1;
  features.mmx = (d >> 23) & 1;
  features.sse = features.mmx && ((d >> 25) & 1);
  features.sse2 = features.sse && ((d >> 26) & 1);
  if (__get_cpuid(0x80000000u, &a, &b, &c, &d) != 0 && a >= 0x80000004u) {
    for (unsigned int leaf = 0; leaf < 3; ++leaf) {
      unsigned int words[4];
      __get_cpuid(0x80000002u + leaf, &words[0], &words[1], &words[2], &words[3]);
      std::memcpy(features.brand + leaf * 16, words, 16);
    }
  }
#endif
  return features;
}

void ReportOperatingSystem() {
  LogWrite("ＯＳ  ");
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  GetVersionExA(&version);
  char name[64];
  FormatString(name, sizeof(name), "Windows%s", DescribeWindowsVersion(version, &WindowSystem().osCode));
  LogWriteFormat("%s ( Build %d %s )", name, static_cast<int>(version.dwBuildNumber), version.szCSDVersion);
}

void ReportCpu() {
  const CpuFeatures features = ReadCpuFeatures();
  WindowSystemState& state = WindowSystem();
  state.hasCpuid = features.hasCpuid;
  state.hasTimeStampCounter = features.hasTimeStampCounter;
  state.hasMmx = features.mmx;
  state.hasSse = features.sse;
  state.hasSse2 = features.sse2;

  std::uint64_t cyclesPerSecond = 0;
  if (features.hasTimeStampCounter) {
    cyclesPerSecond = MeasureCpuCyclesPerSecond();
    const std::uint64_t megahertz = cyclesPerSecond / 1000000u;
    LogWriteFormat("ＣＰＵ動作速度：大体%.2fGHz", static_cast<double>(megahertz) / 1000.0);
  }
  SetCpuCyclesPerSecond(cyclesPerSecond);

  if (!features.hasCpuid) {
    LogWrite("ＣＰＵＩＤ命令は使えません\n");
  } else if (!features.mmx) {
    LogWrite("ＭＭＸは使えません\n");
  } else {
    LogWrite("ＭＭＸ命令を使用します\n");
    if (features.sse) LogWrite("ＳＳＥ命令が使用可能です\n");
    if (features.sse2) LogWrite("ＳＳＥ２命令が使用可能です\n");
  }
  if (!features.hasCpuid) return;
  char piece[5] = "";
  LogWrite("ＣＰＵベンダ：");
  for (int i = 0; i < 3; ++i) {
    std::memcpy(piece, features.vendor + i * 4, 4);
    LogWrite(piece);
  }
  LogWrite("\n");
  if (features.brand[0] != '\0') LogWriteFormat("ＣＰＵ名：%s", features.brand);
}

}  // namespace

const char* DescribeWindowsVersion(const OSVERSIONINFOA& version, int* osCode) {
  const DWORD major = version.dwMajorVersion;
  const DWORD minor = version.dwMinorVersion;
  switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
      *osCode = 0;
      return "3.1";
    case VER_PLATFORM_WIN32_WINDOWS:
      if (minor == 0) {
        *osCode = 1;
        return version.szCSDVersion[1] == 'C' ? "95OSR2" : "95";
      }
      if (minor == 10) {
        *osCode = 2;
        return version.szCSDVersion[1] == 'A' ? "98SE" : "98";
      }
      if (minor == 90) {
        *osCode = 3;
        return "Me";
      }
      return "";
    case VER_PLATFORM_WIN32_NT:
      if (major == 3) {
        *osCode = 0x104;
        return "NT 3.51";
      }
      if (major == 4) {
        *osCode = 0x105;
        return "4.0";
      }
      if (major == 5 && minor <= 1) {
        *osCode = minor == 0 ? 0x106 : 0x107;
        return minor == 0 ? "2000" : "XP";
      }
      if (major == 6 && minor <= 1) {
        *osCode = minor == 0 ? 0x108 : 0x109;
        return minor == 0 ? "Vista" : "7";
      }
      return "";
    default:
      return "";
  }
}

int ReportSystemInfo() {
  LogWrite("システムの情報を出力します\n");
  IncreaseLogIndent();
  LogWriteFormat("ＷＱライブラリ Ver%s", kLibraryVersion);

  SYSTEM_INFO system{};
  GetSystemInfo(&system);
  WindowSystem().logicalProcessors = static_cast<int>(system.dwNumberOfProcessors);
  LogWriteFormat("論理プロセッサの数 : %d", WindowSystem().logicalProcessors);

  ReportOperatingSystem();

  TIMECAPS caps{};
  timeGetDevCaps(&caps, sizeof(caps));
  timeBeginPeriod(caps.wPeriodMin);

  ReportCpu();
  DecreaseLogIndent();
  return 0;
}

int IsMmxAvailable() { return WindowSystem().hasMmx; }
