// A fixture for the draw tests: the game's screen on the chosen renderer,
// graphs made from pixel functions, and the presented frame read back.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "graphics_fixture.h"

namespace wqtest {

inline constexpr int kFrameWidth = 882;
inline constexpr int kFrameHeight = 820;

// 0xAARRGGBB of a graph's pixel (x, y).
using PixelFunction = std::function<std::uint32_t(int x, int y)>;

class DrawTest : public GraphicsTest {
 protected:
  // Starts in the game's mode on the device (true) or the software screen,
  // cleared to black.
  void StartOn(bool device);
  // A graph of the pixels; with alpha the graph keeps them, without it the
  // image is opaque (black keyed out by the default transparent colour).
  int MakeGraph(int width, int height, bool alpha, const PixelFunction& pixel);
  // Presents and reads the window: 0x00RRGGBB, kFrameWidth per row.
  std::vector<std::uint32_t> Frame();
  // Clears to black, draws, presents: the frame.
  std::vector<std::uint32_t> FrameOf(const std::function<void()>& draw);
};

inline std::uint32_t At(const std::vector<std::uint32_t>& frame, int x, int y) {
  return frame[static_cast<std::size_t>(y) * kFrameWidth + x];
}

}  // namespace wqtest
