// The graph creation settings and their accessors, including the colour key
// that new graph images are made with.
#include "graphics/graph_creation_settings.h"

#include "WqLib.h"
#include "graphics/render_state.h"

namespace {
GraphCreationSettings g_creation;
}  // namespace

GraphCreationSettings& GraphCreation() { return g_creation; }

void ResetGraphCreationSettings() {
  g_creation = GraphCreationSettings{};
  g_creation.drawableFlag = 1;
  g_creation.defaultMipLevels = -1;
}

int SetCreateGraphColorBits(int bits) {
  g_creation.colorBits = bits;
  return 0;
}
int GetCreateGraphColorBits() { return g_creation.colorBits; }

int SetCreateDrawableGraphFlag(int flag) {
  g_creation.drawableFlag = flag;
  return 0;
}
int GetCreateDrawableGraphFlag() { return g_creation.drawableFlag; }

int SetCreateGraphAlphaFlag(int flag) {
  g_creation.alphaFlag = flag;
  return 0;
}
int GetCreateGraphAlphaFlag() { return g_creation.alphaFlag; }

int SetCreateGraphMovieFlag(int flag) {
  g_creation.movieFlag = flag;
  return 0;
}
int GetCreateGraphMovieFlag() { return g_creation.movieFlag; }

int SetCreateGraphSystemMemCopyFlag(int flag) {
  g_creation.systemMemCopyFlag = flag;
  return 0;
}
int GetCreateGraphSystemMemCopyFlag() { return g_creation.systemMemCopyFlag; }

int SetUseTransparentColor(int flag) {
  UseTransparentColor = flag ? 1 : 0;
  return 0;
}

// An 8-bit screen keys on palette indexes, which an RGB value cannot name.
int SetTransparentColor(int red, int green, int blue) {
  if (GetScreenColorBits() == 8) return 0;
  TransparentColor = (static_cast<std::uint32_t>(red & 0xFF) << 16) |
                     (static_cast<std::uint32_t>(green & 0xFF) << 8) | static_cast<std::uint32_t>(blue & 0xFF);
  return 0;
}
