// Painting primitives of the procedural pictures.
#include "canvas.h"

namespace assetgen {

Color Rgb(int r, int g, int b, float alpha) { return {r / 255.0f, g / 255.0f, b / 255.0f, alpha}; }

Color Mix(const Color& from, const Color& to, float t) {
  return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
          from.a + (to.a - from.a) * t};
}

Color Scaled(const Color& color, float brightness) {
  return {color.r * brightness, color.g * brightness, color.b * brightness, color.a};
}

Canvas::Canvas(int width, int height, Color fill)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * height,
              Premultiplied{fill.r * fill.a, fill.g * fill.a, fill.b * fill.a, fill.a}) {}

Color Canvas::At(int x, int y) const {
  const Premultiplied& p = pixels_[static_cast<std::size_t>(std::clamp(y, 0, height_ - 1)) * width_ +
                                   std::clamp(x, 0, width_ - 1)];
  if (p.a <= 0) return {0, 0, 0, 0};
  return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

void Canvas::Blend(int x, int y, const Color& color, float coverage) {
  Premultiplied& p = pixels_[static_cast<std::size_t>(y) * width_ + x];
  const float a = std::clamp(color.a * coverage, 0.0f, 1.0f);
  p.r = color.r * a + p.r * (1 - a);
  p.g = color.g * a + p.g * (1 - a);
  p.b = color.b * a + p.b * (1 - a);
  p.a = a + p.a * (1 - a);
}

void Canvas::AddLight(int x, int y, const Color& color, float amount) {
  Premultiplied& p = pixels_[static_cast<std::size_t>(y) * width_ + x];
  const float a = color.a * amount;
  p.r += color.r * a * p.a;
  p.g += color.g * a * p.a;
  p.b += color.b * a * p.a;
}

void Canvas::ScaleAlpha(int x, int y, float factor) {
  Premultiplied& p = pixels_[static_cast<std::size_t>(y) * width_ + x];
  p.r *= factor;
  p.g *= factor;
  p.b *= factor;
  p.a *= factor;
}

std::vector<std::uint8_t> Canvas::Bytes(bool alpha) const {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(pixels_.size() * (alpha ? 4 : 3));
  auto byte = [](float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
  for (const Premultiplied& p : pixels_) {
    // Straight colour; without alpha the picture is taken as over black.
    const float divisor = alpha ? (p.a > 0 ? p.a : 1.0f) : 1.0f;
    bytes.push_back(byte(p.r / divisor));
    bytes.push_back(byte(p.g / divisor));
    bytes.push_back(byte(p.b / divisor));
    if (alpha) bytes.push_back(byte(p.a));
  }
  return bytes;
}

Box BoxAround(float cx, float cy, float halfWidth, float halfHeight) {
  return {static_cast<int>(std::floor(cx - halfWidth)) - 1, static_cast<int>(std::floor(cy - halfHeight)) - 1,
          static_cast<int>(std::ceil(cx + halfWidth)) + 2, static_cast<int>(std::ceil(cy + halfHeight)) + 2};
}

float CircleDistance(float px, float py, float cx, float cy, float radius) {
  return std::hypot(px - cx, py - cy) - radius;
}

float EllipseDistance(float px, float py, float cx, float cy, float rx, float ry) {
  const float k = std::hypot((px - cx) / rx, (py - cy) / ry);
  return (k - 1.0f) * std::min(rx, ry);
}

float SegmentDistance(float px, float py, float ax, float ay, float bx, float by, float radius) {
  const float dx = bx - ax, dy = by - ay;
  const float lengthSq = dx * dx + dy * dy;
  const float t = lengthSq > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / lengthSq, 0.0f, 1.0f) : 0.0f;
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy)) - radius;
}

float RoundedBoxDistance(float px, float py, float cx, float cy, float halfWidth, float halfHeight, float radius) {
  const float qx = std::abs(px - cx) - halfWidth + radius, qy = std::abs(py - cy) - halfHeight + radius;
  return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float StarDistance(float px, float py, float cx, float cy, int points, float outer, float inner, float angle) {
  // Distance to the star's outline: fold the point into one spike's sector
  // and measure against the spike's two edges.
  const float sector = 6.2831853f / points;
  float a = std::atan2(py - cy, px - cx) - angle;
  a = std::fmod(a, sector);
  if (a < 0) a += sector;
  if (a > sector / 2) a = sector - a;
  const float r = std::hypot(px - cx, py - cy);
  const float qx = r * std::cos(a), qy = r * std::sin(a);
  // The edge from the spike tip (outer, 0) to the valley (inner at half a sector).
  const float vx = inner * std::cos(sector / 2), vy = inner * std::sin(sector / 2);
  const float ex = vx - outer, ey = vy;
  const float length = std::hypot(ex, ey);
  // Cross product: negative on the centre's side of the edge.
  const float side = ((qx - outer) * ey - qy * ex) / length;
  return side;
}

void FillCircle(Canvas& canvas, float cx, float cy, float radius, const Color& color) {
  canvas.Fill(BoxAround(cx, cy, radius, radius), [&](float x, float y) { return CircleDistance(x, y, cx, cy, radius); },
              [&](float, float) { return color; });
}

void FillEllipse(Canvas& canvas, float cx, float cy, float rx, float ry, const Color& color) {
  canvas.Fill(BoxAround(cx, cy, rx, ry), [&](float x, float y) { return EllipseDistance(x, y, cx, cy, rx, ry); },
              [&](float, float) { return color; });
}

void StrokeLine(Canvas& canvas, float ax, float ay, float bx, float by, float width, const Color& color) {
  const float r = width / 2;
  const Box box{static_cast<int>(std::min(ax, bx) - r) - 2, static_cast<int>(std::min(ay, by) - r) - 2,
                static_cast<int>(std::max(ax, bx) + r) + 3, static_cast<int>(std::max(ay, by) + r) + 3};
  canvas.Fill(box, [&](float x, float y) { return SegmentDistance(x, y, ax, ay, bx, by, r); },
              [&](float, float) { return color; });
}

void StrokeRing(Canvas& canvas, float cx, float cy, float radius, float width, const Color& color) {
  const float outer = radius + width / 2;
  canvas.Fill(BoxAround(cx, cy, outer, outer),
              [&](float x, float y) { return std::abs(CircleDistance(x, y, cx, cy, radius)) - width / 2; },
              [&](float, float) { return color; });
}

float Smoothstep(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

namespace {
float Falloff(float x, float y, float cx, float cy, float radius) {
  const float t = 1.0f - Smoothstep(0.0f, radius, std::hypot(x - cx, y - cy));
  return t * t;
}
}  // namespace

void Glow(Canvas& canvas, float cx, float cy, float radius, const Color& color) {
  canvas.ForEachPixel(BoxAround(cx, cy, radius, radius), [&](int x, int y, float px, float py) {
    const float amount = Falloff(px, py, cx, cy, radius);
    if (amount > 0) canvas.Blend(x, y, color, amount);
  });
}

void AddGlow(Canvas& canvas, float cx, float cy, float radius, const Color& color) {
  canvas.ForEachPixel(BoxAround(cx, cy, radius, radius), [&](int x, int y, float px, float py) {
    const float amount = Falloff(px, py, cx, cy, radius);
    if (amount > 0) canvas.AddLight(x, y, color, amount);
  });
}

}  // namespace assetgen
