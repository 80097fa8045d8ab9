// OpenGL 3.3 core, called directly: the driver library exports every
// entry point the device uses.
#pragma once

#define GL_GLEXT_PROTOTYPES
#include <GL/glcorearb.h>

// Not part of the core profile's header; the driver offers it as an extension.
#ifndef GL_COMPRESSED_RGBA_S3TC_DXT1_EXT
#define GL_COMPRESSED_RGBA_S3TC_DXT1_EXT 0x83F1
#define GL_COMPRESSED_RGBA_S3TC_DXT3_EXT 0x83F2
#define GL_COMPRESSED_RGBA_S3TC_DXT5_EXT 0x83F3
#endif
#ifndef GL_TEXTURE_MAX_ANISOTROPY_EXT
#define GL_TEXTURE_MAX_ANISOTROPY_EXT 0x84FE
#endif
