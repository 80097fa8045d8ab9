// The Direct3D 9 device: fixed-function drawing into OpenGL framebuffer
// objects, presented through the window's presenter.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <vector>

#include "d3d9/device_state.h"
#include "d3d9/exclusive_full_screen.h"
#include "d3d9/gl_context_link.h"
#include "d3d9/gl_state_cache.h"
#include "d3d9/stage_program.h"
#include "d3d9/surface.h"
#include "ole32/com_object.h"
#include "platform/d3d9.h"

namespace wqplat {

class SwapChain;
class Texture;

class Device final : public ComObject<D_IDirect3DDevice9, IID_IDirect3DDevice9> {
 public:
  // Null (with the reason in *result) when the window cannot host OpenGL or
  // the back buffer cannot be made.
  static Device* Create(D_IDirect3D9* direct3d, const D_D3DPRESENT_PARAMETERS& parameters,
                        HRESULT* result);

  HRESULT TestCooperativeLevel() override;
  HRESULT GetDirect3D(D_IDirect3D9** direct3d) override;
  HRESULT GetDeviceCaps(D_D3DCAPS9* caps) override;
  HRESULT GetSwapChain(UINT index, D_IDirect3DSwapChain9** swap_chain) override;
  HRESULT Reset(D_D3DPRESENT_PARAMETERS* parameters) override;
  HRESULT Present(const RECT* source, const RECT* dest, HWND override_window,
                  const void* dirty_region) override;
  HRESULT GetBackBuffer(UINT swap_chain, UINT index, D_D3DBACKBUFFER_TYPE type,
                        D_IDirect3DSurface9** surface) override;
  HRESULT SetDialogBoxMode(BOOL enable) override;

  HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D_D3DFORMAT format,
                        D_D3DPOOL pool, D_IDirect3DTexture9** texture, HANDLE* shared) override;
  HRESULT CreateVolumeTexture(UINT width, UINT height, UINT depth, UINT levels, DWORD usage,
                              D_D3DFORMAT format, D_D3DPOOL pool,
                              D_IDirect3DVolumeTexture9** texture, HANDLE* shared) override;
  HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D_D3DPOOL pool,
                             D_IDirect3DVertexBuffer9** buffer, HANDLE* shared) override;
  HRESULT CreateIndexBuffer(UINT length, DWORD usage, D_D3DFORMAT format, D_D3DPOOL pool,
                            D_IDirect3DIndexBuffer9** buffer, HANDLE* shared) override;
  HRESULT CreateRenderTarget(UINT width, UINT height, D_D3DFORMAT format,
                             D_D3DMULTISAMPLE_TYPE multisample, DWORD quality, BOOL lockable,
                             D_IDirect3DSurface9** surface, HANDLE* shared) override;
  HRESULT CreateDepthStencilSurface(UINT width, UINT height, D_D3DFORMAT format,
                                    D_D3DMULTISAMPLE_TYPE multisample, DWORD quality,
                                    BOOL discard, D_IDirect3DSurface9** surface,
                                    HANDLE* shared) override;
  HRESULT UpdateSurface(D_IDirect3DSurface9* source, const RECT* source_rect,
                        D_IDirect3DSurface9* dest, const POINT* dest_point) override;
  HRESULT UpdateTexture(D_IDirect3DBaseTexture9* source, D_IDirect3DBaseTexture9* dest) override;
  HRESULT GetRenderTargetData(D_IDirect3DSurface9* render_target,
                              D_IDirect3DSurface9* dest) override;
  HRESULT StretchRect(D_IDirect3DSurface9* source, const RECT* source_rect,
                      D_IDirect3DSurface9* dest, const RECT* dest_rect,
                      D_D3DTEXTUREFILTERTYPE filter) override;
  HRESULT ColorFill(D_IDirect3DSurface9* surface, const RECT* rect, D_D3DCOLOR color) override;
  HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D_D3DFORMAT format, D_D3DPOOL pool,
                                      D_IDirect3DSurface9** surface, HANDLE* shared) override;
  HRESULT SetRenderTarget(DWORD index, D_IDirect3DSurface9* surface) override;
  HRESULT GetRenderTarget(DWORD index, D_IDirect3DSurface9** surface) override;
  HRESULT SetDepthStencilSurface(D_IDirect3DSurface9* surface) override;
  HRESULT GetDepthStencilSurface(D_IDirect3DSurface9** surface) override;

  HRESULT BeginScene() override;
  HRESULT EndScene() override;
  HRESULT Clear(DWORD count, const D_D3DRECT* rects, DWORD flags, D_D3DCOLOR color, float z,
                DWORD stencil) override;
  HRESULT SetTransform(D_D3DTRANSFORMSTATETYPE state, const D_D3DMATRIX* matrix) override;
  HRESULT GetTransform(D_D3DTRANSFORMSTATETYPE state, D_D3DMATRIX* matrix) override;
  HRESULT SetViewport(const D_D3DVIEWPORT9* viewport) override;
  HRESULT GetViewport(D_D3DVIEWPORT9* viewport) override;
  HRESULT SetMaterial(const D_D3DMATERIAL9* material) override;
  HRESULT GetMaterial(D_D3DMATERIAL9* material) override;
  HRESULT SetLight(DWORD index, const D_D3DLIGHT9* light) override;
  HRESULT LightEnable(DWORD index, BOOL enable) override;
  HRESULT SetRenderState(D_D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT GetRenderState(D_D3DRENDERSTATETYPE state, DWORD* value) override;
  HRESULT SetTexture(DWORD stage, D_IDirect3DBaseTexture9* texture) override;
  HRESULT SetTextureStageState(DWORD stage, D_D3DTEXTURESTAGESTATETYPE type,
                               DWORD value) override;
  HRESULT GetTextureStageState(DWORD stage, D_D3DTEXTURESTAGESTATETYPE type,
                               DWORD* value) override;
  HRESULT SetSamplerState(DWORD sampler, D_D3DSAMPLERSTATETYPE type, DWORD value) override;
  HRESULT GetSamplerState(DWORD sampler, D_D3DSAMPLERSTATETYPE type, DWORD* value) override;
  HRESULT SetScissorRect(const RECT* rect) override;

  HRESULT DrawPrimitiveUP(D_D3DPRIMITIVETYPE type, UINT primitive_count, const void* vertices,
                          UINT stride) override;
  HRESULT DrawIndexedPrimitiveUP(D_D3DPRIMITIVETYPE type, UINT min_vertex_index,
                                 UINT vertex_count, UINT primitive_count, const void* indices,
                                 D_D3DFORMAT index_format, const void* vertices,
                                 UINT stride) override;
  HRESULT SetFVF(DWORD fvf) override;
  HRESULT GetFVF(DWORD* fvf) override;

  HRESULT CreateVertexDeclaration(const D_D3DVERTEXELEMENT9* elements,
                                  D_IDirect3DVertexDeclaration9** declaration) override;
  HRESULT SetVertexDeclaration(D_IDirect3DVertexDeclaration9* declaration) override;
  HRESULT CreateVertexShader(const DWORD* function, D_IDirect3DVertexShader9** shader) override;
  HRESULT SetVertexShader(D_IDirect3DVertexShader9* shader) override;
  HRESULT SetVertexShaderConstantF(UINT start, const float* data, UINT count) override;
  HRESULT CreatePixelShader(const DWORD* function, D_IDirect3DPixelShader9** shader) override;
  HRESULT SetPixelShader(D_IDirect3DPixelShader9* shader) override;
  HRESULT SetPixelShaderConstantF(UINT start, const float* data, UINT count) override;
  HRESULT SetVertexShaderConstantI(UINT start, const int* data, UINT count) override;
  HRESULT GetVertexShaderConstantI(UINT start, int* data, UINT count) override;
  HRESULT SetVertexShaderConstantB(UINT start, const BOOL* data, UINT count) override;
  HRESULT GetVertexShaderConstantB(UINT start, BOOL* data, UINT count) override;
  HRESULT SetPixelShaderConstantI(UINT start, const int* data, UINT count) override;
  HRESULT GetPixelShaderConstantI(UINT start, int* data, UINT count) override;
  HRESULT SetPixelShaderConstantB(UINT start, const BOOL* data, UINT count) override;
  HRESULT GetPixelShaderConstantB(UINT start, BOOL* data, UINT count) override;

  // For the swap chain.
  HRESULT PresentBackBuffer(const RECT* source, const RECT* dest);
  const D_D3DPRESENT_PARAMETERS& parameters() const { return parameters_; }
  Surface& back_buffer() { return *back_buffer_; }
  // The platform control that loses every device.
  void Lose() { lost_ = true; }

 private:
  Device(D_IDirect3D9* direct3d, const D_D3DPRESENT_PARAMETERS& parameters,
         std::shared_ptr<GlContextLink> gl);
  ~Device() override;
  Surface* NewSurface(int width, int height, const PixelFormat& format, DWORD usage,
                      D_D3DPOOL pool,
                      DeviceChildCount::Ownership ownership = DeviceChildCount::Ownership::kCaller);
  // A render target or depth surface in the default pool.
  HRESULT CreateTargetSurface(const char* call, UINT width, UINT height, D_D3DFORMAT format,
                              D_D3DMULTISAMPLE_TYPE multisample, DWORD usage,
                              D_IDirect3DSurface9** surface);
  void SetupGl();
  // Makes the device's context current with its objects bound.
  void UseGl();
  // Back buffer, automatic depth buffer and state as the parameters ask.
  HRESULT ApplyParameters(const D_D3DPRESENT_PARAMETERS& parameters);
  void ReleaseBindings();

  // Drawing (device_draw.cpp).
  HRESULT Draw(D_D3DPRIMITIVETYPE type, UINT primitive_count, const void* vertices,
               UINT vertex_count, UINT stride, const void* indices, D_D3DFORMAT index_format);
  bool PrepareDraw(bool pretransformed);
  void BindTarget();
  // The GL scissor: the viewport, within the scissor rectangle when that
  // test is on, within `area` when given.
  void ApplyScissor(const RECT* area);
  void ApplyBlendAndDepth();
  void ApplySamplers();
  void LoadVertexLayout(DWORD fvf, UINT stride);

  D_IDirect3D9* direct3d_;
  D_D3DPRESENT_PARAMETERS parameters_;
  ExclusiveFullScreen full_screen_;
  std::shared_ptr<GlContextLink> gl_;
  std::unique_ptr<Surface> back_buffer_;
  std::unique_ptr<SwapChain> swap_chain_;
  // Bindings: each holds a binding count on the object (see device_child.h).
  Surface* render_target_ = nullptr;
  Surface* depth_stencil_ = nullptr;
  std::array<DeviceChildCount*, D_D3DMAXTEXTURESTAGES> stage_bindings_{};
  std::array<Texture*, D_D3DMAXTEXTURESTAGES> textures_{};  // null for a volume texture
  DeviceState state_;
  std::unique_ptr<StageProgramCache> programs_ = std::make_unique<StageProgramCache>();
  GLuint vertex_array_ = 0;
  GLuint vertex_buffer_ = 0;
  GLuint index_buffer_ = 0;
  std::array<GLuint, D_D3DMAXTEXTURESTAGES> samplers_{};
  bool samplers_dirty_ = true;
  GLuint bound_framebuffer_ = 0;
  GLint depth_bits_ = 0;  // of the depth buffer attached to bound_framebuffer_
  GlStateCache gl_state_;
  bool in_scene_ = false;
  bool lost_ = false;
  bool anisotropy_available_ = false;
  // Lights by index: any index, as Direct3D keeps them.
  struct Light {
    D_D3DLIGHT9 light;
    bool enabled;
  };
  std::map<DWORD, Light> lights_;
  std::vector<float> vertex_shader_constants_;
  std::vector<float> pixel_shader_constants_;
  std::vector<int> vertex_shader_int_constants_;  // four per register
  std::vector<int> pixel_shader_int_constants_;
  std::vector<BOOL> vertex_shader_bool_constants_;
  std::vector<BOOL> pixel_shader_bool_constants_;
  DeviceChildCount* vertex_declaration_ = nullptr;
  DeviceChildCount* vertex_shader_ = nullptr;
  DeviceChildCount* pixel_shader_ = nullptr;
};

}  // namespace wqplat
