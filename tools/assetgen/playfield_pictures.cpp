// Pictures drawn over the playfield: the scrolling starfield, the dialogue
// pictures and the game-over picture.
#include "layout.h"
#include "pictures.h"
#include "planets.h"
#include "space.h"
#include "stroke_font.h"

namespace assetgen {
namespace {

// The dialogue text stands at playfield (200, 450) and below: a glass box
// keeps the white lines readable, the speaker's name plate above it.
constexpr float kTextBoxLeft = 180, kTextBoxTop = 438, kTextBoxRight = 818, kTextBoxBottom = 580;

void PaintTextBox(Canvas& canvas, const char* speaker) {
  const float cx = (kTextBoxLeft + kTextBoxRight) / 2, cy = (kTextBoxTop + kTextBoxBottom) / 2;
  const float hw = (kTextBoxRight - kTextBoxLeft) / 2, hh = (kTextBoxBottom - kTextBoxTop) / 2;
  canvas.Fill(canvas.Whole(), [&](float x, float y) { return RoundedBoxDistance(x, y, cx, cy, hw, hh, 12); },
              [&](float, float y) { return Mix(Rgb(20, 24, 60, 0.82f), Rgb(6, 8, 24, 0.88f), (y - kTextBoxTop) / (2 * hh)); });
  canvas.Fill(canvas.Whole(), [&](float x, float y) { return std::abs(RoundedBoxDistance(x, y, cx, cy, hw, hh, 12)) - 1.2f; },
              [&](float, float) { return Rgb(210, 220, 255, 0.8f); });
  if (!speaker) return;
  const TextStyle name{16, 3, Rgb(255, 236, 170)};
  const float plateWidth = TextWidth(speaker, name) + 36;
  canvas.Fill(canvas.Whole(),
              [&](float x, float y) { return RoundedBoxDistance(x, y, kTextBoxLeft + 12 + plateWidth / 2, kTextBoxTop - 18, plateWidth / 2, 15, 8); },
              [&](float, float) { return Rgb(70, 50, 120, 0.9f); });
  DrawText(canvas, kTextBoxLeft + 30, kTextBoxTop - 27, speaker, name);
}

SpaceStyle StageSpace(CharacterId boss) {
  const Character& who = CharacterOf(boss);
  return {90 + static_cast<std::uint32_t>(boss), Rgb(4, 6, 20), Scaled(who.planetShade, 0.25f), Scaled(who.planet, 0.55f),
          Scaled(who.accent, 0.45f), 0.55f, 260, false};
}

// A bust drawn on a layer of its own, so a listener can be dimmed.
void PlaceBust(Canvas& canvas, CharacterId id, Mood mood, float centreX, float top, float scale, bool speaking) {
  Canvas layer(canvas.width(), canvas.height());
  DrawBust(layer, id, mood, centreX, top, scale);
  CompositeLayer(canvas, layer, 0, 0, speaking ? 1.0f : 0.45f);
}

}  // namespace

Canvas MakeStarfield() {
  Canvas canvas(kPlayfieldWidth, kPlayfieldHeight);
  PaintSpace(canvas, {7, Rgb(6, 8, 28), Rgb(14, 10, 40), Rgb(40, 60, 140), Rgb(120, 40, 120), 0.45f, 420, true});
  return canvas;
}

Canvas MakeGameOver() {
  Canvas canvas(kPlayfieldWidth, kPlayfieldHeight);
  PaintSpace(canvas, {13, Rgb(20, 2, 8), Rgb(4, 0, 4), Rgb(120, 20, 30), Rgb(60, 10, 60), 0.5f, 160, false});
  Glow(canvas, kPlayfieldWidth / 2.0f, 470, 240, Rgb(120, 30, 20, 0.6f));
  PaintPlanet(canvas, CharacterId::Soleil, kPlayfieldWidth / 2.0f, 560, 120);
  canvas.ForEachPixel(canvas.Whole(), [&](int x, int y, float, float py) {
    canvas.Blend(x, y, Rgb(20, 0, 10), Smoothstep(380, 624, py) * 0.75f);  // the sun sets
  });
  const TextStyle title{64, 10, Rgb(255, 90, 90), Rgb(200, 20, 40, 0.8f), 14};
  DrawTextCentred(canvas, kPlayfieldWidth / 2.0f, 220, "GAME OVER", title);
  const TextStyle line{20, 3, Rgb(255, 210, 200)};
  DrawTextCentred(canvas, kPlayfieldWidth / 2.0f, 320, "PRESS ANY KEY", line);
  return canvas;
}

Canvas MakeDialogueBackdrop() {
  Canvas canvas(kPlayfieldWidth, kPlayfieldHeight);
  PaintSpace(canvas, {21, Rgb(10, 6, 30), Rgb(30, 14, 50), Rgb(90, 50, 160), Rgb(200, 120, 80), 0.6f, 300, false});
  const float sx = kPlayfieldWidth / 2.0f, sy = 200;
  AddGlow(canvas, sx, sy, 230, Rgb(255, 170, 60, 0.55f));
  PaintPlanet(canvas, CharacterId::Soleil, sx, sy, 70);
  // The six worlds in a ring round the sun.
  for (int i = 0; i < 6; ++i) {
    const float a = 3.14159f * (0.9f + i * 0.24f);
    PaintPlanet(canvas, kBosses[i], sx + 300 * std::cos(a), sy - 120 * std::sin(a), 16 + 2.5f * i);
  }
  PaintTextBox(canvas, nullptr);
  return canvas;
}

Canvas MakePlayerDialogue() {
  Canvas canvas(kPlayfieldWidth, kPlayfieldHeight);
  PaintSpace(canvas, {22, Rgb(30, 14, 10), Rgb(8, 6, 20), Rgb(200, 110, 40), Rgb(120, 40, 90), 0.55f, 220, false});
  AddGlow(canvas, 150, 200, 260, Rgb(255, 180, 80, 0.5f));
  PlaceBust(canvas, CharacterId::Soleil, Mood::Speaking, 160, 120, 1.08f, true);
  PaintTextBox(canvas, CharacterOf(CharacterId::Soleil).name);
  return canvas;
}

Canvas MakeDialoguePicture(CharacterId boss, DialogueTurn turn) {
  Canvas canvas(kPlayfieldWidth, kPlayfieldHeight);
  PaintSpace(canvas, StageSpace(boss));
  PaintPlanet(canvas, boss, 700, 120, 150);
  const bool after = turn == DialogueTurn::BossAfter || turn == DialogueTurn::PlayerAfter;
  const bool bossSpeaks = turn == DialogueTurn::BossSpeaks || turn == DialogueTurn::BossAfter;
  const Mood bossMood = after ? Mood::Smiling : (bossSpeaks ? Mood::Speaking : Mood::Calm);
  const Mood playerMood = bossSpeaks ? Mood::Calm : Mood::Speaking;
  PlaceBust(canvas, CharacterId::Soleil, playerMood, 150, 120, 1.05f, !bossSpeaks);
  PlaceBust(canvas, boss, bossMood, 690, 120, 1.05f, bossSpeaks);
  PaintTextBox(canvas, CharacterOf(bossSpeaks ? boss : CharacterId::Soleil).name);
  return canvas;
}

}  // namespace assetgen
