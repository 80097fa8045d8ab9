#include "d3d9/gl_texture.h"

#include <algorithm>

#include "d3d9/gl_state_cache.h"

namespace wqplat {

GLuint CreateGlTexture(const PixelFormat& format, int width, int height, int levels) {
  while (glGetError() != GL_NO_ERROR) {
  }
  GLuint texture = 0;
  glGenTextures(1, &texture);
  BindTextureOutsideDraws(texture);
  for (int level = 0; level < levels; ++level) {
    int level_width = std::max(1, width >> level);
    int level_height = std::max(1, height >> level);
    if (format.kind == FormatKind::kBlock) {
      GLsizei bytes = RowPitch(format, level_width) * RowCount(format, level_height);
      glCompressedTexImage2D(GL_TEXTURE_2D, level, format.internal_format, level_width,
                             level_height, 0, bytes, nullptr);
    } else if (format.kind == FormatKind::kDepth) {
      glTexImage2D(GL_TEXTURE_2D, level, format.internal_format, level_width, level_height, 0,
                   GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
    } else {
      glTexImage2D(GL_TEXTURE_2D, level, format.internal_format, level_width, level_height, 0,
                   kArgbFormat, kArgbType, nullptr);
    }
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, levels - 1);
  if (format.kind == FormatKind::kColor && !format.has_alpha) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  if (glGetError() != GL_NO_ERROR) {
    glDeleteTextures(1, &texture);
    return 0;
  }
  return texture;
}

}  // namespace wqplat
