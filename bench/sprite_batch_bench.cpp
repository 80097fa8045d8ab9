// Sprite throughput: thousands of 16 x 16 alpha-blended textured sprites a
// frame, drawn by the Direct3D 9 device through DrawPrimitiveUP in batches,
// against SDL's own renderer (SDL_RenderCopy on its OpenGL driver, with its
// command batching on) drawing the same sprites into a window of the same
// size. Each side does the whole work of a frame inside the timed loop: the
// device side writes the sprites' vertices, as a game does every frame, and
// SDL builds its own from the rectangles; both clear, draw and present
// without waiting for vertical blanks, the same number of frames after one
// untimed frame that readies the shaders. The summary prints, for both, the
// wall time and the process CPU time a frame (the software OpenGL under Xvfb
// rasterises on threads of its own, which the process time includes),
// sprites per second and the ratios.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <ctime>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/d3d9.h"
#include "platform/windows.h"
#include "support/bare_device.h"
#include "support/summary_reporter.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kSprite = 16;
constexpr int kSpritesPerFrame = 4000;
constexpr int kSpritesPerBatch = 500;
constexpr int kFrames = 300;

struct SpritePlace {
  int x, y;
};

std::vector<SpritePlace> Places() {
  std::mt19937 random(7);
  std::vector<SpritePlace> places(kSpritesPerFrame);
  for (SpritePlace& place : places) {
    place.x = static_cast<int>(random() % (kWidth - kSprite));
    place.y = static_cast<int>(random() % (kHeight - kSprite));
  }
  return places;
}

// A round sprite whose edge fades out, as 0xAARRGGBB texels.
std::vector<std::uint32_t> SpriteTexels() {
  std::vector<std::uint32_t> texels(kSprite * kSprite);
  for (int y = 0; y < kSprite; ++y) {
    for (int x = 0; x < kSprite; ++x) {
      int dx = 2 * x - kSprite + 1, dy = 2 * y - kSprite + 1;
      int distance = dx * dx + dy * dy;
      std::uint32_t alpha = distance >= kSprite * kSprite ? 0 : 255 - distance * 255 / (kSprite * kSprite);
      texels[y * kSprite + x] = alpha << 24 | 0xFFC040u;
    }
  }
  return texels;
}

double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Sprites per second in wall time, and the process CPU time a frame, which
// the timed loop measured from `cpu_start`.
void SetCounters(benchmark::State& state, double cpu_start) {
  double frames = static_cast<double>(state.iterations());
  state.counters["sprites_per_s"] =
      benchmark::Counter(frames * kSpritesPerFrame, benchmark::Counter::kIsRate);
  state.counters["process_cpu_s"] =
      benchmark::Counter((ProcessCpuSeconds() - cpu_start) / frames);
}

struct Vertex {
  float x, y, z, rhw;
  D_D3DCOLOR diffuse;
  float u, v;
};

void BM_Direct3DSprites(benchmark::State& state) {
  wqbench::BareDevice bare = wqbench::CreateBareDevice("WqSpriteBench", kWidth, kHeight, 0);
  D_IDirect3DDevice9* device = bare.device;
  if (device == nullptr) {
    state.SkipWithError("no Direct3D device");
    wqbench::ReleaseBareDevice(&bare);
    return;
  }
  D_IDirect3DTexture9* texture = nullptr;
  device->CreateTexture(kSprite, kSprite, 1, 0, D_D3DFMT_A8R8G8B8, D_D3DPOOL_MANAGED, &texture, nullptr);
  D_D3DLOCKED_RECT locked{};
  texture->LockRect(0, &locked, nullptr, 0);
  std::vector<std::uint32_t> texels = SpriteTexels();
  for (int row = 0; row < kSprite; ++row) {
    std::memcpy(static_cast<std::uint8_t*>(locked.pBits) + row * locked.Pitch, texels.data() + row * kSprite, kSprite * 4);
  }
  texture->UnlockRect(0);
  device->SetTexture(0, texture);
  device->SetFVF(D_D3DFVF_XYZRHW | D_D3DFVF_DIFFUSE | D_D3DFVF_TEX1);
  device->SetRenderState(D_D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D_D3DRS_CULLMODE, D_D3DCULL_NONE);
  device->SetRenderState(D_D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D_D3DRS_SRCBLEND, D_D3DBLEND_SRCALPHA);
  device->SetRenderState(D_D3DRS_DESTBLEND, D_D3DBLEND_INVSRCALPHA);

  std::vector<SpritePlace> places = Places();
  std::vector<Vertex> vertices(kSpritesPerFrame * 6);
  auto draw_frame = [&] {
    Vertex* vertex = vertices.data();
    for (const SpritePlace& place : places) {
      float left = static_cast<float>(place.x) - 0.5f, top = static_cast<float>(place.y) - 0.5f;
      float right = left + kSprite, bottom = top + kSprite;
      vertex[0] = {left, top, 0.5f, 1.0f, 0xFFFFFFFFu, 0.0f, 0.0f};
      vertex[1] = {right, top, 0.5f, 1.0f, 0xFFFFFFFFu, 1.0f, 0.0f};
      vertex[2] = {left, bottom, 0.5f, 1.0f, 0xFFFFFFFFu, 0.0f, 1.0f};
      vertex[3] = vertex[2];
      vertex[4] = vertex[1];
      vertex[5] = {right, bottom, 0.5f, 1.0f, 0xFFFFFFFFu, 1.0f, 1.0f};
      vertex += 6;
    }
    device->Clear(0, nullptr, D_D3DCLEAR_TARGET, 0xFF000020u, 1.0f, 0);
    device->BeginScene();
    for (int first = 0; first < kSpritesPerFrame; first += kSpritesPerBatch) {
      device->DrawPrimitiveUP(D_D3DPT_TRIANGLELIST, kSpritesPerBatch * 2, &vertices[first * 6], sizeof(Vertex));
    }
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
  };
  draw_frame();  // compiles the shaders outside the timing
  double cpu_start = ProcessCpuSeconds();
  for (auto _ : state) draw_frame();
  SetCounters(state, cpu_start);
  device->SetTexture(0, nullptr);
  texture->Release();
  wqbench::ReleaseBareDevice(&bare);
}

