// A heavy game frame through the public draws: two full-screen backgrounds
// (one opaque, one blended at half strength) and 2,000 bullets of 16 x 16
// with alpha, half drawn with DrawGraph and half with DrawGraphRotated, on
// the Direct3D device and on the software screen. Beside them the bare
// platform device draws the same frame itself: the same textures, the
// bullets' quads (the turned ones with their corners computed the same way)
// appended into one array and drawn in batches, one Present. Presents do
// not wait for the vertical blank. The summary prints frames per second,
// wall and process CPU time a frame, and the framework's time over the bare
// device's (its overhead as a ratio).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "WqLib.h"
#include "graphics/graph_load.h"
#include "graphics/graphics_start.h"
#include "platform/control.h"
#include "platform/d3d9.h"
#include "platform/windows.h"
#include "support/bare_device.h"
#include "support/frame_bench.h"
#include "support/game_screen.h"
#include "support/summary_reporter.h"

namespace {

using wqbench::kScreenHeight;
using wqbench::kScreenWidth;
constexpr int kBullet = 16;
constexpr int kBullets = 2000;
constexpr int kFrames = 200;
constexpr int kBulletsPerBatch = 500;

struct Bullet {
  int x, y;
  double angle;
};

std::vector<Bullet> Bullets() {
  std::mt19937 random(11);
  std::vector<Bullet> bullets(kBullets);
  for (Bullet& b : bullets) {
    b.x = static_cast<int>(random() % (kScreenWidth - kBullet)) + kBullet / 2;
    b.y = static_cast<int>(random() % (kScreenHeight - kBullet)) + kBullet / 2;
    b.angle = static_cast<double>(random() % 6283) / 1000.0;
  }
  return bullets;
}

// 0xAARRGGBB pictures: a round bullet fading at its rim, an opaque
// gradient and a second background with alpha stripes.
std::uint32_t BulletPixel(int x, int y) {
  const int dx = 2 * x - kBullet + 1, dy = 2 * y - kBullet + 1, d = dx * dx + dy * dy;
  const std::uint32_t alpha = d >= kBullet * kBullet ? 0 : 255 - d * 255 / (kBullet * kBullet);
  return alpha << 24 | 0xFF60C0u;
}
std::uint32_t BackPixel(int x, int y) {
  return 0xFF000000u | static_cast<std::uint32_t>(x * 255 / kScreenWidth) << 16 |
         static_cast<std::uint32_t>(y * 255 / kScreenHeight);
}
std::uint32_t FrontPixel(int x, int y) { return ((x + y) / 32 % 2 ? 0xC0u : 0x40u) << 24 | 0x20A040u; }

// ---- The framework ----

int MakeGraph(int width, int height, std::uint32_t (*pixel)(int, int)) {
  BaseImage image{};
  CreateArgbBaseImage(width, height, &image);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixel(x, y);
      SetBaseImagePixel(&image, x, y, p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF, p >> 24);
    }
  }
  const int graph = CreateGraphFromGraphImage(&image, nullptr, 0, 0, 0);
  ReleaseBaseImage(&image);
  return graph;
}

void FrameworkFrames(benchmark::State& state, bool hardware) {
  static wqbench::ScratchFolder folder("wq_draw_frame_bench");
  SetUseHardwareRenderer(hardware ? 1 : 0);
  SetWaitVSync(0);
  if (StartLibrary() != 0 || SelectDrawTarget(-2) != 0 || SetScreenMode(kScreenWidth, kScreenHeight, 32, 60) != 0 ||
      IsDirect3DRendererInUse() != (hardware ? 1 : 0)) {
    state.SkipWithError("the renderer did not start");
    EndLibrary();
    return;
  }
  const int back = MakeGraph(kScreenWidth, kScreenHeight, BackPixel);
  const int front = MakeGraph(kScreenWidth, kScreenHeight, FrontPixel);
  const int bullet = MakeGraph(kBullet, kBullet, BulletPixel);
  const std::vector<Bullet> bullets = Bullets();
  auto drawFrame = [&] {
    ClearDrawTarget(nullptr);
    SetBlendMode(0, 0);
    DrawGraph(0, 0, back, 0);
    SetBlendMode(1, 128);
    DrawGraph(0, 0, front, 1);
    SetBlendMode(1, 255);
    for (int i = 0; i < kBullets; ++i) {
      const Bullet& b = bullets[i];
      if (i % 2 == 0) {
        DrawGraph(b.x - kBullet / 2, b.y - kBullet / 2, bullet, 1);
      } else {
        DrawGraphRotated(b.x, b.y, 1.0, b.angle, bullet, 1, 0);
      }
    }
    PresentScreen();
  };
  drawFrame();  // readies the shaders outside the timing
  const double cpuStart = wqbench::ProcessCpuSeconds();
  for (auto _ : state) drawFrame();
  wqbench::SetCpuCounter(state, cpuStart);
  EndLibrary();
}

