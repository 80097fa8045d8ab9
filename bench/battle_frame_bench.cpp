// Stage 1's heaviest battle frame (see support/heaviest_battle.h) on the
// game's own data at the game's 882 x 820 screen: its logic and its
// drawing timed apart, and the whole scene step as the frame loop runs it,
// on the Direct3D device and on the software screen. Each renderer runs in
// a child process of its own, as the game's picture table lives as long as
// the process and outlives a library session. The state is put back before
// every timed frame, so all of them are the same frame.
//
// Beside them pixman composites the same pictures at the same places, as
// many, alpha-blended (scaled and turned with the nearest filter where the
// game scales or turns them) into an 882 x 820 buffer cleared first; it
// draws no text, where the game draws the score and the boss's marker.
// Drawing counts the draws, the present and the clear of the next frame.
// Per frame the summary prints wall time, the process's CPU time (the
// OpenGL driver's threads included) and the CPU time of the game's thread,
// and the ratios of each drawing to pixman's.
#include <pixman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include <WqLib.h>

#include "asset_loading.h"
#include "boss_patterns.h"
#include "bullet_pools.h"
#include "game_records.h"
#include "graphics/graphics_start.h"
#include "hud.h"
#include "player.h"
#include "scene_machine.h"
#include "stage_loaders.h"
#include "support/frame_bench.h"
#include "support/heaviest_battle.h"
#include "title_menu.h"

namespace {

constexpr int kFrames = 200;
constexpr int kWarmUpFrames = 10;

// ---- Clocks ----

double Seconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Seconds spent, summed over the timed frames.
struct Cost {
  double wall = 0, process = 0, thread = 0;
};

// Runs `work`, adding its time to `cost` (when given).
template <typename Work>
void Time(Cost* cost, Work work) {
  const double wall = Seconds(CLOCK_MONOTONIC), process = Seconds(CLOCK_PROCESS_CPUTIME_ID),
               thread = Seconds(CLOCK_THREAD_CPUTIME_ID);
  work();
  if (cost == nullptr) return;
  cost->wall += Seconds(CLOCK_MONOTONIC) - wall;
  cost->process += Seconds(CLOCK_PROCESS_CPUTIME_ID) - process;
  cost->thread += Seconds(CLOCK_THREAD_CPUTIME_ID) - thread;
}

struct SessionCosts {
  Cost logic, draw, whole;
};

// ---- The game on one renderer, in a child process ----

void PresentAndClear() {
  PresentScreen();
  ClearDrawTarget(nullptr);
}

bool RunSession(bool hardware, SessionCosts* costs) {
  const wqbench::ScratchFolder folder(hardware ? "wq_battle_frame_device" : "wq_battle_frame_software");
  if (chdir(GAME_DATA_DIR) != 0) return false;
  SetUseHardwareRenderer(hardware ? 1 : 0);
  SetWaitVSync(0);
  if (StartLibrary() != 0 || SelectDrawTarget(-2) != 0 || SetScreenMode(SCREEN_WIDTH, SCREEN_HEIGHT, 32, 60) != 0 ||
      IsDirect3DRendererInUse() != (hardware ? 1 : 0)) {
    EndLibrary();
    return false;
  }
  // What the title and stage 1's loading scene load.
  LoadTitle();
  ResetPlayer();
  LoadBullets();
  LoadStage1();
  LoadHud();
  LoadEffectGraphs();
  wqbench::SetUpHeaviestBattle();
  CircleSetup({0, 1});
  const wqbench::SavedBattle saved;
  // The first frames load the glyphs and ready the shaders.
  for (int frame = -kWarmUpFrames; frame < kFrames; ++frame) {
    const bool timed = frame >= 0;
    saved.Restore();
    Time(timed ? &costs->logic : nullptr, wqbench::RunBattleLogic);
    saved.Restore();
    Time(timed ? &costs->draw : nullptr, [] {
      wqbench::DrawBattle();
      PresentAndClear();
    });
    saved.Restore();
    Time(timed ? &costs->whole : nullptr, [] {
      RunScene();
      PresentAndClear();
    });
  }
  EndLibrary();
  return true;
}

// Runs the session in a child process and reads its costs back; false when
// the renderer did not start or the child failed.
bool MeasureInChild(bool hardware, SessionCosts* costs) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return false;
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    SessionCosts measured;
    const bool ran = RunSession(hardware, &measured);
    const bool sent = ran && write(pipeEnds[1], &measured, sizeof measured) == sizeof measured;
    _exit(sent ? 0 : 1);
  }
  close(pipeEnds[1]);
  const bool read = child > 0 && ::read(pipeEnds[0], costs, sizeof *costs) == sizeof *costs;
  close(pipeEnds[0]);
  int status = 0;
  if (child > 0) waitpid(child, &status, 0);
  return read && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// ---- pixman ----

