// The public circle: outlined or filled, in the draw target, by the device
// on the hardware renderer and by the software kernel otherwise.
#include "WqLib.h"
#include "graphics/draw_sequence.h"
#include "softrender/colour_shapes.h"

// A negative radius draws nothing and is not an error. Before graphics
// start there is no draw target (and no window to wait for): -1.
int DrawCircleShape(int x, int y, int r, int color, int fill) {
  if (DrawSuspended || DrawAreaEmpty) return 0;
  if (!Graphics().started) return -1;
  if (!IsWindowActive()) WaitWhileInactive();
  if (r < 0) return 0;
  const auto destination = [&] { return RECT{x - r - 1, y - r - 1, x + r + 1, y + r + 1}; };
  if (HardwareRendererInUse()) {
    return RunBracketedDraw(SubtractNeedsEmulation(), destination,
                            [&] { return G_D3D_DrawCircle(x, y, r, color, fill); });
  }
  return RunBracketedDraw(false, destination, [&] {
    MemImgDrawCircle(DrawTargetMemImg, x, y, r, static_cast<std::uint32_t>(color), static_cast<std::uint32_t>(fill));
    return 0;
  });
}
