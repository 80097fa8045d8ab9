// The graph creation settings and their accessors, including the colour key
// that new graph images are made with.
#include "graphics/graph_creation_settings.h"

#include "WqLib.h"
#include "graphics/render_state.h"

int CreateGraphColorBits;
int CreateDrawableGraphFlag = 1;
int CreateGraphAlphaFlag;
int CreateGraphMovieFlag;
int CreateGraphSystemMemCopyFlag;
int CreateGraphBlendImageFlag;
int DefaultMipLevels = -1;

void ResetGraphCreationSettings() {
  CreateGraphColorBits = 0;
  CreateDrawableGraphFlag = 1;
  CreateGraphAlphaFlag = 0;
  CreateGraphMovieFlag = 0;
  CreateGraphSystemMemCopyFlag = 0;
  CreateGraphBlendImageFlag = 0;
  DefaultMipLevels = -1;
}

int SetCreateGraphColorBits(int bits) {
  CreateGraphColorBits = bits;
  return 0;
}
int GetCreateGraphColorBits() { return CreateGraphColorBits; }

int SetCreateDrawableGraphFlag(int flag) {
  CreateDrawableGraphFlag = flag;
  return 0;
}
int GetCreateDrawableGraphFlag() { return CreateDrawableGraphFlag; }

int SetCreateGraphAlphaFlag(int flag) {
  CreateGraphAlphaFlag = flag;
  return 0;
}
int GetCreateGraphAlphaFlag() { return CreateGraphAlphaFlag; }

int SetCreateGraphMovieFlag(int flag) {
  CreateGraphMovieFlag = flag;
  return 0;
}
int GetCreateGraphMovieFlag() { return CreateGraphMovieFlag; }

int SetCreateGraphSystemMemCopyFlag(int flag) {
  CreateGraphSystemMemCopyFlag = flag;
  return 0;
}
int GetCreateGraphSystemMemCopyFlag() { return CreateGraphSystemMemCopyFlag; }

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