void BM_FrameworkDeviceFrame(benchmark::State& state) { FrameworkFrames(state, true); }
void BM_FrameworkSoftwareFrame(benchmark::State& state) { FrameworkFrames(state, false); }

// ---- The bare device ----

struct Vertex {
  float x, y, z, rhw;
  D_D3DCOLOR diffuse;
  float u, v;
};

D_IDirect3DTexture9* MakeTexture(D_IDirect3DDevice9* device, int width, int height, int textureSize,
                                 std::uint32_t (*pixel)(int, int)) {
  D_IDirect3DTexture9* texture = nullptr;
  device->CreateTexture(textureSize, textureSize, 1, 0, D_D3DFMT_A8R8G8B8, D_D3DPOOL_MANAGED, &texture, nullptr);
  D_D3DLOCKED_RECT locked{};
  texture->LockRect(0, &locked, nullptr, 0);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(locked.pBits) + y * locked.Pitch);
    for (int x = 0; x < width; ++x) row[x] = pixel(x, y);
  }
  texture->UnlockRect(0);
  return texture;
}

// Corners top-left, top-right, bottom-left, bottom-right as the triangle
// list (0, 1, 2), (3, 2, 1) wants them.
void AppendQuad(Vertex* out, const float (&x)[4], const float (&y)[4], float u1, float v1, D_D3DCOLOR colour) {
  const float u[4] = {0, u1, 0, u1}, v[4] = {0, 0, v1, v1};
  const int order[6] = {0, 1, 2, 3, 2, 1};
  for (int i = 0; i < 6; ++i) out[i] = {x[order[i]], y[order[i]], 0.2f, 1.0f, colour, u[order[i]], v[order[i]]};
}

