// The cast's busts, built from soft shapes in a 200 x 300 unit box.
#include "characters.h"

namespace assetgen {
namespace {

const Character kCharacters[] = {
    {"SOLEIL", Rgb(255, 214, 92), Rgb(230, 140, 40), Rgb(230, 110, 30), Rgb(255, 232, 214), Rgb(250, 250, 245),
     Rgb(235, 200, 150), Rgb(255, 120, 40), Rgb(255, 200, 60), Rgb(230, 90, 20)},
    {"MERU", Rgb(196, 226, 240), Rgb(120, 150, 190), Rgb(70, 170, 230), Rgb(250, 232, 222), Rgb(90, 110, 150),
     Rgb(50, 60, 100), Rgb(120, 230, 255), Rgb(170, 170, 180), Rgb(90, 90, 105)},
    {"WENU", Rgb(255, 190, 200), Rgb(220, 120, 150), Rgb(200, 80, 140), Rgb(255, 236, 226), Rgb(255, 236, 200),
     Rgb(230, 180, 140), Rgb(255, 110, 160), Rgb(240, 210, 140), Rgb(200, 150, 80)},
    {"TERA", Rgb(80, 140, 230), Rgb(40, 70, 160), Rgb(60, 180, 110), Rgb(250, 230, 215), Rgb(60, 160, 110),
     Rgb(30, 100, 80), Rgb(130, 220, 120), Rgb(60, 120, 220), Rgb(40, 150, 80)},
    {"MARU", Rgb(220, 60, 50), Rgb(140, 25, 30), Rgb(255, 140, 40), Rgb(250, 226, 210), Rgb(130, 30, 40),
     Rgb(70, 15, 25), Rgb(255, 200, 120), Rgb(210, 90, 50), Rgb(130, 45, 30)},
    {"YUPI", Rgb(230, 150, 80), Rgb(160, 80, 40), Rgb(190, 90, 40), Rgb(255, 234, 215), Rgb(240, 200, 140),
     Rgb(190, 130, 80), Rgb(255, 215, 90), Rgb(225, 180, 130), Rgb(180, 100, 60)},
    {"SATO", Rgb(190, 170, 240), Rgb(120, 100, 190), Rgb(150, 110, 220), Rgb(250, 236, 230), Rgb(110, 90, 170),
     Rgb(60, 45, 110), Rgb(240, 220, 160), Rgb(230, 210, 150), Rgb(170, 140, 90)},
};

// The bust's drawing context: units to pixels.
struct Bust {
  Canvas& canvas;
  const Character& who;
  float cx, top, s;

  float X(float u) const { return cx + (u - 100) * s; }
  float Y(float v) const { return top + v * s; }