void BM_SdlRendererSprites(benchmark::State& state) {
  SDL_InitSubSystem(SDL_INIT_VIDEO);
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
  // Naming a driver switches SDL's command batching off; ask for it back.
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  SDL_Window* window = SDL_CreateWindow("sprites", 0, 0, kWidth, kHeight, SDL_WINDOW_SHOWN);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
  if (!renderer) {
    state.SkipWithError("no SDL OpenGL renderer");
    return;
  }
  SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, kSprite, kSprite);
  std::vector<std::uint32_t> texels = SpriteTexels();
  SDL_UpdateTexture(texture, nullptr, texels.data(), kSprite * 4);
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  std::vector<SpritePlace> places = Places();
  auto draw_frame = [&] {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0x20, 0xFF);
    SDL_RenderClear(renderer);
    for (const SpritePlace& place : places) {
      SDL_Rect dest{place.x, place.y, kSprite, kSprite};
      SDL_RenderCopy(renderer, texture, nullptr, &dest);
    }
    SDL_RenderPresent(renderer);
  };
  draw_frame();  // compiles the shaders outside the timing
  double cpu_start = ProcessCpuSeconds();
  for (auto _ : state) draw_frame();
  SetCounters(state, cpu_start);
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
}

// Both sides draw the same number of frames.
BENCHMARK(BM_Direct3DSprites)->Iterations(kFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SdlRendererSprites)->Iterations(kFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

// Both sides' times a frame, sprites per second and the ratios (above 1:
// the device is faster).
void PrintSummary(const wqbench::SummaryReporter& reporter) {
  const std::string run = "/iterations:" + std::to_string(kFrames) + "/real_time";
  const std::string kOurs = "BM_Direct3DSprites" + run;
  const std::string kSdl = "BM_SdlRendererSprites" + run;
  const double ours_wall = reporter.SecondsPerIteration(kOurs);
  const double sdl_wall = reporter.SecondsPerIteration(kSdl);
  const double ours_cpu = reporter.Counter(kOurs, "process_cpu_s");
  const double sdl_cpu = reporter.Counter(kSdl, "process_cpu_s");
  if (ours_wall <= 0 || sdl_wall <= 0 || ours_cpu <= 0 || sdl_cpu <= 0) return;
  std::printf("\n%d frames of %d sprites of %d x %d in batches of %d, %d x %d window:\n", kFrames,
              kSpritesPerFrame, kSprite, kSprite, kSpritesPerBatch, kWidth, kHeight);
  std::printf("                      wall ms/frame  CPU ms/frame     sprites/s\n");
  std::printf("  Direct3D 9 device:  %13.3f  %12.3f  %12.0f\n", ours_wall * 1e3, ours_cpu * 1e3,
              kSpritesPerFrame / ours_wall);
  std::printf("  SDL renderer:       %13.3f  %12.3f  %12.0f\n", sdl_wall * 1e3, sdl_cpu * 1e3,
              kSpritesPerFrame / sdl_wall);
  std::printf("  SDL / device:       %13.2f  %12.2f\n", sdl_wall / ours_wall, sdl_cpu / ours_cpu);
}

}  // namespace

int main(int argc, char** argv) { return wqbench::RunWithSummary(argc, argv, PrintSummary); }