void BM_BareDeviceFrame(benchmark::State& state) {
  wqbench::BareDevice bare = wqbench::CreateBareDevice("WqDrawFrameBench", kScreenWidth, kScreenHeight, 0);
  D_IDirect3DDevice9* device = bare.device;
  if (device == nullptr) {
    state.SkipWithError("no Direct3D device");
    wqbench::ReleaseBareDevice(&bare);
    return;
  }
  D_IDirect3DTexture9* back = MakeTexture(device, kScreenWidth, kScreenHeight, 1024, BackPixel);
  D_IDirect3DTexture9* front = MakeTexture(device, kScreenWidth, kScreenHeight, 1024, FrontPixel);
  D_IDirect3DTexture9* bullet = MakeTexture(device, kBullet, kBullet, kBullet, BulletPixel);
  device->SetFVF(D_D3DFVF_XYZRHW | D_D3DFVF_DIFFUSE | D_D3DFVF_TEX1);
  device->SetRenderState(D_D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D_D3DRS_CULLMODE, D_D3DCULL_NONE);
  device->SetRenderState(D_D3DRS_SRCBLEND, D_D3DBLEND_SRCALPHA);
  device->SetRenderState(D_D3DRS_DESTBLEND, D_D3DBLEND_INVSRCALPHA);
  device->SetTextureStageState(0, D_D3DTSS_ALPHAOP, D_D3DTOP_MODULATE);

  const std::vector<Bullet> bullets = Bullets();
  std::vector<Vertex> vertices(static_cast<std::size_t>(kBullets + 2) * 6);
  const float screenU = static_cast<float>(kScreenWidth) / 1024, screenV = static_cast<float>(kScreenHeight) / 1024;
  const float left = -0.5f, top = -0.5f, right = kScreenWidth - 0.5f, bottom = kScreenHeight - 0.5f;
  auto drawFrame = [&] {
    Vertex* v = vertices.data();
    AppendQuad(v, {left, right, left, right}, {top, top, bottom, bottom}, screenU, screenV, 0xFFFFFFFFu);
    AppendQuad(v + 6, {left, right, left, right}, {top, top, bottom, bottom}, screenU, screenV, 0x80FFFFFFu);
    Vertex* sprite = v + 12;
    for (int i = 0; i < kBullets; ++i, sprite += 6) {
      const Bullet& b = bullets[i];
      if (i % 2 == 0) {
        const float x0 = b.x - kBullet / 2 - 0.5f, y0 = b.y - kBullet / 2 - 0.5f;
        AppendQuad(sprite, {x0, x0 + kBullet, x0, x0 + kBullet}, {y0, y0, y0 + kBullet, y0 + kBullet}, 1, 1,
                   0xFFFFFFFFu);
      } else {
        const float s = std::sin(static_cast<float>(b.angle)), c = std::cos(static_cast<float>(b.angle));
        float x[4], y[4];
        for (int k = 0; k < 4; ++k) {
          const float dx = (k & 1 ? kBullet : 0) - kBullet / 2.0f, dy = (k & 2 ? kBullet : 0) - kBullet / 2.0f;
          x[k] = dx * c - dy * s + b.x - 0.5f;
          y[k] = dx * s + dy * c + b.y - 0.5f;
        }
        AppendQuad(sprite, x, y, 1, 1, 0xFFFFFFFFu);
      }
    }
    device->Clear(0, nullptr, D_D3DCLEAR_TARGET, 0, 1.0f, 0);
    device->BeginScene();
    device->SetRenderState(D_D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetTexture(0, back);
    device->DrawPrimitiveUP(D_D3DPT_TRIANGLELIST, 2, &vertices[0], sizeof(Vertex));
    device->SetRenderState(D_D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetTexture(0, front);
    device->DrawPrimitiveUP(D_D3DPT_TRIANGLELIST, 2, &vertices[6], sizeof(Vertex));
    device->SetTexture(0, bullet);
    for (int first = 0; first < kBullets; first += kBulletsPerBatch)
      device->DrawPrimitiveUP(D_D3DPT_TRIANGLELIST, kBulletsPerBatch * 2, &vertices[(2 + first) * 6], sizeof(Vertex));
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
  };
  drawFrame();  // readies the shaders outside the timing
  const double cpuStart = wqbench::ProcessCpuSeconds();
  for (auto _ : state) drawFrame();
  wqbench::SetCpuCounter(state, cpuStart);
  device->SetTexture(0, nullptr);
  bullet->Release();
  front->Release();
  back->Release();
  wqbench::ReleaseBareDevice(&bare);
}

BENCHMARK(BM_FrameworkDeviceFrame)->Iterations(kFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareDeviceFrame)->Iterations(kFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FrameworkSoftwareFrame)->Iterations(kFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

void PrintLine(const wqbench::SummaryReporter& reporter, const char* label, const std::string& name) {
  const double wall = reporter.SecondsPerIteration(name), cpu = reporter.Counter(name, "process_cpu_s");
  if (wall <= 0) return;
  std::printf("  %-22s %8.1f fps  %9.3f wall ms  %9.3f CPU ms\n", label, 1.0 / wall, wall * 1e3, cpu * 1e3);
}

void PrintSummary(const wqbench::SummaryReporter& reporter) {
  const std::string run = "/iterations:" + std::to_string(kFrames) + "/real_time";
  const std::string device = "BM_FrameworkDeviceFrame" + run, bare = "BM_BareDeviceFrame" + run,
                    software = "BM_FrameworkSoftwareFrame" + run;
  std::printf(
      "\n%d frames of two %d x %d backgrounds and %d bullets of %d x %d (half turned), no vertical-blank wait:\n",
      kFrames, kScreenWidth, kScreenHeight, kBullets, kBullet, kBullet);
  PrintLine(reporter, "framework, device:", device);
  PrintLine(reporter, "bare platform device:", bare);
  PrintLine(reporter, "framework, software:", software);
  const double oursWall = reporter.SecondsPerIteration(device), bareWall = reporter.SecondsPerIteration(bare);
  const double oursCpu = reporter.Counter(device, "process_cpu_s"), bareCpu = reporter.Counter(bare, "process_cpu_s");
  if (oursWall > 0 && bareWall > 0 && oursCpu > 0 && bareCpu > 0) {
    std::printf("  framework device / bare device: wall %.2f, CPU %.2f (aim: within 1.5)\n", oursWall / bareWall,
                oursCpu / bareCpu);
  }
}

}  // namespace

int main(int argc, char** argv) { return wqbench::RunWithSummary(argc, argv, PrintSummary); }
