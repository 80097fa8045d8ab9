// A device that records the calls it receives, for tests of what the
// framework sends to Direct3D. Every call succeeds and changes nothing.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/d3d9.h"

namespace wqtest {

class RecordingDevice : public D_IDirect3DDevice9 {
 public:
  // One entry per call: the method's name and the numbers that matter.
  std::vector<std::string> calls;

  // The device's render and texture-stage states as last set, and the
  // texture of each stage.
  std::map<DWORD, DWORD> renderStates;
  std::map<std::pair<DWORD, DWORD>, DWORD> stageStates;  // (stage, state)
  std::map<DWORD, D_IDirect3DBaseTexture9*> textures;
  // The vertices of each DrawPrimitiveUP, as bytes, with the stride.
  struct Draw {
    D_D3DPRIMITIVETYPE type;
    UINT stride;
    std::vector<std::uint8_t> bytes;
    int Vertices() const { return static_cast<int>(bytes.size() / stride); }
    float Float(int vertex, int field) const {
      float value;
      std::memcpy(&value, &bytes[vertex * stride + field * 4], 4);
      return value;
    }
  };
  std::vector<Draw> draws;

  // Calls whose text starts with the prefix.
  int Count(const std::string& prefix) const {
    int count = 0;
    for (const std::string& call : calls) count += call.compare(0, prefix.size(), prefix) == 0;
    return count;
  }

  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT TestCooperativeLevel() override {
    Record("TestCooperativeLevel");
    return S_OK;
  }
  HRESULT GetDirect3D(D_IDirect3D9**) override {
    Record("GetDirect3D");
    return S_OK;
  }
  HRESULT GetDeviceCaps(D_D3DCAPS9*) override {
    Record("GetDeviceCaps");
    return S_OK;
  }
  HRESULT GetSwapChain(UINT, D_IDirect3DSwapChain9**) override {
    Record("GetSwapChain");
    return S_OK;
  }
  HRESULT Reset(D_D3DPRESENT_PARAMETERS*) override {
    Record("Reset");
    return S_OK;
  }
  HRESULT Present(const RECT*, const RECT*, HWND, const void*) override {
    Record("Present");
    return S_OK;
  }
  HRESULT GetBackBuffer(UINT, UINT, D_D3DBACKBUFFER_TYPE, D_IDirect3DSurface9**) override {
    Record("GetBackBuffer");
    return S_OK;
  }
  HRESULT SetDialogBoxMode(BOOL) override {
    Record("SetDialogBoxMode");
    return S_OK;
  }
  HRESULT CreateTexture(UINT, UINT, UINT, DWORD, D_D3DFORMAT, D_D3DPOOL, D_IDirect3DTexture9**, HANDLE*) override {
    Record("CreateTexture");
    return S_OK;
  }
  HRESULT CreateVolumeTexture(UINT, UINT, UINT, UINT, DWORD, D_D3DFORMAT, D_D3DPOOL, D_IDirect3DVolumeTexture9**,
                              HANDLE*) override {
    Record("CreateVolumeTexture");
    return S_OK;
  }
  HRESULT CreateVertexBuffer(UINT, DWORD, DWORD, D_D3DPOOL, D_IDirect3DVertexBuffer9**, HANDLE*) override {
    Record("CreateVertexBuffer");
    return S_OK;
  }
  HRESULT CreateIndexBuffer(UINT, DWORD, D_D3DFORMAT, D_D3DPOOL, D_IDirect3DIndexBuffer9**, HANDLE*) override {
    Record("CreateIndexBuffer");
    return S_OK;
  }
  HRESULT CreateRenderTarget(UINT, UINT, D_D3DFORMAT, D_D3DMULTISAMPLE_TYPE, DWORD, BOOL, D_IDirect3DSurface9**,
                             HANDLE*) override {
    Record("CreateRenderTarget");
    return S_OK;
  }
  HRESULT CreateDepthStencilSurface(UINT, UINT, D_D3DFORMAT, D_D3DMULTISAMPLE_TYPE, DWORD, BOOL, D_IDirect3DSurface9**,
                                    HANDLE*) override {
    Record("CreateDepthStencilSurface");
    return S_OK;
  }
  HRESULT UpdateSurface(D_IDirect3DSurface9*, const RECT*, D_IDirect3DSurface9*, const POINT*) override {
    Record("UpdateSurface");
    return S_OK;
  }
  HRESULT UpdateTexture(D_IDirect3DBaseTexture9*, D_IDirect3DBaseTexture9*) override {
    Record("UpdateTexture");
    return S_OK;
  }
  HRESULT GetRenderTargetData(D_IDirect3DSurface9*, D_IDirect3DSurface9*) override {
    Record("GetRenderTargetData");
    return S_OK;
  }
  HRESULT StretchRect(D_IDirect3DSurface9*, const RECT*, D_IDirect3DSurface9*, const RECT*,
                      D_D3DTEXTUREFILTERTYPE) override {
    Record("StretchRect");
    return S_OK;
  }
  HRESULT ColorFill(D_IDirect3DSurface9*, const RECT*, D_D3DCOLOR) override {
    Record("ColorFill");
    return S_OK;
  }
  HRESULT CreateOffscreenPlainSurface(UINT, UINT, D_D3DFORMAT, D_D3DPOOL, D_IDirect3DSurface9**, HANDLE*) override {
    Record("CreateOffscreenPlainSurface");
    return S_OK;
  }
  HRESULT SetRenderTarget(DWORD, D_IDirect3DSurface9*) override {
    Record("SetRenderTarget");
    return S_OK;
  }
  HRESULT GetRenderTarget(DWORD, D_IDirect3DSurface9**) override {
    Record("GetRenderTarget");
    return S_OK;
  }
  HRESULT SetDepthStencilSurface(D_IDirect3DSurface9*) override {
    Record("SetDepthStencilSurface");
    return S_OK;
  }
  HRESULT GetDepthStencilSurface(D_IDirect3DSurface9**) override {
    Record("GetDepthStencilSurface");
    return S_OK;
  }
  HRESULT BeginScene() override {
    Record("BeginScene");
    return S_OK;
  }
  HRESULT EndScene() override {
    Record("EndScene");
    return S_OK;
  }
  HRESULT Clear(DWORD count, const D_D3DRECT*, DWORD flags, D_D3DCOLOR color, float, DWORD) override {
    Record("Clear", count, flags, color);
    return S_OK;
  }
  HRESULT SetTransform(D_D3DTRANSFORMSTATETYPE state, const D_D3DMATRIX*) override {
    Record("SetTransform", state);
    return S_OK;
  }
  HRESULT GetTransform(D_D3DTRANSFORMSTATETYPE, D_D3DMATRIX*) override {
    Record("GetTransform");
    return S_OK;
  }
  HRESULT SetViewport(const D_D3DVIEWPORT9* viewport) override {
    Record("SetViewport", viewport->X, viewport->Y, viewport->Width, viewport->Height);
    return S_OK;
  }
  HRESULT GetViewport(D_D3DVIEWPORT9*) override {
    Record("GetViewport");
    return S_OK;
  }
  HRESULT SetMaterial(const D_D3DMATERIAL9*) override {
    Record("SetMaterial");
    return S_OK;
  }
  HRESULT GetMaterial(D_D3DMATERIAL9*) override {
    Record("GetMaterial");
    return S_OK;
  }
  HRESULT SetLight(DWORD index, const D_D3DLIGHT9*) override {
    Record("SetLight", index);
    return S_OK;
  }
  HRESULT LightEnable(DWORD index, BOOL enable) override {
    Record("LightEnable", index, enable);
    return S_OK;
  }
  HRESULT SetRenderState(D_D3DRENDERSTATETYPE state, DWORD value) override {
    Record("SetRenderState", state, value);
    renderStates[state] = value;
    return S_OK;
  }
  HRESULT GetRenderState(D_D3DRENDERSTATETYPE, DWORD*) override {
    Record("GetRenderState");
    return S_OK;
  }
  HRESULT SetTexture(DWORD stage, D_IDirect3DBaseTexture9* texture) override {
    Record("SetTexture", stage, texture != nullptr);
    textures[stage] = texture;
    return S_OK;
  }
  HRESULT SetTextureStageState(DWORD stage, D_D3DTEXTURESTAGESTATETYPE type, DWORD value) override {
    Record("SetTextureStageState", stage, type, value);
    stageStates[{stage, static_cast<DWORD>(type)}] = value;
    return S_OK;
  }
  HRESULT GetTextureStageState(DWORD, D_D3DTEXTURESTAGESTATETYPE, DWORD*) override {
    Record("GetTextureStageState");
    return S_OK;
  }
  HRESULT SetSamplerState(DWORD sampler, D_D3DSAMPLERSTATETYPE type, DWORD value) override {
    Record("SetSamplerState", sampler, type, value);
    return S_OK;
  }
  HRESULT GetSamplerState(DWORD, D_D3DSAMPLERSTATETYPE, DWORD*) override {
    Record("GetSamplerState");
    return S_OK;
  }
  HRESULT SetScissorRect(const RECT* rect) override {
    Record("SetScissorRect", rect->left, rect->top, rect->right, rect->bottom);
    return S_OK;
  }
  HRESULT DrawPrimitiveUP(D_D3DPRIMITIVETYPE type, UINT primitive_count, const void* data, UINT stride) override {
    Record("DrawPrimitiveUP", type, primitive_count);
    const UINT vertices = type == D_D3DPT_POINTLIST      ? primitive_count
                          : type == D_D3DPT_LINELIST     ? primitive_count * 2
                          : type == D_D3DPT_TRIANGLELIST ? primitive_count * 3
                                                         : primitive_count + 2;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    draws.push_back({type, stride, std::vector<std::uint8_t>(bytes, bytes + vertices * stride)});
    return S_OK;
  }
  HRESULT DrawIndexedPrimitiveUP(D_D3DPRIMITIVETYPE, UINT, UINT, UINT, const void*, D_D3DFORMAT, const void*,
                                 UINT) override {
    Record("DrawIndexedPrimitiveUP");
    return S_OK;
  }
  HRESULT SetFVF(DWORD fvf) override {
    Record("SetFVF", fvf);
    return S_OK;
  }
  HRESULT GetFVF(DWORD*) override {
    Record("GetFVF");
    return S_OK;
  }
  HRESULT CreateVertexDeclaration(const D_D3DVERTEXELEMENT9*, D_IDirect3DVertexDeclaration9**) override {
    Record("CreateVertexDeclaration");
    return S_OK;
  }
  HRESULT SetVertexDeclaration(D_IDirect3DVertexDeclaration9*) override {
    Record("SetVertexDeclaration");
    return S_OK;
  }
  HRESULT CreateVertexShader(const DWORD*, D_IDirect3DVertexShader9**) override {
    Record("CreateVertexShader");
    return S_OK;
  }
  HRESULT SetVertexShader(D_IDirect3DVertexShader9*) override {
    Record("SetVertexShader");
    return S_OK;
  }
  HRESULT SetVertexShaderConstantF(UINT, const float*, UINT) override {
    Record("SetVertexShaderConstantF");
    return S_OK;
  }
  HRESULT CreatePixelShader(const DWORD*, D_IDirect3DPixelShader9**) override {
    Record("CreatePixelShader");
    return S_OK;
  }
  HRESULT SetPixelShader(D_IDirect3DPixelShader9*) override {
    Record("SetPixelShader");
    return S_OK;
  }
  HRESULT SetPixelShaderConstantF(UINT, const float*, UINT) override {
    Record("SetPixelShaderConstantF");
    return S_OK;
  }
  HRESULT SetVertexShaderConstantI(UINT start, const int*, UINT count) override {
    Record("SetVertexShaderConstantI", start, count);
    return S_OK;
  }
  HRESULT GetVertexShaderConstantI(UINT start, int*, UINT count) override {
    Record("GetVertexShaderConstantI", start, count);
    return S_OK;
  }
  HRESULT SetVertexShaderConstantB(UINT start, const BOOL* data, UINT count) override {
    RecordBools("SetVertexShaderConstantB", start, data, count);
    return S_OK;
  }
  HRESULT GetVertexShaderConstantB(UINT start, BOOL*, UINT count) override {
    Record("GetVertexShaderConstantB", start, count);
    return S_OK;
  }
  HRESULT SetPixelShaderConstantI(UINT start, const int*, UINT count) override {
    Record("SetPixelShaderConstantI", start, count);
    return S_OK;
  }
  HRESULT GetPixelShaderConstantI(UINT start, int*, UINT count) override {
    Record("GetPixelShaderConstantI", start, count);
    return S_OK;
  }
  HRESULT SetPixelShaderConstantB(UINT start, const BOOL* data, UINT count) override {
    RecordBools("SetPixelShaderConstantB", start, data, count);
    return S_OK;
  }
  HRESULT GetPixelShaderConstantB(UINT start, BOOL*, UINT count) override {
    Record("GetPixelShaderConstantB", start, count);
    return S_OK;
  }

