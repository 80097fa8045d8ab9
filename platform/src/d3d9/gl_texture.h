// OpenGL textures in the formats the device keeps.
#pragma once

#include "d3d9/pixel_format.h"

namespace wqplat {

// A 2D texture with `levels` levels of undefined contents, point-sampled
// until a sampler state says otherwise; 0 on failure.
GLuint CreateGlTexture(const PixelFormat& format, int width, int height, int levels);

// Data for a glTexImage/glTexSubImage upload of whole pixels as 0xAARRGGBB.
inline constexpr GLenum kArgbFormat = GL_BGRA;
inline constexpr GLenum kArgbType = GL_UNSIGNED_INT_8_8_8_8_REV;

}  // namespace wqplat
