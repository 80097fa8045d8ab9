// The public circle: outlined or filled, in the draw target, by the device
// on the hardware renderer and by the software kernel otherwise.
#include <climits>
#include <cstdint>

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
  // A circle whose box misses the draw area draws nothing; one whose box
  // does not fit in int coordinates could not be walked without overflow.
  const std::int64_t reach = std::int64_t{r} + 1;
  if (std::int64_t{x} - reach < INT_MIN || std::int64_t{x} + reach > INT_MAX ||
      std::int64_t{y} - reach < INT_MIN || std::int64_t{y} + reach > INT_MAX)
    return 0;
  const auto destination = [&] { return RECT{x - r - 1, y - r - 1, x + r + 1, y + r + 1}; };
  const RECT box = destination();
  if (box.right <= DrawArea.left || box.left >= DrawArea.right || box.bottom <= DrawArea.top ||
      box.top >= DrawArea.bottom)
    return 0;
  if (HardwareRendererInUse()) {
    return RunBracketedDraw(SubtractNeedsEmulation(), destination,
                            [&] { return G_D3D_DrawCircle(x, y, r, color, fill); });
  }
  return RunBracketedDraw(false, destination, [&] {
    MemImgDrawCircle(DrawTargetMemImg, x, y, r, static_cast<std::uint32_t>(color), static_cast<std::uint32_t>(fill));
    return 0;
  });
}
