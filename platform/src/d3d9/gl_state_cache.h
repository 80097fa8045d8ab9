// The OpenGL state a device last sent, so that a draw sends only what
// changed since the one before. Everything the device sets through it is
// remembered; Forget() drops the memory when something else may have
// changed the context (another device on the same window).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "d3d9/gl_core.h"
#include "platform/d3d9.h"

namespace wqplat {

// Counts the times d3d9 code outside a draw bound a texture (uploads,
// creation), which leaves a device's idea of the texture units stale.
std::uint64_t TextureBindingEpoch();
void BindTextureOutsideDraws(GLuint texture);

class GlStateCache {
 public:
  // GL_BLEND, GL_DEPTH_TEST, GL_CULL_FACE, GL_POLYGON_OFFSET_FILL, GL_SCISSOR_TEST.
  void Enable(GLenum capability, bool enabled);
  void BlendFunc(GLenum source, GLenum dest);
  void BlendEquation(GLenum equation);
  // Bits 0 to 3: red, green, blue, alpha, as D3DRS_COLORWRITEENABLE.
  void ColorMask(DWORD mask);
  void DepthFunc(GLenum function);
  void DepthMask(bool write);
  void PolygonOffset(float factor, float units);
  void CullFace(GLenum face);
  void PolygonMode(GLenum mode);
  void Scissor(GLint x, GLint y, GLsizei width, GLsizei height);
  void UseProgram(GLuint program);
  void BindTexture(GLuint unit, GLuint texture);

  // Whether the attribute layout for (fvf, stride) needs loading, noting
  // that it will be.
  bool LayoutChanged(DWORD fvf, UINT stride);

  // Claims the context for `owner`; when another owner had it since (or
  // never anyone), the cache forgets what it sent and answers true, and the
  // owner binds its own objects again.
  bool Claim(const void* owner);
  void Forget();
  // For an owner going away, so that a new one at its address claims afresh.
  static void Abandon(const void* owner);

 private:
  static constexpr int kCapabilities = 5;
  std::array<std::optional<bool>, kCapabilities> enabled_{};
  std::optional<std::array<GLenum, 2>> blend_func_;
  std::optional<GLenum> blend_equation_;
  std::optional<DWORD> color_mask_;
  std::optional<GLenum> depth_func_;
  std::optional<bool> depth_mask_;
  std::optional<std::array<float, 2>> polygon_offset_;
  std::optional<GLenum> cull_face_;
  std::optional<GLenum> polygon_mode_;
  std::optional<std::array<GLint, 4>> scissor_;
  std::optional<GLuint> program_;
  std::optional<GLuint> active_unit_;
  std::array<std::optional<GLuint>, D_D3DMAXTEXTURESTAGES> textures_{};
  std::optional<std::array<DWORD, 2>> layout_;
  std::uint64_t texture_epoch_ = 0;
};

}  // namespace wqplat
