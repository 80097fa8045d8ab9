// Direct3D 9 state values as their OpenGL counterparts.
#pragma once

#include "d3d9/gl_core.h"
#include "platform/d3d9.h"

namespace wqplat {

struct PrimitiveShape {
  GLenum mode;
  UINT vertices;
};

// The most primitives one draw call takes, as the device's caps report it.
constexpr UINT kMaxPrimitiveCount = 0xFFFFF;
// The highest vertex index an indexed draw may name, likewise.
constexpr UINT kMaxVertexIndex = 0xFFFFFF;

// The GL primitive and vertex count of `primitives` primitives; false for
// an unknown type or more primitives than the device takes.
bool ShapeOf(D_D3DPRIMITIVETYPE type, UINT primitives, PrimitiveShape* shape);

// D3DBLEND_* except the BOTH* pairs. A target without alpha reads its
// alpha as 1, whatever its storage holds.
GLenum BlendFactor(DWORD blend, bool target_has_alpha);
GLenum BlendEquation(DWORD op);
GLenum Comparison(DWORD function);
GLint AddressMode(DWORD address);
GLint MinFilter(DWORD min_filter, DWORD mip_filter);

// A D3DCOLOR as red, green, blue, alpha in 0..1.
void ArgbToFloats(D_D3DCOLOR color, float* rgba);

// The size in bytes of one vertex of a flexible vertex format (2D texture
// coordinates), 0 for a format the device does not draw.
UINT FvfVertexSize(DWORD fvf);

}  // namespace wqplat
