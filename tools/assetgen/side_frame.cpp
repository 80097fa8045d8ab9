// The frame around the playfield with the HUD panel above it: opaque
// metal and glass outside, fully transparent over the playfield.
#include "layout.h"
#include "noise.h"
#include "pictures.h"

namespace assetgen {

Canvas MakeSideFrame() {
  Canvas canvas(kScreenWidth, kScreenHeight);
  const Color deep = Rgb(16, 20, 48), light = Rgb(52, 62, 118), gold = Rgb(232, 196, 110);
  canvas.ForEachPixel(canvas.Whole(), [&](int x, int y, float px, float py) {
    const bool playfield = x >= kPlayfieldLeft && x < kPlayfieldRight && y >= kPlayfieldTop && y < kPlayfieldBottom;
    if (playfield) return;
    const float grain = FractalNoise(px / 40, py / 40, 5, 3);
    Color color = Mix(light, deep, Smoothstep(0, kPlayfieldTop, py) * 0.6f + grain * 0.4f);
    color.a = 1;
    canvas.Blend(x, y, color, 1);
  });
  // The HUD panel: a glass strip with a gold rim, holding the score line,
  // the HP rows, the face and the icons.
  const float panelY = 107, panelHalfHeight = 62;
  auto panel = [&](float x, float y) { return RoundedBoxDistance(x, y, kScreenWidth / 2.0f, panelY, 425, panelHalfHeight, 14); };
  canvas.Fill(canvas.Whole(), panel, [&](float, float y) {
    return Mix(Rgb(30, 40, 90, 0.9f), Rgb(8, 10, 30, 0.9f), (y - panelY + panelHalfHeight) / (2 * panelHalfHeight));
  });
  canvas.Fill(canvas.Whole(), [&](float x, float y) { return std::abs(panel(x, y)) - 1.2f; },
              [&](float, float) { return gold.WithAlpha(0.8f); });
  // A sun-ring that frames the boss's face.
  const float faceX = 406 + kFaceSize / 2.0f, faceY = 90 + kFaceSize / 2.0f;
  FillCircle(canvas, faceX, faceY, 40, Rgb(10, 12, 30));
  StrokeRing(canvas, faceX, faceY, 40, 3, gold);
  for (int k = 0; k < 8; ++k) {
    const float a = k * 0.785398f + 0.3927f;
    StrokeLine(canvas, faceX + 43 * std::cos(a), faceY + 43 * std::sin(a), faceX + 48 * std::cos(a), faceY + 48 * std::sin(a),
               3, gold.WithAlpha(0.9f));
  }
  // The playfield's rim: a thin light line just outside it.
  canvas.Fill({kPlayfieldLeft - 6, kPlayfieldTop - 6, kPlayfieldRight + 6, kPlayfieldBottom + 6},
              [&](float x, float y) {
                const float d = RoundedBoxDistance(x, y, (kPlayfieldLeft + kPlayfieldRight) / 2.0f,
                                                   (kPlayfieldTop + kPlayfieldBottom) / 2.0f, kPlayfieldWidth / 2.0f + 2.5f,
                                                   kPlayfieldHeight / 2.0f + 2.5f, 0);
                return d < 0 ? std::max(d, -2.0f - d) : d;  // 2 px line outside the playfield
              },
              [&](float, float) { return gold; });
  // Keep the playfield clear whatever the rim's edge pixels touched.
  canvas.ForEachPixel({kPlayfieldLeft, kPlayfieldTop, kPlayfieldRight, kPlayfieldBottom},
                      [&](int x, int y, float, float) { canvas.ScaleAlpha(x, y, 0); });
  return canvas;
}

}  // namespace assetgen
