// Drawing from the program's own vertex arrays with the fixed-function
// states, and the GL state they come down to.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "d3d9/device.h"
#include "d3d9/gl_state_names.h"
#include "d3d9/gl_texture.h"
#include "d3d9/texture.h"

namespace wqplat {
namespace {

D_D3DMATRIX Multiply(const D_D3DMATRIX& a, const D_D3DMATRIX& b) {
  D_D3DMATRIX product{};
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      for (int k = 0; k < 4; ++k) product.m[row][column] += a.m[row][k] * b.m[k][column];
    }
  }
  return product;
}

RECT Intersect(const RECT& a, const RECT& b) {
  RECT result{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
  if (result.right < result.left) result.right = result.left;
  if (result.bottom < result.top) result.bottom = result.top;
  return result;
}

// Sends `count` floats to a uniform through `upload` unless it already holds them.
template <class Upload>
void SendUniform(StageProgram& program, StageProgram::UniformSlot slot, const float* values,
                 std::size_t count, Upload upload) {
  std::vector<float>& sent = program.sent[slot];
  if (sent.size() == count && std::equal(values, values + count, sent.begin())) return;
  sent.assign(values, values + count);
  upload();
}

// Whether every index names one of the vertices uploaded for the call.
template <class Index>
bool IndicesWithin(const void* indices, UINT count, UINT vertex_limit) {
  const auto* first = static_cast<const Index*>(indices);
  return std::all_of(first, first + count, [&](Index index) { return index < vertex_limit; });
}

}  // namespace

void Device::BindTarget() {
  GLuint framebuffer = render_target_->framebuffer();
  if (bound_framebuffer_ == framebuffer) return;
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
  // A depth buffer larger than the target is allowed; drawing covers their common area.
  glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D,
                         depth_stencil_ ? depth_stencil_->image().texture : 0, 0);
  // Depth bias steps are the bound depth buffer's, whose resolution the
  // driver chose; asked once per binding rather than per draw.
  depth_bits_ = 0;
  if (depth_stencil_) {
    glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depth_bits_);
  }
  // Positions map onto the whole target; the viewport clips by scissor.
  glViewport(0, 0, render_target_->width(), render_target_->height());
  bound_framebuffer_ = framebuffer;
}

