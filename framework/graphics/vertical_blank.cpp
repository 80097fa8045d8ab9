// DirectDraw 7 serves only the wait for the display's vertical blank; the
// refresh period measured with it lets the wait sleep most of a frame
// instead of blocking the whole time.
#include "graphics/vertical_blank.h"

#include "WqLib.h"
#include "core/startup/runtime_libraries.h"
#include "core/window/window_system_state.h"
#include "graphics/graphics_state.h"

namespace {

using CoCreateInstanceFunction = HRESULT (*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

constexpr DWORD kAllClassContexts = 7;
// Sleeping stops this long before the blank is due, so that a late wake-up
// does not miss it; without a measured period it sleeps this fixed time.
constexpr std::int64_t kWakeBeforeBlankUs = 3000;
constexpr std::int64_t kUnmeasuredSleepUs = 4000;
constexpr int kMeasureBlanks = 60;
constexpr int kAgreeingIntervals = 10;
constexpr std::int64_t kIntervalToleranceUs = 1000;

std::int64_t g_refreshPeriodUs = -1;
std::int64_t g_lastBlankUs;
int g_waitVSyncOff;
int g_defaultWaitVSyncOff;

std::int64_t NowUs() { return GetTimeUs(0); }

void BlockUntilBlank() {
  Graphics().directDraw->WaitForVerticalBlank(D_DDWAITVB_BLOCKBEGIN, nullptr);
  g_lastBlankUs = NowUs();
}

}  // namespace

int CreateDirectDraw7() {
  GraphicsState& g = Graphics();
  ReleaseObject(&g.directDraw);
  LogWrite("DirectDraw オブジェクトの取得を行います....  ");
  const auto coCreateInstance = RuntimeEntry<CoCreateInstanceFunction>(kRuntimeOle32, "CoCreateInstance");
  if (coCreateInstance == nullptr ||
      FAILED(coCreateInstance(CLSID_DirectDraw7, nullptr, kAllClassContexts, IID_IDirectDraw7,
                              reinterpret_cast<void**>(&g.directDraw)))) {
    g.directDraw = nullptr;
    return LogWrite("オブジェクトの取得に失敗しました\n");
  }
  LogWrite("成功\n");
  LogWrite("引き続き初期化処理... ");
  if (FAILED(g.directDraw->Initialize(nullptr))) {
    LogWrite("DirectDrawオブジェクトの初期化に失敗しました\n");
    ReleaseObject(&g.directDraw);
    return -1;
  }
  LogWrite("初期化に成功しました\n");
  g.directDraw->SetCooperativeLevel(GetMainWindow(), D_DDSCL_NORMAL);
  return 0;
}

int WaitVerticalBlank() {
  if (Graphics().directDraw == nullptr) return 0;
  const std::int64_t threshold = g_refreshPeriodUs >= 0 ? g_refreshPeriodUs - kWakeBeforeBlankUs : kUnmeasuredSleepUs;
  if (NowUs() - g_lastBlankUs < threshold) {
    Sleep(0);
    while (NowUs() - g_lastBlankUs < threshold) Sleep(1);
    BlockUntilBlank();
  } else {
    BlockUntilBlank();
    Sleep(0);
  }
  return 0;
}

int MeasureRefreshPeriod() {
  g_refreshPeriodUs = -1;
  if (Graphics().directDraw != nullptr) {
    BlockUntilBlank();
    std::int64_t previousBlank = g_lastBlankUs;
    std::int64_t previousInterval = -1;
    std::int64_t sum = 0;
    int count = 0;
    for (int i = 0; i < kMeasureBlanks; ++i) {
      BlockUntilBlank();
      const std::int64_t interval = g_lastBlankUs - previousBlank;
      previousBlank = g_lastBlankUs;
      const std::int64_t difference = interval - previousInterval;
      if (previousInterval >= 0 && difference < kIntervalToleranceUs && difference > -kIntervalToleranceUs) {
        sum += interval;
        ++count;
      } else {
        sum = 0;
        count = 0;
      }
      previousInterval = interval;
      if (count == kAgreeingIntervals) {
        g_refreshPeriodUs = sum / count;
        break;
      }
      Sleep(5);
    }
  }
  WaitVerticalBlank();
  return 0;
}

std::int64_t GetRefreshPeriodUs() { return g_refreshPeriodUs; }
int IsVSyncWaitOn() { return g_waitVSyncOff ? 0 : 1; }

int SetWaitVSync(int flag) {
  g_waitVSyncOff = flag ? 0 : 1;
  if (!WindowSystem().initialised) g_defaultWaitVSyncOff = g_waitVSyncOff;
  return 0;
}

int GetWaitVSync() { return IsVSyncWaitOn(); }

void ApplyDefaultWaitVSync() { g_waitVSyncOff = g_defaultWaitVSyncOff; }
