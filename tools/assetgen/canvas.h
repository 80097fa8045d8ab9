// A picture being painted: premultiplied RGBA in floats, painted with
// anti-aliased shapes given as signed distance functions.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace assetgen {

// A straight (not premultiplied) colour, channels 0..1.
struct Color {
  float r = 0, g = 0, b = 0, a = 1;
  Color WithAlpha(float alpha) const { return {r, g, b, alpha}; }
};

Color Rgb(int r, int g, int b, float alpha = 1.0f);
Color Mix(const Color& from, const Color& to, float t);
Color Scaled(const Color& color, float brightness);  // alpha kept

struct Box {
  int left, top, right, bottom;  // right and bottom exclusive
};

class Canvas {
 public:
  Canvas(int width, int height, Color fill = {0, 0, 0, 0});

  int width() const { return width_; }
  int height() const { return height_; }

  // Straight colour of a pixel (coordinates clamped to the picture).
  Color At(int x, int y) const;
  // Composites colour over the pixel with the given coverage (0..1).
  void Blend(int x, int y, const Color& color, float coverage);
  // Adds light: brightens without covering, for glows on opaque pictures.
  void AddLight(int x, int y, const Color& color, float amount);
  // Multiplies the pixel's alpha, for holes and fades of sprites.
  void ScaleAlpha(int x, int y, float factor);

  // Paints every pixel of the box (clipped) whose centre lies inside the
  // shape: distance(x, y) < 0 inside, in pixels; the edge pixel gets the
  // covered fraction. colour(x, y) gives the paint at each point.
  template <typename Distance, typename Paint>
  void Fill(Box box, Distance distance, Paint paint) {
    ForEachPixel(box, [&](int x, int y, float px, float py) {
      const float coverage = std::clamp(0.5f - distance(px, py), 0.0f, 1.0f);
      if (coverage > 0) Blend(x, y, paint(px, py), coverage);
    });
  }

  // Calls visit(x, y, centre x, centre y) for every pixel of the box that
  // lies on the picture.
  template <typename Visit>
  void ForEachPixel(Box box, Visit visit) {
    const int left = std::max(box.left, 0), top = std::max(box.top, 0);
    const int right = std::min(box.right, width_), bottom = std::min(box.bottom, height_);
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) visit(x, y, x + 0.5f, y + 0.5f);
    }
  }

  Box Whole() const { return {0, 0, width_, height_}; }
  // Straight RGBA bytes, row after row; with alpha = false, RGB bytes.
  std::vector<std::uint8_t> Bytes(bool alpha) const;

 private:
  struct Premultiplied {
    float r, g, b, a;
  };
  int width_, height_;
  std::vector<Premultiplied> pixels_;
};

// The box around a centre with a half size, grown by a pixel for the edge.
Box BoxAround(float cx, float cy, float halfWidth, float halfHeight);

// Signed distances, in pixels, negative inside.
float CircleDistance(float px, float py, float cx, float cy, float radius);
float EllipseDistance(float px, float py, float cx, float cy, float rx, float ry);
float SegmentDistance(float px, float py, float ax, float ay, float bx, float by, float radius);
float RoundedBoxDistance(float px, float py, float cx, float cy, float halfWidth, float halfHeight, float radius);
// A star of n points around a centre, outer and inner radius, first point at
// angle (radians, 0 right, y down).
float StarDistance(float px, float py, float cx, float cy, int points, float outer, float inner, float angle);

// Shorthands for the common fills.
void FillCircle(Canvas& canvas, float cx, float cy, float radius, const Color& color);
void FillEllipse(Canvas& canvas, float cx, float cy, float rx, float ry, const Color& color);
void StrokeLine(Canvas& canvas, float ax, float ay, float bx, float by, float width, const Color& color);
void StrokeRing(Canvas& canvas, float cx, float cy, float radius, float width, const Color& color);
// A soft round light: colour with alpha falling from the centre to 0 at the
// radius (smooth), composited over the picture.
void Glow(Canvas& canvas, float cx, float cy, float radius, const Color& color);
// The same as added light (opaque pictures).
void AddGlow(Canvas& canvas, float cx, float cy, float radius, const Color& color);

float Smoothstep(float edge0, float edge1, float x);

}  // namespace assetgen
