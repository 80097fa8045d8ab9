// The stroke lettering: each glyph is polylines over a 4 x 6 grid; a text is
// painted at once as the union of its strokes, so joints do not darken.
#include "stroke_font.h"

#include <cstdlib>
#include <limits>
#include <vector>

namespace assetgen {
namespace {

constexpr float kGridWidth = 4, kGridHeight = 6, kAdvance = 5.6f;

struct Glyph {
  char character;
  const char* strokes;  // polylines "x,y x,y ...", separated by ';'
};

constexpr Glyph kGlyphs[] = {
    {'A', "0,6 0,2 2,0 4,2 4,6;0,3.5 4,3.5"},
    {'B', "0,0 0,6 3,6 4,5 4,4 3,3 0,3;0,0 3,0 4,1 4,2 3,3"},
    {'C', "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5"},
    {'D', "0,0 0,6 2.5,6 4,4.5 4,1.5 2.5,0 0,0"},
    {'E', "4,0 0,0 0,6 4,6;0,3 3,3"},
    {'F', "4,0 0,0 0,6;0,3 3,3"},
    {'G', "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,3.5 2.5,3.5"},
    {'H', "0,0 0,6;4,0 4,6;0,3 4,3"},
    {'I', "1,0 3,0;2,0 2,6;1,6 3,6"},
    {'J', "4,0 4,5 3,6 1,6 0,5"},
    {'K', "0,0 0,6;4,0 0,3.5;1.3,2.7 4,6"},
    {'L', "0,0 0,6 4,6"},
    {'M', "0,6 0,0 2,3 4,0 4,6"},
    {'N', "0,6 0,0 4,6 4,0"},
    {'O', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0"},
    {'P', "0,6 0,0 3,0 4,1 4,2 3,3 0,3"},
    {'Q', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0;2.5,4.5 4,6"},
    {'R', "0,6 0,0 3,0 4,1 4,2 3,3 0,3;2,3 4,6"},
    {'S', "4,1 3,0 1,0 0,1 0,2 1,3 3,3 4,4 4,5 3,6 1,6 0,5"},
    {'T', "0,0 4,0;2,0 2,6"},
    {'U', "0,0 0,5 1,6 3,6 4,5 4,0"},
    {'V', "0,0 2,6 4,0"},
    {'W', "0,0 1,6 2,3 3,6 4,0"},
    {'X', "0,0 4,6;4,0 0,6"},
    {'Y', "0,0 2,3 4,0;2,3 2,6"},
    {'Z', "0,0 4,0 0,6 4,6"},
    {'0', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0;3.5,1 0.5,5"},
    {'1', "1,1 2,0 2,6;1,6 3,6"},
    {'2', "0,1 1,0 3,0 4,1 4,2 0,6 4,6"},
    {'3', "0,1 1,0 3,0 4,1 4,2 3,3 4,4 4,5 3,6 1,6 0,5;1.5,3 3,3"},
    {'4', "3,6 3,0 0,4 4,4"},
    {'5', "4,0 0,0 0,3 3,3 4,4 4,5 3,6 0,6"},
    {'6', "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,4 3,3 0,3"},
    {'7', "0,0 4,0 1.5,6"},
    {'8', "1,0 3,0 4,1 4,2 3,3 1,3 0,2 0,1 1,0;1,3 0,4 0,5 1,6 3,6 4,5 4,4 3,3"},
    {'9', "0,5 1,6 3,6 4,5 4,1 3,0 1,0 0,1 0,2 1,3 4,3"},
    {'!', "2,0 2,4.2;2,5.8 2,6"},
    {'.', "2,5.8 2,6"},
    {'-', "1,3 3,3"},
    {'\'', "2,0 2,1.5"},
};

struct Segment {
  float ax, ay, bx, by;
};

const char* StrokesOf(char c) {
  for (const Glyph& glyph : kGlyphs) {
    if (glyph.character == c) return glyph.strokes;
  }
  return nullptr;
}

// Appends the segments of one glyph, scaled and placed.
void AddGlyph(std::vector<Segment>& segments, const char* strokes, float x, float y, float scale) {
  bool havePoint = false;
  float lastX = 0, lastY = 0;
  const char* p = strokes;
  while (*p) {
    if (*p == ';') {
      havePoint = false;
      ++p;
      continue;
    }
    if (*p == ' ') {
      ++p;
      continue;
    }
    char* end;
    const float gx = std::strtof(p, &end);
    const float gy = std::strtof(end + 1, &end);
    p = end;
    const float px = x + gx * scale, py = y + gy * scale;
    if (havePoint) segments.push_back({lastX, lastY, px, py});
    lastX = px;
    lastY = py;
    havePoint = true;
  }
}

}  // namespace

float TextWidth(std::string_view text, const TextStyle& style) {
  if (text.empty()) return 0;
  const float scale = style.height / kGridHeight;
  return ((text.size() - 1) * kAdvance + kGridWidth) * scale + style.strokeWidth;
}

void DrawText(Canvas& canvas, float x, float y, std::string_view text, const TextStyle& style) {
  const float scale = style.height / kGridHeight;
  const float inset = style.strokeWidth / 2;
  std::vector<Segment> segments;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (const char* strokes = StrokesOf(text[i])) {
      AddGlyph(segments, strokes, x + inset + i * kAdvance * scale, y + inset, scale);
    }
  }
  const float reach = style.strokeWidth / 2 + style.glowWidth + 2;
  const Box box{static_cast<int>(x - reach), static_cast<int>(y - reach),
                static_cast<int>(x + TextWidth(text, style) + reach) + 1,
                static_cast<int>(y + style.height + style.strokeWidth + reach) + 1};
  auto distance = [&](float px, float py) {
    float nearest = std::numeric_limits<float>::max();
    for (const Segment& s : segments) nearest = std::min(nearest, SegmentDistance(px, py, s.ax, s.ay, s.bx, s.by, 0));
    return nearest;
  };
  if (style.glowColor.a > 0) {
    canvas.ForEachPixel(box, [&](int px, int py, float cx, float cy) {
      const float d = distance(cx, cy) - style.strokeWidth / 2;
      const float amount = 1.0f - Smoothstep(0.0f, style.glowWidth, d);
      if (amount > 0) canvas.Blend(px, py, style.glowColor, amount * amount);
    });
  }
  canvas.Fill(box, [&](float px, float py) { return distance(px, py) - style.strokeWidth / 2; },
              [&](float, float) { return style.color; });
}

void DrawTextCentred(Canvas& canvas, float centreX, float y, std::string_view text, const TextStyle& style) {
  DrawText(canvas, centreX - TextWidth(text, style) / 2, y, text, style);
}

}  // namespace assetgen
