// The game's own rotated draws as golden pictures: a star sprite with
// alpha, and one keyed by its transparent colour, drawn with the
// transparent flag at the scales and angles the game uses (0.5, 0.6, 0.7,
// 1.0 and 1.5; angle 0, a shot's heading, and a heading less a quarter
// turn) onto a striped 32-bit screen. The pictures were checked by eye
// before their hashes were frozen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "blit_scene.h"
#include "softrender/pixel_formats.h"
#include "softrender/rotate_blit.h"

namespace blit_test {
namespace {

constexpr int kSprite = 24;

// A five-pointed star, orange inside a soft rim; with alpha the rim
// fades, without it everything outside the star is the transparent colour.
std::uint32_t StarPixel(int x, int y, bool alpha) {
  const double dx = x + 0.5 - kSprite / 2.0, dy = y + 0.5 - kSprite / 2.0;
  const double radius = std::hypot(dx, dy), angle = std::atan2(dy, dx);
  const double edge = 7.0 + 4.5 * std::cos(5 * angle);
  const double inside = edge - radius;
  const std::uint32_t colour = 0x00FF8020 | static_cast<std::uint32_t>(std::clamp(radius * 18, 0.0, 255.0)) << 8;
  if (!alpha) return inside > 0 ? colour : 0x00FF00FF;
  const auto a = static_cast<std::uint32_t>(std::clamp(inside * 128 + 128, 0.0, 255.0));
  return a << 24 | colour;
}

std::uint64_t Fnv1a(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t hash = 0xCBF29CE484222325ull;
  for (std::uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001B3ull;
  return hash;
}

TEST(RotateGolden, TheGamesTurnedSpritesDrawAsFrozen) {
  struct Draw {
    int x, y;
    float scale;
    float angle;
  };
  const float needle = static_cast<float>(2.2 - 1.570795);  // a heading less the game's quarter turn
  const Draw draws[] = {{14, 24, 0.5f, 0.0f},  {40, 24, 0.7f, 0.9f},  {72, 24, 0.7f, -2.6f},
                        {106, 24, 1.0f, 0.0f}, {146, 24, 1.5f, 0.0f}, {184, 24, 0.6f, needle}};
  struct Case {
    bool alpha;
    std::uint64_t hash;
  };
  for (const Case c : {Case{true, 4484121691705237597ull}, Case{false, 9562015708103641855ull}}) {
    GuardedImage screen, star;
    screen.Create(200, 48, 0, kMemImgRgb32, 0, 0);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 200; ++x) StoreU32(screen.Pixel(x, y), (x / 4 + y / 4) % 2 ? 0xFF203040 : 0xFF304860);
    star.Create(kSprite, kSprite, 0, kMemImgRgb32, 0, c.alpha);
    for (int y = 0; y < kSprite; ++y)
      for (int x = 0; x < kSprite; ++x) StoreU32(star.Pixel(x, y), StarPixel(x, y, c.alpha));
    star.Data()->transparentColor = 0x00FF00FF;
    ResetDrawState(screen.View());
    for (const Draw& draw : draws)
      MemImgRotateBlit(screen.View(), star.View(), draw.x, draw.y, draw.angle, draw.scale, 1, 0, nullptr);
    EXPECT_EQ(Fnv1a(screen.Bytes()), c.hash) << (c.alpha ? "alpha" : "keyed");
  }
}

}  // namespace
}  // namespace blit_test