// A picture of the game's data as a premultiplied pixman image.
class PeerPicture {
 public:
  PeerPicture(const BaseImage& image, int left, int width) : width_(width), height_(image.height) {
    pixels_.resize(static_cast<std::size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        const std::uint32_t argb = GetBaseImagePixelArgb(&image, left + x, y), alpha = argb >> 24;
        auto premultiplied = [&](int shift) { return ((argb >> shift & 0xFF) * alpha + 127) / 255 << shift; };
        pixels_[static_cast<std::size_t>(y) * width_ + x] =
            alpha << 24 | premultiplied(16) | premultiplied(8) | premultiplied(0);
      }
    }
    image_ = pixman_image_create_bits(PIXMAN_a8r8g8b8, width_, height_, pixels_.data(), width_ * 4);
    pixman_image_set_filter(image_, PIXMAN_FILTER_NEAREST, nullptr, 0);
  }
  PeerPicture(const PeerPicture&) = delete;
  PeerPicture& operator=(const PeerPicture&) = delete;
  ~PeerPicture() { pixman_image_unref(image_); }

  // Composites the picture over `screen`, as the sprite places it.
  void Draw(pixman_image_t* screen, const wqbench::Sprite& sprite) const {
    if (!sprite.centred) {
      pixman_image_set_transform(image_, nullptr);
      pixman_image_composite32(PIXMAN_OP_OVER, image_, nullptr, screen, 0, 0, 0, 0, sprite.x, sprite.y, width_,
                               height_);
      return;
    }
    // The screen's pixels map back through the centre, the turn and the
    // scale into the picture; the composite covers the turned box.
    const double c = std::cos(sprite.angle), s = std::sin(sprite.angle);
    const double halfWidth = (std::fabs(c) * width_ + std::fabs(s) * height_) * sprite.scale / 2;
    const double halfHeight = (std::fabs(s) * width_ + std::fabs(c) * height_) * sprite.scale / 2;
    const int left = static_cast<int>(std::floor(sprite.x - halfWidth));
    const int top = static_cast<int>(std::floor(sprite.y - halfHeight));
    pixman_f_transform toPicture;
    pixman_f_transform_init_translate(&toPicture, -sprite.x, -sprite.y);
    pixman_f_transform_scale(&toPicture, nullptr, 1 / sprite.scale, 1 / sprite.scale);
    pixman_f_transform_rotate(&toPicture, nullptr, c, -s);
    pixman_f_transform_translate(&toPicture, nullptr, width_ / 2.0, height_ / 2.0);
    pixman_transform fixed;
    pixman_transform_from_pixman_f_transform(&fixed, &toPicture);
    pixman_image_set_transform(image_, &fixed);
    pixman_image_composite32(PIXMAN_OP_OVER, image_, nullptr, screen, left, top, 0, 0, left, top,
                             static_cast<int>(std::ceil(2 * halfWidth)) + 1,
                             static_cast<int>(std::ceil(2 * halfHeight)) + 1);
  }

 private:
  int width_, height_;
  std::vector<std::uint32_t> pixels_;
  pixman_image_t* image_;
};

// Every picture of the frame, and each cell of the explosion strip.
struct PeerPictures {
  std::vector<std::unique_ptr<PeerPicture>> pictures;
  std::vector<std::unique_ptr<PeerPicture>> explosionCells;

