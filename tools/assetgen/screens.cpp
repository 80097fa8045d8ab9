// Full-screen pictures: title, stage clear, staff roll, the end and the
// white flash.
#include "layout.h"
#include "pictures.h"
#include "planets.h"
#include "space.h"
#include "stroke_font.h"

namespace assetgen {

Canvas MakeTitle() {
  Canvas canvas(kScreenWidth, kScreenHeight);
  PaintSpace(canvas, {31, Rgb(4, 4, 22), Rgb(26, 10, 40), Rgb(60, 80, 200), Rgb(180, 60, 130), 0.6f, 520, false});
  const float sunX = kScreenWidth / 2.0f, sunY = 190;
  AddGlow(canvas, sunX, sunY, 330, Rgb(255, 150, 50, 0.7f));
  canvas.Fill(canvas.Whole(), [&](float x, float y) { return StarDistance(x, y, sunX, sunY, 16, 150, 104, 0.1f); },
              [&](float, float) { return Rgb(255, 190, 80, 0.35f); });
  PaintPlanet(canvas, CharacterId::Soleil, sunX, sunY, 100);
  // The six worlds rise in an arc beside the menu.
  for (int i = 0; i < 6; ++i) {
    PaintPlanet(canvas, kBosses[i], 500 + 62.0f * i, 700 - 22.0f * i - 4.0f * i * i, 14 + 3.0f * i);
  }
  const TextStyle title{96, 15, Rgb(255, 236, 150), Rgb(255, 110, 30, 0.85f), 18};
  DrawTextCentred(canvas, sunX, 300, "SOLEIL", title);
  const TextStyle subtitle{26, 4, Rgb(200, 220, 255), Rgb(60, 80, 200, 0.7f), 8};
  DrawTextCentred(canvas, sunX, 430, "AGAINST THE SIX WORLDS", subtitle);
  // The menu: the cursor stands at (116, 540) on start and (116, 603) on quit.
  canvas.Fill(canvas.Whole(), [&](float x, float y) { return RoundedBoxDistance(x, y, 260, 592, 175, 74, 16); },
              [&](float, float) { return Rgb(8, 10, 36, 0.7f); });
  canvas.Fill(canvas.Whole(), [&](float x, float y) { return std::abs(RoundedBoxDistance(x, y, 260, 592, 175, 74, 16)) - 1; },
              [&](float, float) { return Rgb(230, 200, 120, 0.8f); });
  const TextStyle item{30, 5, Rgb(255, 255, 255), Rgb(120, 160, 255, 0.6f), 8};
  DrawText(canvas, 190, 546, "START", item);
  DrawText(canvas, 190, 609, "QUIT", item);
  return canvas;
}

Canvas MakeClearPicture(CharacterId boss) {
  Canvas canvas(kScreenWidth, kScreenHeight);
  const Character& who = CharacterOf(boss);
  PaintSpace(canvas, {50 + static_cast<std::uint32_t>(boss), Rgb(6, 6, 24), Scaled(who.planetShade, 0.3f),
                      Scaled(who.planet, 0.5f), Scaled(who.accent, 0.4f), 0.5f, 400, false});
  PaintPlanet(canvas, boss, 760, 640, 300);
  Canvas layer(kScreenWidth, kScreenHeight);
  DrawBust(layer, boss, Mood::Smiling, 690, 330, 1.45f);
  CompositeLayer(canvas, layer, 0, 0, 1.0f);
  // Shade the left side and the bottom line where the game writes.
  canvas.ForEachPixel(canvas.Whole(), [&](int x, int y, float px, float py) {
    const float left = 1.0f - Smoothstep(380, 620, px);
    const float bottom = Smoothstep(750, 790, py);
    canvas.Blend(x, y, Rgb(4, 4, 16), std::max(left * 0.7f, bottom * 0.8f));
  });
  return canvas;
}

Canvas MakeStaffBackground() {
  Canvas canvas(kScreenWidth, kScreenHeight);
  PaintSpace(canvas, {61, Rgb(4, 4, 18), Rgb(18, 8, 30), Rgb(50, 40, 140), Rgb(150, 70, 60), 0.45f, 450, false});
  AddGlow(canvas, 760, 700, 260, Rgb(255, 160, 60, 0.5f));
  PaintPlanet(canvas, CharacterId::Soleil, 760, 700, 90);
  for (int i = 0; i < 6; ++i) PaintPlanet(canvas, kBosses[i], 600 + 45.0f * i, 560 - 60.0f * i, 8 + 2.0f * i);
  canvas.Fill(canvas.Whole(), [&](float x, float y) { return RoundedBoxDistance(x, y, 390, 340, 340, 200, 20); },
              [&](float, float) { return Rgb(6, 8, 30, 0.6f); });
  return canvas;
}

Canvas MakeEndPicture() {
  Canvas canvas(kScreenWidth, kScreenHeight);
  PaintSpace(canvas, {71, Rgb(6, 6, 30), Rgb(120, 60, 60), Rgb(100, 80, 200), Rgb(255, 150, 90), 0.5f, 300, false});
  AddGlow(canvas, kScreenWidth / 2.0f, 820, 520, Rgb(255, 170, 80, 0.8f));
  PaintPlanet(canvas, CharacterId::Soleil, kScreenWidth / 2.0f, 900, 260);
  for (int i = 0; i < 6; ++i) {
    PaintPlanet(canvas, kBosses[i], 110 + 132.0f * i, 470 + 30 * std::sin(i * 1.3f), 26);
  }
  const TextStyle title{80, 12, Rgb(255, 240, 190), Rgb(255, 120, 40, 0.8f), 16};
  DrawTextCentred(canvas, kScreenWidth / 2.0f, 170, "THE END", title);
  const TextStyle thanks{28, 4, Rgb(230, 235, 255), Rgb(80, 90, 200, 0.6f), 8};
  DrawTextCentred(canvas, kScreenWidth / 2.0f, 310, "THANK YOU FOR PLAYING", thanks);
  return canvas;
}

Canvas MakeWhiteFlash() { return Canvas(kScreenWidth, kScreenHeight, Rgb(255, 255, 255)); }

}  // namespace assetgen
