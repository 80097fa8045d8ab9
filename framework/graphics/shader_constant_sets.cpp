// Shader constants: the framework's float constants, copied whether or not
// programmable shaders are in use, and the user's constant set that can
// take their place on the device.
#include <cstring>

#include "graphics/cached_send.h"
#include "graphics/graphics_state.h"
#include "graphics/shader_pack.h"

namespace {

UserShaderConstantSet g_userConstants;

bool ShadersOnDevice() { return Device() && UseProgrammableShader(); }

template <typename Value, int Registers, int Width, typename Send>
HRESULT SendRange(const ShaderConstantRange<Value, Registers, Width>& range, Send send) {
  if (range.count <= 0) return S_OK;
  // The set is the program's: a range past its register file is refused,
  // never read beyond it.
  if (range.first < 0 || range.first > Registers - range.count) return D_D3DERR_INVALIDCALL;
  return send(static_cast<UINT>(range.first), &range.values[range.first][0], static_cast<UINT>(range.count));
}

HRESULT SendUserSet() {
  D_IDirect3DDevice9* device = Device();
  const UserShaderConstantSet& u = g_userConstants;
  const HRESULT results[] = {
      SendRange(u.vertexFloat, [&](UINT f, const float* v, UINT n) { return device->SetVertexShaderConstantF(f, v, n); }),
      SendRange(u.vertexInt, [&](UINT f, const int* v, UINT n) { return device->SetVertexShaderConstantI(f, v, n); }),
      SendRange(u.vertexBool, [&](UINT f, const BOOL* v, UINT n) { return device->SetVertexShaderConstantB(f, v, n); }),
      SendRange(u.pixelFloat, [&](UINT f, const float* v, UINT n) { return device->SetPixelShaderConstantF(f, v, n); }),
      SendRange(u.pixelInt, [&](UINT f, const int* v, UINT n) { return device->SetPixelShaderConstantI(f, v, n); }),
      SendRange(u.pixelBool, [&](UINT f, const BOOL* v, UINT n) { return device->SetPixelShaderConstantB(f, v, n); }),
  };
  for (HRESULT result : results)
    if (FAILED(result)) return result;
  return S_OK;
}

// The user set may have written over the fog bool registers too, so they
// go back with the float registers.
HRESULT SendFrameworkSet() {
  const DeviceStateCache& c = DeviceCache();
  const HRESULT vertex = Device()->SetVertexShaderConstantF(0, &c.vertexConstants[0][0], kVertexConstantRegisters);
  const HRESULT pixel = Device()->SetPixelShaderConstantF(0, &c.pixelConstants[0][0], kPixelConstantRegisters);
  const int fog = SendFogBoolRegisters(c.fogMode);
  return FAILED(vertex) ? vertex : FAILED(pixel) ? pixel : fog != 0 ? D_D3DERR_INVALIDCALL : S_OK;
}

template <int Registers>
int CopyAndSend(float (*copies)[4], int first, int count, const float* values,
                HRESULT (D_IDirect3DDevice9::*send)(UINT, const float*, UINT)) {
  if (first < 0 || count < 0 || first > Registers - count) return -1;
  std::memcpy(copies[first], values, sizeof(float) * 4 * count);
  if (!ShadersOnDevice()) return 0;
  if (DeviceCache().userConstantSetOn) ApplyShaderConstantSet(0);
  FlushVertexBatch();
  return FAILED((Device()->*send)(first, values, count)) ? -1 : 0;
}

}  // namespace

UserShaderConstantSet& UserShaderConstants() { return g_userConstants; }

int SetVertexShaderConstants(int first, int count, const float* values) {
  return CopyAndSend<kVertexConstantRegisters>(DeviceCache().vertexConstants, first, count, values,
                                               &D_IDirect3DDevice9::SetVertexShaderConstantF);
}

int SetPixelShaderConstants(int first, int count, const float* values) {
  return CopyAndSend<kPixelConstantRegisters>(DeviceCache().pixelConstants, first, count, values,
                                              &D_IDirect3DDevice9::SetPixelShaderConstantF);
}

int ApplyShaderConstantSet(int userSet) {
  if (!ShadersOnDevice()) return 0;
  const int flag = userSet ? 1 : 0;
  return SendCached(&DeviceCache().userConstantSetOn, flag, [&] { return flag ? SendUserSet() : SendFrameworkSet(); });
}

int SendFogBoolRegisters(int fogMode) {
  if (!ShadersOnDevice()) return 0;
  const BOOL registers[4] = {fogMode == 3, fogMode == 1, fogMode == 2, fogMode != 0};
  return FAILED(Device()->SetVertexShaderConstantB(0, registers, 4)) ? -1 : 0;
}
