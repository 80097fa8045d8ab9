// The cast: the player (a girl of the sun) and the six planet girls who are
// the bosses, drawn as busts for dialogue pictures, faces and sprites.
#pragma once

#include "canvas.h"

namespace assetgen {

enum class CharacterId { Soleil, Mercury, Venus, Earth, Mars, Jupiter, Saturn };

// The six bosses in stage order.
constexpr CharacterId kBosses[] = {CharacterId::Mercury, CharacterId::Venus,   CharacterId::Earth,
                                   CharacterId::Mars,    CharacterId::Jupiter, CharacterId::Saturn};

enum class Mood { Calm, Speaking, Smiling };

struct Character {
  const char* name;  // for name plates
  Color hair, hairShade, eyes, skin, dress, dressShade, accent;
  Color planet, planetShade;  // the colours of her planet
};

const Character& CharacterOf(CharacterId id);

// Draws the bust in its box of 200 x 300 units scaled by scale, the box's
// top centre at (centreX, top).
void DrawBust(Canvas& canvas, CharacterId id, Mood mood, float centreX, float top, float scale);

// Composites a layer over the canvas at (x, y), its colour multiplied by
// brightness.
void CompositeLayer(Canvas& canvas, const Canvas& layer, int x, int y, float brightness);

}  // namespace assetgen
