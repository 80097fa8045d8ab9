// Planets as lit spheres with a surface of their own kind: the bosses'
// worlds on their sprites, faces and screens.
#pragma once

#include "canvas.h"
#include "characters.h"

namespace assetgen {

// Paints the planet of a character (the player's is the sun) as a disc
// centred at (cx, cy) with the given radius, lit from the upper left;
// Saturn's rings reach 1.45 radii to each side.
void PaintPlanet(Canvas& canvas, CharacterId id, float cx, float cy, float radius);

}  // namespace assetgen
