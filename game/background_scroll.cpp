#include "background_scroll.h"

#include <WqLib.h>

#include "game_state.h"

namespace {

constexpr int kCopySpacing = PLAYFIELD_BOTTOM - PLAYFIELD_TOP;  // 624
constexpr int kScrollStep = 10;

}  // namespace

void ScrollBackground() {
  DrawGraph(scrollX, scrollY, backgroundGraph, 1);
  DrawGraph(scrollX, scrollY - kCopySpacing, backgroundGraph, 1);
  DrawGraph(scrollX, scrollY - 2 * kCopySpacing, backgroundGraph, 1);
  scrollY = scrollY + kScrollStep;
  if (scrollY >= PLAYFIELD_BOTTOM) scrollY = PLAYFIELD_TOP;
}
