#include "d3d9/gl_state_cache.h"

#include <atomic>

namespace wqplat {
namespace {

std::atomic<std::uint64_t> texture_binding_epoch{0};
std::atomic<const void*> last_owner{nullptr};

int CapabilityIndex(GLenum capability) {
  switch (capability) {
    case GL_BLEND: return 0;
    case GL_DEPTH_TEST: return 1;
    case GL_CULL_FACE: return 2;
    case GL_POLYGON_OFFSET_FILL: return 3;
    default: return 4;  // GL_SCISSOR_TEST
  }
}

// Stores `value` and calls `send` when it differs from what `slot` holds.
template <class Value, class Send>
void SendIfChanged(std::optional<Value>& slot, const Value& value, Send send) {
  if (slot == value) return;
  slot = value;
  send();
}

}  // namespace

std::uint64_t TextureBindingEpoch() { return texture_binding_epoch.load(std::memory_order_relaxed); }

void BindTextureOutsideDraws(GLuint texture) {
  texture_binding_epoch.fetch_add(1, std::memory_order_relaxed);
  glBindTexture(GL_TEXTURE_2D, texture);
}

void GlStateCache::Enable(GLenum capability, bool enabled) {
  SendIfChanged(enabled_[CapabilityIndex(capability)], enabled, [&] {
    if (enabled) {
      glEnable(capability);
    } else {
      glDisable(capability);
    }
  });
}

void GlStateCache::BlendFunc(GLenum source, GLenum dest) {
  SendIfChanged(blend_func_, {source, dest}, [&] { glBlendFunc(source, dest); });
}

void GlStateCache::BlendEquation(GLenum equation) {
  SendIfChanged(blend_equation_, equation, [&] { glBlendEquation(equation); });
}

void GlStateCache::ColorMask(DWORD mask) {
  SendIfChanged(color_mask_, mask & 0xF, [&] {
    glColorMask(mask & 1, (mask >> 1) & 1, (mask >> 2) & 1, (mask >> 3) & 1);
  });
}

void GlStateCache::DepthFunc(GLenum function) {
  SendIfChanged(depth_func_, function, [&] { glDepthFunc(function); });
}

void GlStateCache::DepthMask(bool write) {
  SendIfChanged(depth_mask_, write, [&] { glDepthMask(write ? GL_TRUE : GL_FALSE); });
}

void GlStateCache::PolygonOffset(float factor, float units) {
  SendIfChanged(polygon_offset_, {factor, units}, [&] { glPolygonOffset(factor, units); });
}

void GlStateCache::CullFace(GLenum face) {
  SendIfChanged(cull_face_, face, [&] { glCullFace(face); });
}

void GlStateCache::PolygonMode(GLenum mode) {
  SendIfChanged(polygon_mode_, mode, [&] { glPolygonMode(GL_FRONT_AND_BACK, mode); });
}

void GlStateCache::Scissor(GLint x, GLint y, GLsizei width, GLsizei height) {
  SendIfChanged(scissor_, {x, y, width, height}, [&] { glScissor(x, y, width, height); });
}

void GlStateCache::UseProgram(GLuint program) {
  SendIfChanged(program_, program, [&] { glUseProgram(program); });
}

void GlStateCache::BindTexture(GLuint unit, GLuint texture) {
  if (texture_epoch_ != TextureBindingEpoch()) {
    texture_epoch_ = TextureBindingEpoch();
    textures_.fill(std::nullopt);
    active_unit_.reset();
  }
  if (textures_[unit] == texture) return;
  SendIfChanged(active_unit_, unit, [&] { glActiveTexture(GL_TEXTURE0 + unit); });
  textures_[unit] = texture;
  glBindTexture(GL_TEXTURE_2D, texture);
}

bool GlStateCache::LayoutChanged(DWORD fvf, UINT stride) {
  std::array<DWORD, 2> layout{fvf, stride};
  if (layout_ == layout) return false;
  layout_ = layout;
  return true;
}

bool GlStateCache::Claim(const void* owner) {
  if (last_owner.exchange(owner) == owner) return false;
  Forget();
  return true;
}

void GlStateCache::Abandon(const void* owner) {
  const void* expected = owner;
  last_owner.compare_exchange_strong(expected, nullptr);
}

void GlStateCache::Forget() { *this = GlStateCache{}; }

}  // namespace wqplat
