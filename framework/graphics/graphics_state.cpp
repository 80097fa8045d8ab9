// The renderer's process-wide state.
#include "graphics/graphics_state.h"

namespace {
GraphicsState g_graphics;
std::uint32_t g_backgroundColor;
}  // namespace

GraphicsState& Graphics() { return g_graphics; }

std::uint32_t GetScreenBackgroundColor() { return g_backgroundColor; }
void SetScreenBackgroundColor(std::uint32_t color) { g_backgroundColor = color & 0xFFFFFF; }
