// Planet surfaces: noise and bands on a shaded sphere.
#include "planets.h"

#include "noise.h"

namespace assetgen {
namespace {

// The surface colour at a point of the sphere (nx, ny in -1..1).
Color Surface(CharacterId id, const Character& c, float nx, float ny) {
  const std::uint32_t seed = 40 + static_cast<std::uint32_t>(id);
  const float n = FractalNoise(nx * 3 + 5, ny * 3 + 5, seed, 5);
  switch (id) {
    case CharacterId::Soleil:
      return Mix(Rgb(255, 250, 200), c.planetShade, Smoothstep(0.3f, 1.0f, std::hypot(nx, ny)) * 0.8f + n * 0.2f);
    case CharacterId::Mercury: {
      const float crater = Smoothstep(0.62f, 0.7f, FractalNoise(nx * 6, ny * 6, seed + 9, 2));
      return Mix(Mix(c.planet, c.planetShade, n), Scaled(c.planetShade, 0.7f), crater * 0.7f);
    }
    case CharacterId::Venus: {
      const float swirl = std::sin(ny * 9 + n * 6);
      return Mix(c.planet, Rgb(255, 240, 200), 0.5f + 0.5f * swirl);
    }
    case CharacterId::Earth: {
      const Color ground = n > 0.52f ? Mix(Rgb(70, 160, 70), Rgb(150, 130, 80), Smoothstep(0.6f, 0.75f, n))
                                     : Mix(Rgb(20, 70, 170), Rgb(50, 120, 220), n * 1.6f);
      const float cloud = Smoothstep(0.55f, 0.7f, FractalNoise(nx * 4 + 11, ny * 7, seed + 3, 4));
      const float ice = Smoothstep(0.8f, 0.9f, std::abs(ny));
      return Mix(ground, Rgb(250, 250, 255), std::max(cloud * 0.85f, ice));
    }
    case CharacterId::Mars: {
      const float cap = Smoothstep(0.82f, 0.9f, -ny);
      return Mix(Mix(c.planet, c.planetShade, n * 1.3f - 0.2f), Rgb(250, 245, 240), cap);
    }
    case CharacterId::Jupiter:
    case CharacterId::Saturn: {
      const float bands = 0.5f + 0.5f * std::sin(ny * (id == CharacterId::Jupiter ? 14.0f : 9.0f) + n * 2.5f);
      Color color = Mix(c.planet, c.planetShade, bands * 0.8f);
      if (id == CharacterId::Jupiter) {
        const float spot = EllipseDistance(nx, ny, 0.3f, 0.35f, 0.22f, 0.11f);
        color = Mix(color, Rgb(200, 80, 50), Smoothstep(0.02f, -0.02f, spot));
      }
      return color;
    }
  }
  return c.planet;
}

// Saturn's rings: the half behind the planet or the half before it.
void PaintRings(Canvas& canvas, float cx, float cy, float radius, bool front) {
  const float rx = radius * 1.45f, ry = radius * 0.37f;
  canvas.Fill(BoxAround(cx, cy, rx, ry),
              [&](float x, float y) {
                if ((y >= cy) != front) return 1.0f;
                const float outer = EllipseDistance(x, y, cx, cy, rx, ry);
                return std::max(outer, -EllipseDistance(x, y, cx, cy, rx * 0.8f, ry * 0.72f));
              },
              [&](float x, float y) {
                const float r = std::hypot((x - cx) / rx, (y - cy) / ry);
                return Mix(Rgb(240, 220, 170, 0.95f), Rgb(170, 140, 100, 0.8f), 0.5f + 0.5f * std::sin(r * 60));
              });
}

}  // namespace

void PaintPlanet(Canvas& canvas, CharacterId id, float cx, float cy, float radius) {
  const Character& c = CharacterOf(id);
  const bool sun = id == CharacterId::Soleil;
  const bool ringed = id == CharacterId::Saturn;
  if (ringed) PaintRings(canvas, cx, cy, radius, false);
  canvas.Fill(BoxAround(cx, cy, radius, radius),
              [&](float x, float y) { return CircleDistance(x, y, cx, cy, radius); },
              [&](float x, float y) {
                const float nx = (x - cx) / radius, ny = (y - cy) / radius;
                const float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
                const float light = sun ? 1.0f : std::clamp(0.25f + 0.95f * (-0.5f * nx - 0.45f * ny + 0.74f * nz), 0.08f, 1.1f);
                Color color = Scaled(Surface(id, c, nx, ny), light);
                const float rim = Smoothstep(0.75f, 1.0f, std::hypot(nx, ny));
                color = Mix(color, sun ? Rgb(255, 160, 40) : Mix(c.planet, Rgb(255, 255, 255), 0.4f), rim * 0.35f);
                color.a = 1;
                return color;
              });
  if (ringed) PaintRings(canvas, cx, cy, radius, true);
}

}  // namespace assetgen