  void Ellipse(float u, float v, float ru, float rv, const Color& color) const {
    FillEllipse(canvas, X(u), Y(v), ru * s, rv * s, color);
  }
  // An ellipse shaded from colour at its top to shade at its bottom.
  void ShadedEllipse(float u, float v, float ru, float rv, const Color& color, const Color& shade) const {
    const float x = X(u), y = Y(v), rx = ru * s, ry = rv * s;
    canvas.Fill(BoxAround(x, y, rx, ry), [&](float px, float py) { return EllipseDistance(px, py, x, y, rx, ry); },
                [&](float, float py) { return Mix(color, shade, Smoothstep(y - ry, y + ry, py)); });
  }
  void Line(float u0, float v0, float u1, float v1, float width, const Color& color) const {
    StrokeLine(canvas, X(u0), Y(v0), X(u1), Y(v1), width * s, color);
  }
  void Circle(float u, float v, float r, const Color& color) const { FillCircle(canvas, X(u), Y(v), r * s, color); }
  void Star(float u, float v, int points, float outer, float inner, float angle, const Color& color) const {
    const float x = X(u), y = Y(v);
    canvas.Fill(BoxAround(x, y, outer * s, outer * s),
                [&](float px, float py) { return StarDistance(px, py, x, y, points, outer * s, inner * s, angle); },
                [&](float, float) { return color; });
  }
  // An elliptic band (rings), only the part above (front = false) or below
  // (front = true) its centre line.
  void Band(float u, float v, float ru, float rv, float width, bool front, const Color& color) const {
    const float x = X(u), y = Y(v), rx = ru * s, ry = rv * s, w = width * s;
    canvas.Fill(BoxAround(x, y, rx + w, ry + w),
                [&](float px, float py) {
                  if ((py >= y) != front) return 1.0f;
                  return std::abs(EllipseDistance(px, py, x, y, rx, ry)) - w / 2;
                },
                [&](float, float py) { return Mix(color, Scaled(color, 0.7f), Smoothstep(y - ry, y + ry, py)); });
  }
};

const Color kInk = Rgb(50, 30, 40);
const Color kWhite = Rgb(255, 255, 255);

void DrawOrnamentBehind(const Bust& b, CharacterId id) {
  switch (id) {
    case CharacterId::Soleil:
      b.Star(100, 112, 12, 100, 74, 0.0f, b.who.accent.WithAlpha(0.55f));
      b.Star(100, 112, 12, 88, 70, 0.26f, b.who.hair.WithAlpha(0.8f));
      break;
    case CharacterId::Mercury:
      for (int side = -1; side <= 1; side += 2) {
        for (int f = 0; f < 3; ++f) {
          b.Ellipse(100 + side * (62 + 14 * f), 92 - 8 * f, 30 - 5 * f, 10, Mix(kWhite, b.who.accent, 0.3f * f));
        }
      }
      break;
    case CharacterId::Saturn:
      b.Band(100, 96, 104, 24, 9, false, b.who.planet);
      break;
    default:
      break;
  }
}

void DrawOrnamentFront(const Bust& b, CharacterId id) {
  const Character& w = b.who;
  switch (id) {
    case CharacterId::Soleil:
      b.Star(142, 68, 8, 14, 7, 0.0f, w.accent);
      b.Circle(142, 68, 6, Rgb(255, 240, 160));
      break;
    case CharacterId::Mercury:
      b.Line(48, 84, 72, 64, 5, w.accent.WithAlpha(0.6f));
      b.Circle(70, 64, 7, kWhite);
      b.Circle(70, 64, 4.5f, w.accent);
      break;
    case CharacterId::Venus:
      for (int p = 0; p < 5; ++p) {
        const float a = p * 1.2566f - 1.5708f;
        b.Circle(140 + 10 * std::cos(a), 70 + 10 * std::sin(a), 8, w.accent);
      }
      b.Circle(140, 70, 6, Rgb(255, 230, 120));
      break;
    case CharacterId::Earth:
      b.Ellipse(58, 68, 14, 7, w.accent);
      b.Ellipse(72, 60, 7, 13, Scaled(w.accent, 0.8f));
      b.Circle(100, 236, 9, w.planet);
      b.Ellipse(97, 233, 5, 3.5f, w.planetShade);
      break;
    case CharacterId::Mars:
      for (int side = -1; side <= 1; side += 2) {
        b.Line(100 + side * 36, 62, 100 + side * 48, 36, 12, w.accent);
        b.Line(100 + side * 48, 36, 100 + side * 50, 18, 7, w.accent);
        b.Line(100 + side * 50, 18, 100 + side * 47, 8, 3, w.accent);
      }
      break;
    case CharacterId::Jupiter:
      for (int p = 0; p < 5; ++p) b.Star(68 + 16 * p, 44, 4, 12, 4, -1.5708f, w.accent);
      b.Ellipse(100, 56, 40, 8, w.accent);
      b.Circle(100, 55, 5, Rgb(220, 60, 60));
      break;
    case CharacterId::Saturn:
      b.Band(100, 96, 104, 24, 9, true, w.planet);
      break;
  }
}

void DrawEyes(const Bust& b, Mood mood) {
  const Character& w = b.who;
  for (int side = -1; side <= 1; side += 2) {
    const float u = 100 + side * 22, v = 122;
    if (mood == Mood::Smiling) {
      b.Line(u - 10, v + 3, u, v - 4, 3.5f, kInk);
      b.Line(u, v - 4, u + 10, v + 3, 3.5f, kInk);
      continue;
    }
    b.Ellipse(u, v, 10.5f, 13.5f, kWhite);
    b.ShadedEllipse(u, v + 1.5f, 8.5f, 11.5f, Scaled(w.eyes, 0.55f), Mix(w.eyes, kWhite, 0.35f));
    b.Ellipse(u, v + 1.5f, 3.8f, 5.5f, Scaled(w.eyes, 0.25f));
    b.Circle(u - 3.5f, v - 4, 3.2f, kWhite);
    b.Circle(u + 3, v + 5, 1.5f, kWhite.WithAlpha(0.8f));
    b.Line(u - 12, v - 11 + side * 0.5f, u + 12, v - 13 - side * 0.5f, 3.5f, kInk);
    b.Line(u - 9, v - 25, u + 9, v - 27 + side * 1.5f, 2.5f, Scaled(w.hairShade, 0.8f));  // brow
  }
}

void DrawMouth(const Bust& b, Mood mood) {
  const Color lip = Rgb(190, 80, 90);
  switch (mood) {
    case Mood::Speaking:
      b.Ellipse(100, 160, 7, 5.5f, Rgb(150, 50, 60));
      b.Ellipse(100, 162.5f, 4.5f, 2.5f, Rgb(240, 120, 130));
      break;
    case Mood::Calm:
      b.Line(94, 159, 106, 159, 2.2f, lip);
      break;
    case Mood::Smiling:
      b.Line(92, 156, 100, 161, 2.4f, lip);
      b.Line(100, 161, 108, 156, 2.4f, lip);
      break;
  }
}

}  // namespace

const Character& CharacterOf(CharacterId id) { return kCharacters[static_cast<int>(id)]; }

void DrawBust(Canvas& canvas, CharacterId id, Mood mood, float centreX, float top, float scale) {
  const Bust b{canvas, CharacterOf(id), centreX, top, scale};
  const Character& w = b.who;
  const bool longHair = id == CharacterId::Venus || id == CharacterId::Saturn || id == CharacterId::Soleil ||
                        id == CharacterId::Jupiter;
  DrawOrnamentBehind(b, id);
  // Hair behind the head.
  if (longHair) {
    b.ShadedEllipse(100, 150, 76, 106, w.hair, w.hairShade);
  } else {
    b.ShadedEllipse(100, 112, 68, 72, w.hair, w.hairShade);
  }
  if (id == CharacterId::Mars) {
    for (int side = -1; side <= 1; side += 2) b.ShadedEllipse(100 + side * 74, 165, 20, 62, w.hair, w.hairShade);
  }
  // Neck and shoulders: the torso is an oval cut off at the box's bottom.
  b.ShadedEllipse(100, 186, 12, 23, Mix(w.skin, Rgb(225, 165, 150), 0.3f), w.skin);
  const float bodyX = b.X(100), bodyY = b.Y(318), rx = 88 * scale, ry = 110 * scale, bottom = b.Y(300);
  canvas.Fill(BoxAround(bodyX, bodyY, rx, ry),
              [&](float px, float py) { return std::max(EllipseDistance(px, py, bodyX, bodyY, rx, ry), py - bottom); },
              [&](float, float py) { return Mix(w.dress, w.dressShade, Smoothstep(bodyY - ry, bottom, py)); });
  b.Ellipse(100, 212, 22, 9, Mix(w.skin, Rgb(225, 165, 150), 0.15f));
  b.Line(78, 210, 100, 238, 6, w.accent);
  b.Line(122, 210, 100, 238, 6, w.accent);
  // Head.
  b.ShadedEllipse(100, 118, 50, 56, w.skin, Mix(w.skin, Rgb(240, 190, 180), 0.6f));
  b.Ellipse(72, 142, 9, 5, Rgb(255, 130, 150, 0.35f));
  b.Ellipse(128, 142, 9, 5, Rgb(255, 130, 150, 0.35f));
  DrawEyes(b, mood);
  DrawMouth(b, mood);
  // Fringe and side locks.
  b.ShadedEllipse(100, 74, 58, 36, w.hair, Mix(w.hair, w.hairShade, 0.5f));
  for (int i = 0; i < 7; ++i) {
    b.ShadedEllipse(54 + 15.3f * i, 80 + std::abs(i - 3) * 3.0f, 13, 24, w.hair, Mix(w.hair, w.hairShade, 0.7f));
  }
  for (int side = -1; side <= 1; side += 2) {
    b.ShadedEllipse(100 + side * 50, 138, 11, longHair ? 52 : 40, w.hair, w.hairShade);
  }
  b.Ellipse(82, 62, 22, 6, kWhite.WithAlpha(0.28f));  // the hair's shine
  DrawOrnamentFront(b, id);
}

void CompositeLayer(Canvas& canvas, const Canvas& layer, int x, int y, float brightness) {
  canvas.ForEachPixel({x, y, x + layer.width(), y + layer.height()}, [&](int px, int py, float, float) {
    const Color c = layer.At(px - x, py - y);
    if (c.a > 0) canvas.Blend(px, py, Color{c.r * brightness, c.g * brightness, c.b * brightness, c.a}, 1.0f);
  });
}

}  // namespace assetgen
