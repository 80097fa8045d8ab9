// The texture formats a graph can be stored in on the device and the cut
// of an image side into power-of-two texture pieces.
#pragma once

#include "WqLib.h"

enum : int { kTextureFormatCount = 14 };

// The pixel layout the framework converts into for a texture format index;
// null for an index outside 0..13.
const ColorFormat* GetTextureFormatDesc(int index);
// The texture format index of a graph whose pixels have `format`'s layout.
// A DXT image keeps its compression; otherwise the alpha channel, then the
// alpha test (a colour-keyed image without alpha), decide.
int ClassifyColorFormat(const ColorFormat* format, int alphaTest, int drawable);
// The power-of-two sizes (at least 8) of the pieces that cover `size`
// along one side, left to right, into `sizes` when not null; returns their
// count. `oneTexture` asks for a single piece.
int ComputeTexturePieceSize(int size, int* sizes, int oneTexture);
