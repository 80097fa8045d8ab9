// Lettering for the pictures: capitals, digits and a few signs drawn as
// strokes on a 4 x 6 grid, so the text in our art needs no font file.
#pragma once

#include <string_view>

#include "canvas.h"

namespace assetgen {

struct TextStyle {
  float height;        // cap height in pixels
  float strokeWidth;   // pixels
  Color color;
  Color glowColor = {0, 0, 0, 0};  // drawn under the strokes when alpha > 0
  float glowWidth = 0;             // extra width of the glow on each side
};

// Width in pixels that DrawText gives the text.
float TextWidth(std::string_view text, const TextStyle& style);
// Draws the text with its top-left corner at (x, y); unknown characters
// leave a blank.
void DrawText(Canvas& canvas, float x, float y, std::string_view text, const TextStyle& style);
// The same, centred on x.
void DrawTextCentred(Canvas& canvas, float centreX, float y, std::string_view text, const TextStyle& style);

}  // namespace assetgen
