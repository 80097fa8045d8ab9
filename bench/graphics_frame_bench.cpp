// The graphics core's frame cost: start-up to the first presented frame,
// and one empty frame (clear to the background colour and present) through
// the framework on the Direct3D device and on the software screen, each
// beside the platform doing the same bare work: the device's Clear and
// Present on a window of the game's size, and a GDI SetDIBitsToDevice of a
// filled buffer of that size. Presents do not wait for the vertical blank
// here, so the framework's own overhead per frame shows as the ratio. A
// last run presents 240 frames with waiting on and prints the real-clock
// period between frames.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "WqLib.h"
#include "graphics/graphics_start.h"
#include "platform/control.h"
#include "platform/d3d9.h"
#include "platform/windows.h"
#include "support/bare_device.h"
#include "support/game_screen.h"
#include "support/summary_reporter.h"

namespace {

using wqbench::kScreenHeight;
using wqbench::kScreenWidth;
constexpr int kPacedFrames = 240;

// The framework writes its log and lock files into a folder of its own.
struct ScratchFolder {
  std::filesystem::path path = std::filesystem::temp_directory_path() / "wq_graphics_frame_bench";
  ScratchFolder() {
    std::filesystem::create_directories(path);
    WqControlSetLockFolder(path.c_str());
    SetLogFolder(("C:" + path.string()).c_str());
    ChangeWindowMode(1);
  }
};

// Before start-up the wait setting is the default that the device is made
// with.
bool StartFramework(bool hardware, bool waitVSync) {
  static ScratchFolder folder;
  SetUseHardwareRenderer(hardware ? 1 : 0);
  SetWaitVSync(waitVSync ? 1 : 0);
  if (StartLibrary() != 0) return false;
  SelectDrawTarget(-2);
  return SetScreenMode(kScreenWidth, kScreenHeight, 32, 60) == 0;
}

void BM_StartToFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    if (!StartFramework(true, true)) {
      state.SkipWithError("no start");
      return;
    }
    ClearDrawTarget(nullptr);
    PresentScreen();
    state.PauseTiming();
    EndLibrary();
    state.ResumeTiming();
  }
}

void FrameworkFrames(benchmark::State& state, bool hardware) {
  if (!StartFramework(hardware, false) || IsDirect3DRendererInUse() != (hardware ? 1 : 0)) {
    state.SkipWithError("the renderer did not start");
    EndLibrary();
    return;
  }
  for (auto _ : state) {
    ClearDrawTarget(nullptr);
    PresentScreen();
  }
  EndLibrary();
}

void BM_FrameworkDeviceFrame(benchmark::State& state) { FrameworkFrames(state, true); }
void BM_FrameworkSoftwareFrame(benchmark::State& state) { FrameworkFrames(state, false); }

void BM_BareDeviceFrame(benchmark::State& state) {
  wqbench::BareDevice bare =
      wqbench::CreateBareDevice("WqFrameBench", kScreenWidth, kScreenHeight, D_D3DCREATE_SOFTWARE_VERTEXPROCESSING);
  D_IDirect3DDevice9* device = bare.device;
  if (device == nullptr) {
    state.SkipWithError("no Direct3D device");
    wqbench::ReleaseBareDevice(&bare);
    return;
  }
  for (auto _ : state) {
    device->Clear(0, nullptr, D_D3DCLEAR_TARGET, 0, 1.0f, 0);
    device->Present(nullptr, nullptr, nullptr, nullptr);
  }
  wqbench::ReleaseBareDevice(&bare);
}

void BM_BareGdiFrame(benchmark::State& state) {
  HWND window = wqbench::CreateBareWindow("WqFrameBench", kScreenWidth, kScreenHeight);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kScreenWidth) * kScreenHeight);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = kScreenWidth;
  info.bmiHeader.biHeight = -kScreenHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  for (auto _ : state) {
    std::fill(pixels.begin(), pixels.end(), 0u);
    HDC dc = GetDC(window);
    SetDIBitsToDevice(dc, 0, 0, kScreenWidth, kScreenHeight, 0, 0, 0, kScreenHeight, pixels.data(), &info,
                      DIB_RGB_COLORS);
    ReleaseDC(window, dc);
  }
  DestroyWindow(window);
}

void BM_PacedFrames(benchmark::State& state) {
  if (!StartFramework(true, true)) {
    state.SkipWithError("no start");
    return;
  }
  for (auto _ : state) {
    for (int frame = 0; frame < kPacedFrames; ++frame) {
      ClearDrawTarget(nullptr);
      PresentScreen();
    }
  }
  state.counters["frame_period_us"] = benchmark::Counter(static_cast<double>(state.iterations()) * kPacedFrames,
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  EndLibrary();
}

BENCHMARK(BM_StartToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_FrameworkDeviceFrame)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_BareDeviceFrame)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_FrameworkSoftwareFrame)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_BareGdiFrame)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PacedFrames)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void PrintPair(const wqbench::SummaryReporter& reporter, const char* label, const char* ours, const char* bare) {
  const double oursUs = reporter.SecondsPerIteration(ours) * 1e6;
  const double bareUs = reporter.SecondsPerIteration(bare) * 1e6;
  if (oursUs <= 0 || bareUs <= 0) return;
  std::printf("  %-16s framework %9.1f us, platform bare %9.1f us, framework / bare %5.2f\n", label, oursUs, bareUs,
              oursUs / bareUs);
}

void PrintSummary(const wqbench::SummaryReporter& reporter) {
  std::printf("\nOne empty frame (clear + present) at %d x %d, no vertical-blank wait:\n", kScreenWidth, kScreenHeight);
  PrintPair(reporter, "device:", "BM_FrameworkDeviceFrame/real_time", "BM_BareDeviceFrame/real_time");
  PrintPair(reporter, "software screen:", "BM_FrameworkSoftwareFrame/real_time", "BM_BareGdiFrame/real_time");
  const double start = reporter.SecondsPerIteration("BM_StartToFirstFrame/iterations:3/real_time");
  if (start > 0) std::printf("  start-up to the first presented frame: %.1f ms\n", start * 1e3);
  const double period = reporter.Counter("BM_PacedFrames/iterations:1/real_time", "frame_period_us");
  if (period > 0) std::printf("  period over %d paced frames: %.0f us (60 Hz: 16667 us)\n", kPacedFrames, period * 1e6);
}

}  // namespace

int main(int argc, char** argv) { return wqbench::RunWithSummary(argc, argv, PrintSummary); }
