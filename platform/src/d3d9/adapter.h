// The one adapter the layer offers: the desktop's display driven by the
// window system's OpenGL, with what it can and cannot do.
#pragma once

#include "platform/d3d9.h"

namespace wqplat {

struct GlDriver {
  bool available = false;  // OpenGL 3.3 core can be had at all
  bool s3tc = false;       // DXT textures
  bool anisotropy = false;
};

// Probed once, on a hidden window of the window system.
const GlDriver& ProbeGlDriver();

// The capabilities devices report (the control's, when it has set some).
D_D3DCAPS9 AdapterCaps();

// Whether the adapter takes `format` for the usage and resource type.
bool AdapterSupportsFormat(DWORD usage, D_D3DRESOURCETYPE type, D_D3DFORMAT format);
bool IsDisplayFormat(D_D3DFORMAT format);

}  // namespace wqplat