void Device::ApplyScissor(const RECT* area) {
  const D_D3DVIEWPORT9& viewport = state_.viewport;
  RECT clip{static_cast<LONG>(viewport.X), static_cast<LONG>(viewport.Y),
            static_cast<LONG>(viewport.X + viewport.Width),
            static_cast<LONG>(viewport.Y + viewport.Height)};
  clip = Intersect(clip, RECT{0, 0, render_target_->width(), render_target_->height()});
  if (state_.render[D_D3DRS_SCISSORTESTENABLE]) clip = Intersect(clip, state_.scissor);
  if (area) clip = Intersect(clip, *area);
  // Rows are stored top-down, so GL's row numbers are Direct3D's.
  bool whole = clip.left == 0 && clip.top == 0 && clip.right == render_target_->width() &&
               clip.bottom == render_target_->height();
  gl_state_.Enable(GL_SCISSOR_TEST, !whole);
  if (!whole) gl_state_.Scissor(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
}

void Device::ApplyBlendAndDepth() {
  const auto& render = state_.render;
  bool blend = render[D_D3DRS_ALPHABLENDENABLE] != 0;
  gl_state_.Enable(GL_BLEND, blend);
  if (blend) {
    DWORD source = render[D_D3DRS_SRCBLEND];
    DWORD dest = render[D_D3DRS_DESTBLEND];
    if (source == D_D3DBLEND_BOTHSRCALPHA) {
      gl_state_.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else if (source == D_D3DBLEND_BOTHINVSRCALPHA) {
      gl_state_.BlendFunc(GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA);
    } else {
      bool target_alpha = render_target_->format().has_alpha;
      gl_state_.BlendFunc(BlendFactor(source, target_alpha), BlendFactor(dest, target_alpha));
    }
    gl_state_.BlendEquation(BlendEquation(render[D_D3DRS_BLENDOP]));
  }
  gl_state_.ColorMask(render[D_D3DRS_COLORWRITEENABLE]);
  bool depth = depth_stencil_ && render[D_D3DRS_ZENABLE] != D_D3DZB_FALSE;
  gl_state_.Enable(GL_DEPTH_TEST, depth);
  if (depth) {
    gl_state_.DepthFunc(Comparison(render[D_D3DRS_ZFUNC]));
    gl_state_.DepthMask(render[D_D3DRS_ZWRITEENABLE] != 0);
  }
  float bias = std::bit_cast<float>(render[D_D3DRS_DEPTHBIAS]);
  float slope = std::bit_cast<float>(render[D_D3DRS_SLOPESCALEDEPTHBIAS]);
  bool offset = bias != 0.0f || slope != 0.0f;
  gl_state_.Enable(GL_POLYGON_OFFSET_FILL, offset);
  if (offset) {
    // Direct3D's bias is a fraction of the depth range; GL's units are steps
    // of the bound depth buffer.
    gl_state_.PolygonOffset(slope, bias * std::ldexp(1.0f, depth_bits_ > 0 ? depth_bits_ : 24));
  }
  // Direct3D's screen rows run downwards while ours are stored as GL rows,
  // so its clockwise triangles are GL's counter-clockwise ones.
  DWORD cull = render[D_D3DRS_CULLMODE];
  gl_state_.Enable(GL_CULL_FACE, cull == D_D3DCULL_CW || cull == D_D3DCULL_CCW);
  if (cull == D_D3DCULL_CW) gl_state_.CullFace(GL_FRONT);
  if (cull == D_D3DCULL_CCW) gl_state_.CullFace(GL_BACK);
  switch (render[D_D3DRS_FILLMODE]) {
    case D_D3DFILL_POINT: gl_state_.PolygonMode(GL_POINT); break;
    case D_D3DFILL_WIREFRAME: gl_state_.PolygonMode(GL_LINE); break;
    default: gl_state_.PolygonMode(GL_FILL); break;
  }
}

void Device::ApplySamplers() {
  if (!samplers_dirty_) return;
  samplers_dirty_ = false;
  for (std::size_t stage = 0; stage < samplers_.size(); ++stage) {
    const auto& sampler = state_.samplers[stage];
    GLuint name = samplers_[stage];
    glSamplerParameteri(name, GL_TEXTURE_WRAP_S, AddressMode(sampler[D_D3DSAMP_ADDRESSU]));
    glSamplerParameteri(name, GL_TEXTURE_WRAP_T, AddressMode(sampler[D_D3DSAMP_ADDRESSV]));
    glSamplerParameteri(name, GL_TEXTURE_WRAP_R, AddressMode(sampler[D_D3DSAMP_ADDRESSW]));
    float border[4];
    ArgbToFloats(sampler[D_D3DSAMP_BORDERCOLOR], border);
    glSamplerParameterfv(name, GL_TEXTURE_BORDER_COLOR, border);
    glSamplerParameteri(name, GL_TEXTURE_MAG_FILTER,
                        sampler[D_D3DSAMP_MAGFILTER] >= D_D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
    glSamplerParameteri(name, GL_TEXTURE_MIN_FILTER,
                        MinFilter(sampler[D_D3DSAMP_MINFILTER], sampler[D_D3DSAMP_MIPFILTER]));
    if (anisotropy_available_) {
      float anisotropy = sampler[D_D3DSAMP_MINFILTER] == D_D3DTEXF_ANISOTROPIC
                             ? static_cast<float>(std::clamp<DWORD>(sampler[D_D3DSAMP_MAXANISOTROPY], 1, 16))
                             : 1.0f;
      glSamplerParameterf(name, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
    }
  }
}

bool Device::PrepareDraw(bool pretransformed) {
  render_target_->UploadIfStale();
  BindTarget();
  ApplyScissor(nullptr);
  ApplyBlendAndDepth();
  ApplySamplers();
  unsigned bound = 0;
  for (std::size_t stage = 0; stage < textures_.size(); ++stage) {
    Texture* texture = textures_[stage];
    if (!texture || !texture->gl_texture()) continue;
    texture->PrepareForSampling();
    bound |= 1u << stage;
  }
  // Bound after every upload above, which may have bound textures of its own.
  for (std::size_t stage = 0; stage < textures_.size(); ++stage) {
    if (bound >> stage & 1) {
      gl_state_.BindTexture(static_cast<GLuint>(stage), textures_[stage]->gl_texture());
    }
  }
  StageProgram* program = programs_->Find(MakeProgramKey(state_, pretransformed, bound));
  if (!program) return false;
  gl_state_.UseProgram(program->program);
  float target[2] = {static_cast<float>(render_target_->width()),
                     static_cast<float>(render_target_->height())};
  SendUniform(*program, StageProgram::kTargetSize, target, 2,
              [&] { glUniform2fv(program->target_size, 1, target); });
  float factor[4];
  ArgbToFloats(state_.render[D_D3DRS_TEXTUREFACTOR], factor);
  SendUniform(*program, StageProgram::kTextureFactor, factor, 4,
              [&] { glUniform4fv(program->texture_factor, 1, factor); });
  float constants[D_D3DMAXTEXTURESTAGES * 4];
  for (std::size_t stage = 0; stage < D_D3DMAXTEXTURESTAGES; ++stage) {
    ArgbToFloats(state_.stages[stage].states[D_D3DTSS_CONSTANT], constants + stage * 4);
  }
  SendUniform(*program, StageProgram::kStageConstants, constants, std::size(constants), [&] {
    glUniform4fv(program->stage_constants, D_D3DMAXTEXTURESTAGES, constants);
  });
  float reference = static_cast<float>(state_.render[D_D3DRS_ALPHAREF] & 0xFF);
  SendUniform(*program, StageProgram::kAlphaReference, &reference, 1, [&] {
    glUniform1i(program->alpha_reference, static_cast<GLint>(reference));
  });
  if (pretransformed) return true;
  D_D3DMATRIX combined = Multiply(Multiply(state_.world, state_.view), state_.projection);
  SendUniform(*program, StageProgram::kTransform, &combined.m[0][0], 16, [&] {
    glUniformMatrix4fv(program->transform, 1, GL_FALSE, &combined.m[0][0]);
  });
  // Clip space to GL coordinates through the viewport, with Direct3D's
  // pixel centres (see the vertex shader).
  const D_D3DVIEWPORT9& viewport = state_.viewport;
  float w = static_cast<float>(viewport.Width), h = static_cast<float>(viewport.Height);
  float scale[4] = {w / target[0], -h / target[1], 2.0f * (viewport.MaxZ - viewport.MinZ), 0.0f};
  float offset[4] = {(2.0f * viewport.X + 1.0f + w) / target[0] - 1.0f,
                     (2.0f * viewport.Y + 1.0f + h) / target[1] - 1.0f,
                     2.0f * viewport.MinZ - 1.0f, 0.0f};
  SendUniform(*program, StageProgram::kPositionScale, scale, 4,
              [&] { glUniform4fv(program->position_scale, 1, scale); });
  SendUniform(*program, StageProgram::kPositionOffset, offset, 4,
              [&] { glUniform4fv(program->position_offset, 1, offset); });
  if (program->texture_matrices >= 0) {
    const float* matrices = &state_.texture_transforms[0].m[0][0];
    SendUniform(*program, StageProgram::kTextureMatrices, matrices, D_D3DMAXTEXTURESTAGES * 16, [&] {
      glUniformMatrix4fv(program->texture_matrices, D_D3DMAXTEXTURESTAGES, GL_FALSE, matrices);
    });
  }
  return true;
}

void Device::LoadVertexLayout(DWORD fvf, UINT stride) {
  auto attribute = [&](GLuint slot, GLint size, GLenum type, GLboolean normalized, UINT offset) {
    glEnableVertexAttribArray(slot);
    glVertexAttribPointer(slot, size, type, normalized, static_cast<GLsizei>(stride),
                          reinterpret_cast<const void*>(static_cast<std::uintptr_t>(offset)));
  };
  UINT offset = 0;
  bool pretransformed = (fvf & D_D3DFVF_POSITION_MASK) == D_D3DFVF_XYZRHW;
  attribute(kPositionSlot, pretransformed ? 4 : 3, GL_FLOAT, GL_FALSE, offset);
  offset += pretransformed ? 16 : 12;
  if (fvf & D_D3DFVF_NORMAL) offset += 12;
  if (fvf & D_D3DFVF_PSIZE) offset += 4;
  // D3DCOLOR is B, G, R, A in memory; GL reads that order directly. A
  // colour the vertices lack reads as Direct3D's default.
  auto color = [&](GLuint slot, bool present, float fallback) {
    if (present) {
      attribute(slot, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, offset);
      offset += 4;
    } else {
      glDisableVertexAttribArray(slot);
      glVertexAttrib4f(slot, fallback, fallback, fallback, fallback);
    }
  };
  color(kDiffuseSlot, (fvf & D_D3DFVF_DIFFUSE) != 0, 1.0f);
  color(kSpecularSlot, (fvf & D_D3DFVF_SPECULAR) != 0, 0.0f);
  int sets = static_cast<int>((fvf & D_D3DFVF_TEXCOUNT_MASK) >> D_D3DFVF_TEXCOUNT_SHIFT);
  for (int set = 0; set < kMaxTexCoordSets; ++set) {
    GLuint slot = kFirstTexCoordSlot + static_cast<GLuint>(set);
    if (set < sets) {
      attribute(slot, 2, GL_FLOAT, GL_FALSE, offset);
      offset += 8;
    } else {
      glDisableVertexAttribArray(slot);
      glVertexAttrib4f(slot, 0.0f, 0.0f, 0.0f, 1.0f);
    }
  }
}

HRESULT Device::Draw(D_D3DPRIMITIVETYPE type, UINT primitive_count, const void* vertices,
                     UINT vertex_count, UINT stride, const void* indices,
                     D_D3DFORMAT index_format) {
  PrimitiveShape shape{};
  UINT vertex_size = FvfVertexSize(state_.fvf);
  if (!vertices || !ShapeOf(type, primitive_count, &shape) || vertex_size == 0 ||
      stride < vertex_size) {
    return D_D3DERR_INVALIDCALL;
  }
  if (primitive_count == 0) return D_D3D_OK;
  // Direct3D trusts the indices; an index past the vertices would make GL
  // read beyond the uploaded array, so such a call is refused.
  if (indices) {
    bool within = index_format == D_D3DFMT_INDEX32
                      ? IndicesWithin<std::uint32_t>(indices, shape.vertices, vertex_count)
                      : IndicesWithin<std::uint16_t>(indices, shape.vertices, vertex_count);
    if (!within) return D_D3DERR_INVALIDCALL;
  }
  UseGl();
  bool pretransformed = (state_.fvf & D_D3DFVF_POSITION_MASK) == D_D3DFVF_XYZRHW;
  if (!PrepareDraw(pretransformed)) return D_D3DERR_INVALIDCALL;
  // The vertex array object and its buffers are the device's alone: they
  // stay bound, and the attribute layout stays loaded until it changes.
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertex_count) * stride, vertices,
               GL_STREAM_DRAW);
  if (gl_state_.LayoutChanged(state_.fvf, stride)) LoadVertexLayout(state_.fvf, stride);
  if (indices) {
    std::size_t index_size = index_format == D_D3DFMT_INDEX32 ? 4 : 2;
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(shape.vertices * index_size),
                 indices, GL_STREAM_DRAW);
    glDrawElements(shape.mode, static_cast<GLsizei>(shape.vertices),
                   index_size == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, nullptr);
  } else {
    glDrawArrays(shape.mode, 0, static_cast<GLsizei>(shape.vertices));
  }
  render_target_->MarkGpuNewer();
  if (depth_stencil_) depth_stencil_->MarkGpuNewer();
  return D_D3D_OK;
}

HRESULT Device::DrawPrimitiveUP(D_D3DPRIMITIVETYPE type, UINT primitive_count,
                                const void* vertices, UINT stride) {
  PrimitiveShape shape{};
  if (!ShapeOf(type, primitive_count, &shape)) return D_D3DERR_INVALIDCALL;
  return Draw(type, primitive_count, vertices, shape.vertices, stride, nullptr, D_D3DFMT_UNKNOWN);
}

HRESULT Device::DrawIndexedPrimitiveUP(D_D3DPRIMITIVETYPE type, UINT min_vertex_index,
                                       UINT vertex_count, UINT primitive_count,
                                       const void* indices, D_D3DFORMAT index_format,
                                       const void* vertices, UINT stride) {
  // The vertices are uploaded up to the highest one the call names; a range
  // past the caps' highest index (or wrapping round) would have that upload
  // read far past the caller's array.
  std::uint64_t vertex_end = std::uint64_t{min_vertex_index} + vertex_count;
  if (!indices || (index_format != D_D3DFMT_INDEX16 && index_format != D_D3DFMT_INDEX32) ||
      vertex_end > std::uint64_t{kMaxVertexIndex} + 1) {
    return D_D3DERR_INVALIDCALL;
  }
  return Draw(type, primitive_count, vertices, static_cast<UINT>(vertex_end), stride, indices,
              index_format);
}

}  // namespace wqplat
