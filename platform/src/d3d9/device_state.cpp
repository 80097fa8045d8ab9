#include "d3d9/device_state.h"

#include <bit>

namespace wqplat {
namespace {

D_D3DMATRIX Identity() {
  D_D3DMATRIX matrix{};
  for (int i = 0; i < 4; ++i) matrix.m[i][i] = 1.0f;
  return matrix;
}

DWORD FloatBits(float value) { return std::bit_cast<DWORD>(value); }

}  // namespace

DeviceState InitialDeviceState(int target_width, int target_height) {
  DeviceState state;
  auto& render = state.render;
  render[D_D3DRS_ZENABLE] = D_D3DZB_FALSE;  // no automatic depth buffer
  render[D_D3DRS_FILLMODE] = D_D3DFILL_SOLID;
  render[D_D3DRS_SHADEMODE] = D_D3DSHADE_GOURAUD;
  render[D_D3DRS_ZWRITEENABLE] = TRUE;
  render[D_D3DRS_LASTPIXEL] = TRUE;
  render[D_D3DRS_SRCBLEND] = D_D3DBLEND_ONE;
  render[D_D3DRS_DESTBLEND] = D_D3DBLEND_ZERO;
  render[D_D3DRS_CULLMODE] = D_D3DCULL_CCW;
  render[D_D3DRS_ZFUNC] = D_D3DCMP_LESSEQUAL;
  render[D_D3DRS_ALPHAFUNC] = D_D3DCMP_ALWAYS;
  render[D_D3DRS_FOGEND] = FloatBits(1.0f);
  render[D_D3DRS_FOGDENSITY] = FloatBits(1.0f);
  render[D_D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
  render[D_D3DRS_CLIPPING] = TRUE;
  render[D_D3DRS_LIGHTING] = TRUE;
  render[D_D3DRS_COLORVERTEX] = TRUE;
  render[D_D3DRS_LOCALVIEWER] = TRUE;
  render[D_D3DRS_DIFFUSEMATERIALSOURCE] = D_D3DMCS_COLOR1;
  render[D_D3DRS_SPECULARMATERIALSOURCE] = D_D3DMCS_COLOR2;
  render[D_D3DRS_COLORWRITEENABLE] = 0xF;
  render[D_D3DRS_BLENDOP] = D_D3DBLENDOP_ADD;
  for (DWORD stage = 0; stage < D_D3DMAXTEXTURESTAGES; ++stage) {
    auto& stage_states = state.stages[stage].states;
    stage_states[D_D3DTSS_COLOROP] = stage == 0 ? D_D3DTOP_MODULATE : D_D3DTOP_DISABLE;
    stage_states[D_D3DTSS_ALPHAOP] = stage == 0 ? D_D3DTOP_SELECTARG1 : D_D3DTOP_DISABLE;
    stage_states[D_D3DTSS_COLORARG1] = D_D3DTA_TEXTURE;
    stage_states[D_D3DTSS_COLORARG2] = D_D3DTA_CURRENT;
    stage_states[D_D3DTSS_ALPHAARG1] = D_D3DTA_TEXTURE;
    stage_states[D_D3DTSS_ALPHAARG2] = D_D3DTA_CURRENT;
    stage_states[D_D3DTSS_COLORARG0] = D_D3DTA_CURRENT;
    stage_states[D_D3DTSS_ALPHAARG0] = D_D3DTA_CURRENT;
    stage_states[D_D3DTSS_RESULTARG] = D_D3DTA_CURRENT;
    stage_states[D_D3DTSS_TEXCOORDINDEX] = stage;
    auto& sampler = state.samplers[stage];
    sampler[D_D3DSAMP_ADDRESSU] = D_D3DTADDRESS_WRAP;
    sampler[D_D3DSAMP_ADDRESSV] = D_D3DTADDRESS_WRAP;
    sampler[D_D3DSAMP_ADDRESSW] = D_D3DTADDRESS_WRAP;
    sampler[D_D3DSAMP_MAGFILTER] = D_D3DTEXF_POINT;
    sampler[D_D3DSAMP_MINFILTER] = D_D3DTEXF_POINT;
    sampler[D_D3DSAMP_MIPFILTER] = D_D3DTEXF_NONE;
    sampler[D_D3DSAMP_MAXANISOTROPY] = 1;
    state.texture_transforms[stage] = Identity();
  }
  state.world = state.view = state.projection = Identity();
  state.viewport = {0, 0, static_cast<DWORD>(target_width), static_cast<DWORD>(target_height),
                    0.0f, 1.0f};
  state.scissor = {0, 0, target_width, target_height};
  return state;
}

}  // namespace wqplat