 private:
  template <typename... Numbers>
  void Record(const char* name, Numbers... numbers) {
    std::string call = name;
    ((call += " " + std::to_string(static_cast<long long>(numbers))), ...);
    calls.push_back(call);
  }
  // The start, then each register's value.
  void RecordBools(const char* name, UINT start, const BOOL* data, UINT count) {
    std::string call = std::string(name) + " " + std::to_string(start);
    for (UINT i = 0; i < count; ++i) call += " " + std::to_string(data[i]);
    calls.push_back(call);
  }
};

// A texture and a surface that only stand for themselves: draws put them
// on stages and render targets, nothing reads their pixels.
class StubTexture : public D_IDirect3DTexture9 {
 public:
  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT GetDevice(D_IDirect3DDevice9**) override { return E_NOTIMPL; }
  D_D3DRESOURCETYPE GetType() override { return D_D3DRTYPE_TEXTURE; }
  DWORD GetLevelCount() override { return 1; }
  HRESULT GetLevelDesc(UINT, D_D3DSURFACE_DESC*) override { return E_NOTIMPL; }
  HRESULT GetSurfaceLevel(UINT, D_IDirect3DSurface9**) override { return E_NOTIMPL; }
  HRESULT LockRect(UINT, D_D3DLOCKED_RECT*, const RECT*, DWORD) override { return E_NOTIMPL; }
  HRESULT UnlockRect(UINT) override { return E_NOTIMPL; }
};

class StubSurface : public D_IDirect3DSurface9 {
 public:
  StubSurface(UINT width, UINT height) : width_(width), height_(height) {}
  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT GetDevice(D_IDirect3DDevice9**) override { return E_NOTIMPL; }
  D_D3DRESOURCETYPE GetType() override { return D_D3DRTYPE_SURFACE; }
  HRESULT GetDesc(D_D3DSURFACE_DESC* desc) override {
    *desc = {};
    desc->Width = width_;
    desc->Height = height_;
    return S_OK;
  }
  HRESULT LockRect(D_D3DLOCKED_RECT*, const RECT*, DWORD) override { return E_NOTIMPL; }
  HRESULT UnlockRect() override { return E_NOTIMPL; }

 private:
  UINT width_, height_;
};

}  // namespace wqtest
