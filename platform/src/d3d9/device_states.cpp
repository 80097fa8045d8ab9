// The device's stored state: render, stage and sampler states, transforms,
// viewport, material, lights, textures and the shader objects.
#include <algorithm>

#include "d3d9/device.h"
#include "d3d9/texture.h"

namespace wqplat {
namespace {

D_D3DMATRIX* TransformSlot(DeviceState& state, D_D3DTRANSFORMSTATETYPE type) {
  switch (type) {
    case D_D3DTS_WORLD: return &state.world;
    case D_D3DTS_VIEW: return &state.view;
    case D_D3DTS_PROJECTION: return &state.projection;
    default:
      if (type >= D_D3DTS_TEXTURE0 && type <= D_D3DTS_TEXTURE7) {
        return &state.texture_transforms[type - D_D3DTS_TEXTURE0];
      }
      return nullptr;
  }
}

// Stores `count` registers of `Width` components from `start`, refusing a
// range past the register file's end as Direct3D does.
template <std::size_t Width, typename Value>
HRESULT StoreRegisters(std::vector<Value>* registers, UINT limit, UINT start, const Value* data,
                       UINT count) {
  if (!data || start >= limit || count > limit - start) return D_D3DERR_INVALIDCALL;
  const std::size_t end = (static_cast<std::size_t>(start) + count) * Width;
  if (registers->size() < end) registers->resize(end, Value{});
  std::copy_n(data, static_cast<std::size_t>(count) * Width, registers->begin() + start * Width);
  return D_D3D_OK;
}

// Registers never set read back as zero.
template <std::size_t Width, typename Value>
HRESULT LoadRegisters(const std::vector<Value>& registers, UINT limit, UINT start, Value* data,
                      UINT count) {
  if (!data || start >= limit || count > limit - start) return D_D3DERR_INVALIDCALL;
  for (std::size_t i = 0; i < static_cast<std::size_t>(count) * Width; ++i) {
    const std::size_t index = start * Width + i;
    data[i] = index < registers.size() ? registers[index] : Value{};
  }
  return D_D3D_OK;
}

// Register counts of shader model 3.0, the most a program may address.
constexpr UINT kFloatRegisters = 256;
constexpr UINT kIntRegisters = 16;
constexpr UINT kBoolRegisters = 16;

}  // namespace

HRESULT Device::SetRenderState(D_D3DRENDERSTATETYPE state, DWORD value) {
  if (state >= D_D3DRS_COUNT) return D_D3DERR_INVALIDCALL;
  state_.render[state] = value;
  return D_D3D_OK;
}

HRESULT Device::GetRenderState(D_D3DRENDERSTATETYPE state, DWORD* value) {
  if (state >= D_D3DRS_COUNT || !value) return D_D3DERR_INVALIDCALL;
  *value = state_.render[state];
  return D_D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD stage, D_D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  if (stage >= D_D3DMAXTEXTURESTAGES || type >= D_D3DTSS_COUNT) return D_D3DERR_INVALIDCALL;
  state_.stages[stage].states[type] = value;
  return D_D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD stage, D_D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
  if (stage >= D_D3DMAXTEXTURESTAGES || type >= D_D3DTSS_COUNT || !value) {
    return D_D3DERR_INVALIDCALL;
  }
  *value = state_.stages[stage].states[type];
  return D_D3D_OK;
}

HRESULT Device::SetSamplerState(DWORD sampler, D_D3DSAMPLERSTATETYPE type, DWORD value) {
  if (sampler >= D_D3DMAXTEXTURESTAGES || type >= D_D3DSAMP_COUNT) return D_D3DERR_INVALIDCALL;
  if (state_.samplers[sampler][type] != value) samplers_dirty_ = true;
  state_.samplers[sampler][type] = value;
  return D_D3D_OK;
}

HRESULT Device::GetSamplerState(DWORD sampler, D_D3DSAMPLERSTATETYPE type, DWORD* value) {
  if (sampler >= D_D3DMAXTEXTURESTAGES || type >= D_D3DSAMP_COUNT || !value) {
    return D_D3DERR_INVALIDCALL;
  }
  *value = state_.samplers[sampler][type];
  return D_D3D_OK;
}

HRESULT Device::SetTexture(DWORD stage, D_IDirect3DBaseTexture9* texture) {
  if (stage >= D_D3DMAXTEXTURESTAGES) return D_D3DERR_INVALIDCALL;
  auto* binding = dynamic_cast<DeviceChildCount*>(texture);
  if (texture && !binding) return D_D3DERR_INVALIDCALL;
  Rebind(stage_bindings_[stage], binding);
  textures_[stage] = dynamic_cast<Texture*>(texture);
  return D_D3D_OK;
}

HRESULT Device::SetFVF(DWORD fvf) {
  state_.fvf = fvf;
  return D_D3D_OK;
}

HRESULT Device::GetFVF(DWORD* fvf) {
  if (!fvf) return D_D3DERR_INVALIDCALL;
  *fvf = state_.fvf;
  return D_D3D_OK;
}

HRESULT Device::SetTransform(D_D3DTRANSFORMSTATETYPE type, const D_D3DMATRIX* matrix) {
  D_D3DMATRIX* slot = TransformSlot(state_, type);
  if (!slot || !matrix) return D_D3DERR_INVALIDCALL;
  *slot = *matrix;
  return D_D3D_OK;
}

HRESULT Device::GetTransform(D_D3DTRANSFORMSTATETYPE type, D_D3DMATRIX* matrix) {
  D_D3DMATRIX* slot = TransformSlot(state_, type);
  if (!slot || !matrix) return D_D3DERR_INVALIDCALL;
  *matrix = *slot;
  return D_D3D_OK;
}

HRESULT Device::SetViewport(const D_D3DVIEWPORT9* viewport) {
  if (!viewport || viewport->Width == 0 || viewport->Height == 0 ||
      static_cast<std::uint64_t>(viewport->X) + viewport->Width >
          static_cast<std::uint64_t>(render_target_->width()) ||
      static_cast<std::uint64_t>(viewport->Y) + viewport->Height >
          static_cast<std::uint64_t>(render_target_->height())) {
    return D_D3DERR_INVALIDCALL;
  }
  state_.viewport = *viewport;
  return D_D3D_OK;
}

HRESULT Device::GetViewport(D_D3DVIEWPORT9* viewport) {
  if (!viewport) return D_D3DERR_INVALIDCALL;
  *viewport = state_.viewport;
  return D_D3D_OK;
}

HRESULT Device::SetScissorRect(const RECT* rect) {
  if (!rect || rect->left > rect->right || rect->top > rect->bottom) return D_D3DERR_INVALIDCALL;
  state_.scissor = *rect;
  return D_D3D_OK;
}

HRESULT Device::SetMaterial(const D_D3DMATERIAL9* material) {
  if (!material) return D_D3DERR_INVALIDCALL;
  state_.material = *material;
  return D_D3D_OK;
}

HRESULT Device::GetMaterial(D_D3DMATERIAL9* material) {
  if (!material) return D_D3DERR_INVALIDCALL;
  *material = state_.material;
  return D_D3D_OK;
}

HRESULT Device::SetLight(DWORD index, const D_D3DLIGHT9* light) {
  if (!light || light->Type < D_D3DLIGHT_POINT || light->Type > D_D3DLIGHT_DIRECTIONAL) {
    return D_D3DERR_INVALIDCALL;
  }
  lights_[index].light = *light;
  return D_D3D_OK;
}

HRESULT Device::LightEnable(DWORD index, BOOL enable) {
  // A light never set is Direct3D's default one: white, directional, shining
  // along +z. How many lights are on at once matters only when lighting
  // vertices, which the caps bound.
  auto [slot, added] = lights_.try_emplace(index);
  if (added) {
    slot->second.light.Type = D_D3DLIGHT_DIRECTIONAL;
    slot->second.light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    slot->second.light.Direction = {0.0f, 0.0f, 1.0f};
  }
  slot->second.enabled = enable != FALSE;
  return D_D3D_OK;
}

HRESULT Device::SetVertexDeclaration(D_IDirect3DVertexDeclaration9* declaration) {
  Rebind(vertex_declaration_, dynamic_cast<DeviceChildCount*>(declaration));
  return D_D3D_OK;
}

HRESULT Device::SetVertexShader(D_IDirect3DVertexShader9* shader) {
  Rebind(vertex_shader_, dynamic_cast<DeviceChildCount*>(shader));
  return D_D3D_OK;
}

HRESULT Device::SetPixelShader(D_IDirect3DPixelShader9* shader) {
  Rebind(pixel_shader_, dynamic_cast<DeviceChildCount*>(shader));
  return D_D3D_OK;
}

HRESULT Device::SetVertexShaderConstantF(UINT start, const float* data, UINT count) {
  return StoreRegisters<4>(&vertex_shader_constants_, kFloatRegisters, start, data, count);
}

HRESULT Device::SetPixelShaderConstantF(UINT start, const float* data, UINT count) {
  return StoreRegisters<4>(&pixel_shader_constants_, kFloatRegisters, start, data, count);
}

HRESULT Device::SetVertexShaderConstantI(UINT start, const int* data, UINT count) {
  return StoreRegisters<4>(&vertex_shader_int_constants_, kIntRegisters, start, data, count);
}

HRESULT Device::GetVertexShaderConstantI(UINT start, int* data, UINT count) {
  return LoadRegisters<4>(vertex_shader_int_constants_, kIntRegisters, start, data, count);
}

HRESULT Device::SetVertexShaderConstantB(UINT start, const BOOL* data, UINT count) {
  return StoreRegisters<1>(&vertex_shader_bool_constants_, kBoolRegisters, start, data, count);
}

HRESULT Device::GetVertexShaderConstantB(UINT start, BOOL* data, UINT count) {
  return LoadRegisters<1>(vertex_shader_bool_constants_, kBoolRegisters, start, data, count);
}

HRESULT Device::SetPixelShaderConstantI(UINT start, const int* data, UINT count) {
  return StoreRegisters<4>(&pixel_shader_int_constants_, kIntRegisters, start, data, count);
}

HRESULT Device::GetPixelShaderConstantI(UINT start, int* data, UINT count) {
  return LoadRegisters<4>(pixel_shader_int_constants_, kIntRegisters, start, data, count);
}

HRESULT Device::SetPixelShaderConstantB(UINT start, const BOOL* data, UINT count) {
  return StoreRegisters<1>(&pixel_shader_bool_constants_, kBoolRegisters, start, data, count);
}

HRESULT Device::GetPixelShaderConstantB(UINT start, BOOL* data, UINT count) {
  return LoadRegisters<1>(pixel_shader_bool_constants_, kBoolRegisters, start, data, count);
}

}  // namespace wqplat