  bool Load() {
    for (int i = 0; i < static_cast<int>(wqbench::Picture::kCount); ++i) {
      const auto picture = static_cast<wqbench::Picture>(i);
      BaseImage image{};
      if (LoadBaseImage(wqbench::PictureFile(picture), nullptr, 0, 0, &image, 0) != 0) return false;
      DecompressBaseImage(&image);
      if (picture == wqbench::Picture::kExplosionStrip) {
        for (int cell = 0; cell < EXPLOSION_FRAME_COUNT; ++cell) {
          explosionCells.push_back(
              std::make_unique<PeerPicture>(image, cell * wqbench::kExplosionCell, wqbench::kExplosionCell));
        }
      }
      pictures.push_back(std::make_unique<PeerPicture>(image, 0, image.width));
      ReleaseBaseImage(&image);
    }
    return true;
  }

  const PeerPicture& For(const wqbench::Sprite& sprite) const {
    return sprite.picture == wqbench::Picture::kExplosionStrip ? *explosionCells[sprite.cell]
                                                              : *pictures[static_cast<int>(sprite.picture)];
  }
};

bool MeasurePixman(Cost* cost) {
  if (chdir(GAME_DATA_DIR) != 0) return false;
  PeerPictures peer;
  if (!peer.Load()) return false;
  wqbench::SetUpHeaviestBattle();
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT);
  pixman_image_t* screen =
      pixman_image_create_bits(PIXMAN_x8r8g8b8, SCREEN_WIDTH, SCREEN_HEIGHT, pixels.data(), SCREEN_WIDTH * 4);
  const pixman_color_t black{0, 0, 0, 0xFFFF};
  const pixman_rectangle16_t whole{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
  for (int frame = -kWarmUpFrames; frame < kFrames; ++frame) {
    Time(frame >= 0 ? cost : nullptr, [&] {
      pixman_image_fill_rectangles(PIXMAN_OP_SRC, screen, &black, 1, &whole);
      for (const wqbench::Sprite& sprite : wqbench::HeaviestBattleSprites()) peer.For(sprite).Draw(screen, sprite);
    });
  }
  pixman_image_unref(screen);
  return true;
}

// ---- The summary ----

void PrintLine(const char* label, const Cost& cost) {
  std::printf("  %-24s %9.3f %14.3f %13.3f\n", label, cost.wall / kFrames * 1e3, cost.process / kFrames * 1e3,
              cost.thread / kFrames * 1e3);
}

void PrintSession(const char* renderer, bool ran, const SessionCosts& costs) {
  if (!ran) {
    std::printf("  %s: the renderer did not start\n", renderer);
    return;
  }
  const std::string prefix = std::string(renderer) + ", ";
  PrintLine((prefix + "logic").c_str(), costs.logic);
  PrintLine((prefix + "drawing").c_str(), costs.draw);
  PrintLine((prefix + "whole frame").c_str(), costs.whole);
}

void PrintRatio(const char* label, const Cost& ours, const Cost& peer, double aimMs) {
  std::printf("  %-24s wall %5.2fx  CPU %5.2fx (process) %5.2fx (thread); aim under %.0f ms CPU: %s\n", label,
              ours.wall / peer.wall, ours.process / peer.process, ours.thread / peer.process, aimMs,
              ours.process / kFrames * 1e3 < aimMs ? "met" : "missed");
}

}  // namespace

int main() {
  SessionCosts device{}, software{};
  const bool deviceRan = MeasureInChild(true, &device);
  const bool softwareRan = MeasureInChild(false, &software);
  Cost pixman{};
  const bool pixmanRan = MeasurePixman(&pixman);

  std::printf(
      "\nStage 1's heaviest battle frame at %d x %d: 4 x %d enemy bullets, 2 x %d shots, 2 circles, %d explosions,\n"
      "HUD and background; %d frames, each put back to the same state; per frame:\n"
      "  %-24s %9s %14s %13s\n",
      SCREEN_WIDTH, SCREEN_HEIGHT, ENEMY_POOL_SIZE, SHOT_POOL_SIZE, EXPLOSION_COUNT, kFrames, "", "wall ms",
      "process CPU ms", "thread CPU ms");
  PrintSession("device", deviceRan, device);
  PrintSession("software", softwareRan, software);
  if (!pixmanRan) {
    std::printf("  pixman: the pictures did not load\n");
    return 1;
  }
  PrintLine("pixman", pixman);
  if (deviceRan) PrintRatio("device drawing / pixman", device.draw, pixman, 2);
  if (softwareRan) PrintRatio("software drawing / pixman", software.draw, pixman, 4);
  return deviceRan && softwareRan ? 0 : 1;
}
