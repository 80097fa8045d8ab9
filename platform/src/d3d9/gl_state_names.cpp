#include "d3d9/gl_state_names.h"

#include "d3d9/stage_program.h"

namespace wqplat {

bool ShapeOf(D_D3DPRIMITIVETYPE type, UINT primitives, PrimitiveShape* shape) {
  // A larger count would have the draw read far past the caller's vertices.
  if (primitives > kMaxPrimitiveCount) return false;
  switch (type) {
    case D_D3DPT_POINTLIST: *shape = {GL_POINTS, primitives}; return true;
    case D_D3DPT_LINELIST: *shape = {GL_LINES, primitives * 2}; return true;
    case D_D3DPT_LINESTRIP: *shape = {GL_LINE_STRIP, primitives + 1}; return true;
    case D_D3DPT_TRIANGLELIST: *shape = {GL_TRIANGLES, primitives * 3}; return true;
    case D_D3DPT_TRIANGLESTRIP: *shape = {GL_TRIANGLE_STRIP, primitives + 2}; return true;
    case D_D3DPT_TRIANGLEFAN: *shape = {GL_TRIANGLE_FAN, primitives + 2}; return true;
    default: return false;
  }
}

GLenum BlendFactor(DWORD blend, bool target_has_alpha) {
  if (!target_has_alpha) {
    // min(source alpha, 1 - 1) is 0.
    if (blend == D_D3DBLEND_DESTALPHA) return GL_ONE;
    if (blend == D_D3DBLEND_INVDESTALPHA || blend == D_D3DBLEND_SRCALPHASAT) return GL_ZERO;
  }
  switch (blend) {
    case D_D3DBLEND_ZERO: return GL_ZERO;
    case D_D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D_D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D_D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D_D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D_D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D_D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D_D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D_D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D_D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    default: return GL_ONE;
  }
}

GLenum BlendEquation(DWORD op) {
  switch (op) {
    case D_D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D_D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D_D3DBLENDOP_MIN: return GL_MIN;
    case D_D3DBLENDOP_MAX: return GL_MAX;
    default: return GL_FUNC_ADD;
  }
}

GLenum Comparison(DWORD function) {
  switch (function) {
    case D_D3DCMP_NEVER: return GL_NEVER;
    case D_D3DCMP_LESS: return GL_LESS;
    case D_D3DCMP_EQUAL: return GL_EQUAL;
    case D_D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D_D3DCMP_GREATER: return GL_GREATER;
    case D_D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D_D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
  }
}

GLint AddressMode(DWORD address) {
  switch (address) {
    case D_D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
    case D_D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
    case D_D3DTADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
    case D_D3DTADDRESS_MIRRORONCE: return GL_CLAMP_TO_EDGE;
    default: return GL_REPEAT;
  }
}

GLint MinFilter(DWORD min_filter, DWORD mip_filter) {
  bool linear = min_filter >= D_D3DTEXF_LINEAR;
  switch (mip_filter) {
    case D_D3DTEXF_POINT: return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    case D_D3DTEXF_LINEAR:
    case D_D3DTEXF_ANISOTROPIC: return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    default: return linear ? GL_LINEAR : GL_NEAREST;
  }
}

void ArgbToFloats(D_D3DCOLOR color, float* rgba) {
  rgba[0] = ((color >> 16) & 0xFF) / 255.0f;
  rgba[1] = ((color >> 8) & 0xFF) / 255.0f;
  rgba[2] = (color & 0xFF) / 255.0f;
  rgba[3] = (color >> 24) / 255.0f;
}

UINT FvfVertexSize(DWORD fvf) {
  DWORD position = fvf & D_D3DFVF_POSITION_MASK;
  if (position != D_D3DFVF_XYZ && position != D_D3DFVF_XYZRHW) return 0;
  UINT size = position == D_D3DFVF_XYZRHW ? 16 : 12;
  if (fvf & D_D3DFVF_NORMAL) size += 12;
  if (fvf & D_D3DFVF_PSIZE) size += 4;
  if (fvf & D_D3DFVF_DIFFUSE) size += 4;
  if (fvf & D_D3DFVF_SPECULAR) size += 4;
  UINT sets = (fvf & D_D3DFVF_TEXCOUNT_MASK) >> D_D3DFVF_TEXCOUNT_SHIFT;
  return sets > static_cast<UINT>(kMaxTexCoordSets) ? 0 : size + sets * 8;
}

}  // namespace wqplat
