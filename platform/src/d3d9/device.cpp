// Device life: creation on a window, references, reset and loss, scenes and
// presentation.
#include "d3d9/device.h"

#include <algorithm>

#include "d3d9/adapter.h"
#include "d3d9/d3d9_controls.h"
#include "d3d9/swap_chain.h"
#include "d3d9/texture.h"
#include "ddraw/vertical_blank.h"

namespace wqplat {
namespace {

// Fills in what the program left to the device and checks the rest; the
// device keeps one back buffer without multisampling.
HRESULT AcceptParameters(D_D3DPRESENT_PARAMETERS* parameters) {
  RECT client{};
  if (!GetClientRect(parameters->hDeviceWindow, &client)) return D_D3DERR_INVALIDCALL;
  // Full screen takes its size and format from the program alone.
  if (!parameters->Windowed &&
      (parameters->BackBufferWidth == 0 || parameters->BackBufferHeight == 0 ||
       !IsDisplayFormat(parameters->BackBufferFormat))) {
    return D_D3DERR_INVALIDCALL;
  }
  if (parameters->BackBufferWidth == 0) parameters->BackBufferWidth = std::max<LONG>(1, client.right);
  if (parameters->BackBufferHeight == 0) {
    parameters->BackBufferHeight = std::max<LONG>(1, client.bottom);
  }
  if (parameters->BackBufferFormat == D_D3DFMT_UNKNOWN && parameters->Windowed) {
    parameters->BackBufferFormat = D_D3DFMT_X8R8G8B8;
  }
  if (parameters->BackBufferCount == 0) parameters->BackBufferCount = 1;
  bool format_usable =
      (IsDisplayFormat(parameters->BackBufferFormat) ||
       parameters->BackBufferFormat == D_D3DFMT_A8R8G8B8) &&
      AdapterSupportsFormat(D_D3DUSAGE_RENDERTARGET, D_D3DRTYPE_SURFACE,
                            parameters->BackBufferFormat);
  bool interval_usable = parameters->PresentationInterval == D_D3DPRESENT_INTERVAL_DEFAULT ||
                         parameters->PresentationInterval == D_D3DPRESENT_INTERVAL_ONE ||
                         parameters->PresentationInterval == D_D3DPRESENT_INTERVAL_IMMEDIATE;
  bool swap_usable = parameters->SwapEffect >= D_D3DSWAPEFFECT_DISCARD &&
                     parameters->SwapEffect <= D_D3DSWAPEFFECT_COPY;
  bool depth_usable = !parameters->EnableAutoDepthStencil ||
                      AdapterSupportsFormat(D_D3DUSAGE_DEPTHSTENCIL, D_D3DRTYPE_SURFACE,
                                            parameters->AutoDepthStencilFormat);
  if (!format_usable || !interval_usable || !swap_usable || !depth_usable ||
      parameters->BackBufferCount > 1 || parameters->MultiSampleType != D_D3DMULTISAMPLE_NONE ||
      parameters->BackBufferWidth > 4096 || parameters->BackBufferHeight > 4096) {
    return D_D3DERR_INVALIDCALL;
  }
  return D_D3D_OK;
}

}  // namespace

Device* Device::Create(D_IDirect3D9* direct3d, const D_D3DPRESENT_PARAMETERS& parameters,
                       HRESULT* result) {
  D_D3DPRESENT_PARAMETERS accepted = parameters;
  std::shared_ptr<WindowPresenter> presenter = FindWindowPresenter(accepted.hDeviceWindow);
  *result = presenter ? AcceptParameters(&accepted) : D_D3DERR_INVALIDCALL;
  if (*result != D_D3D_OK) return nullptr;
  auto gl = std::make_shared<GlContextLink>(presenter);
  if (!gl->MakeCurrent()) {
    *result = D_D3DERR_NOTAVAILABLE;
    return nullptr;
  }
  auto* device = new Device(direct3d, accepted, gl);
  *result = device->ApplyParameters(accepted);
  if (*result != D_D3D_OK) {
    device->Release();
    return nullptr;
  }
  return device;
}

Device::Device(D_IDirect3D9* direct3d, const D_D3DPRESENT_PARAMETERS& parameters,
               std::shared_ptr<GlContextLink> gl)
    : direct3d_(direct3d), parameters_(parameters), gl_(std::move(gl)) {
  direct3d_->AddRef();
  swap_chain_ = std::make_unique<SwapChain>(this);
  anisotropy_available_ = ProbeGlDriver().anisotropy;
  SetupGl();
  RegisterDevice(this);
}

Device::~Device() {
  UnregisterDevice(this);
  GlStateCache::Abandon(this);
  gl_->MakeCurrent();
  ReleaseBindings();
  back_buffer_.reset();
  programs_.reset();
  glDeleteSamplers(static_cast<GLsizei>(samplers_.size()), samplers_.data());
  glDeleteBuffers(1, &vertex_buffer_);
  glDeleteBuffers(1, &index_buffer_);
  glDeleteVertexArrays(1, &vertex_array_);
  // Without a device the window goes back to showing GDI's pixels directly.
  gl_->presenter().DetachGl();
  direct3d_->Release();
}

void Device::SetupGl() {
  glGenVertexArrays(1, &vertex_array_);
  glGenBuffers(1, &vertex_buffer_);
  glGenBuffers(1, &index_buffer_);
  glGenSamplers(static_cast<GLsizei>(samplers_.size()), samplers_.data());
  UseGl();
}

void Device::UseGl() {
  gl_->MakeCurrent();
  if (!gl_state_.Claim(this)) return;
  // Another device may have drawn with this context since.
  glBindVertexArray(vertex_array_);
  glBindBuffer(GL_ARRAY_BUFFER, vertex_buffer_);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, index_buffer_);
  for (GLuint stage = 0; stage < samplers_.size(); ++stage) glBindSampler(stage, samplers_[stage]);
  glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);  // flat shading takes the first vertex
  glDisable(GL_DITHER);
  bound_framebuffer_ = 0;
}

void Device::ReleaseBindings() {
  Rebind<Surface>(render_target_, nullptr);
  Rebind<Surface>(depth_stencil_, nullptr);
  for (DeviceChildCount*& binding : stage_bindings_) Rebind<DeviceChildCount>(binding, nullptr);
  textures_.fill(nullptr);
  Rebind<DeviceChildCount>(vertex_declaration_, nullptr);
  Rebind<DeviceChildCount>(vertex_shader_, nullptr);
  Rebind<DeviceChildCount>(pixel_shader_, nullptr);
}

HRESULT Device::ApplyParameters(const D_D3DPRESENT_PARAMETERS& parameters) {
  ReleaseBindings();
  back_buffer_.reset();
  parameters_ = parameters;
  full_screen_.Apply(parameters);
  int width = static_cast<int>(parameters.BackBufferWidth);
  int height = static_cast<int>(parameters.BackBufferHeight);
  back_buffer_.reset(NewSurface(width, height, *FindPixelFormat(parameters.BackBufferFormat),
                                D_D3DUSAGE_RENDERTARGET, D_D3DPOOL_DEFAULT,
                                DeviceChildCount::Ownership::kDevice));
  if (!back_buffer_) return D_D3DERR_OUTOFVIDEOMEMORY;
  if (!(parameters.Flags & D_D3DPRESENTFLAG_LOCKABLE_BACKBUFFER)) back_buffer_->RefuseLocks();
  Rebind(render_target_, back_buffer_.get());
  state_ = InitialDeviceState(width, height);
  lights_.clear();
  samplers_dirty_ = true;
  bound_framebuffer_ = 0;
  if (parameters.EnableAutoDepthStencil) {
    D_IDirect3DSurface9* depth = nullptr;
    HRESULT result = CreateDepthStencilSurface(
        parameters.BackBufferWidth, parameters.BackBufferHeight,
        parameters.AutoDepthStencilFormat, D_D3DMULTISAMPLE_NONE, 0, TRUE, &depth, nullptr);
    if (result != D_D3D_OK) return result;
    SetDepthStencilSurface(depth);
    depth->Release();
    state_.render[D_D3DRS_ZENABLE] = D_D3DZB_TRUE;
  }
  // The new back buffer starts black, as the window does.
  Clear(0, nullptr, D_D3DCLEAR_TARGET, 0, 1.0f, 0);
  return D_D3D_OK;
}

HRESULT Device::TestCooperativeLevel() { return lost_ ? D_D3DERR_DEVICENOTRESET : D_D3D_OK; }

HRESULT Device::Reset(D_D3DPRESENT_PARAMETERS* parameters) {
  // The back buffer is replaced: as in Direct3D, nobody may still hold it.
  if (!parameters || D3d9CallFails("Reset") || back_buffer_->held() || swap_chain_->held()) {
    return D_D3DERR_INVALIDCALL;
  }
  D_D3DPRESENT_PARAMETERS accepted = *parameters;
  if (!accepted.hDeviceWindow) accepted.hDeviceWindow = parameters_.hDeviceWindow;
  HRESULT result = AcceptParameters(&accepted);
  if (result != D_D3D_OK) return result;
  gl_->MakeCurrent();
  result = ApplyParameters(accepted);
  if (result != D_D3D_OK) return result;
  *parameters = accepted;
  lost_ = false;
  return D_D3D_OK;
}

HRESULT Device::GetDirect3D(D_IDirect3D9** direct3d) {
  if (!direct3d) return D_D3DERR_INVALIDCALL;
  direct3d_->AddRef();
  *direct3d = direct3d_;
  return D_D3D_OK;
}

HRESULT Device::GetDeviceCaps(D_D3DCAPS9* caps) {
  if (!caps) return D_D3DERR_INVALIDCALL;
  *caps = AdapterCaps();
  return D_D3D_OK;
}

HRESULT Device::GetSwapChain(UINT index, D_IDirect3DSwapChain9** swap_chain) {
  if (!swap_chain || index != 0 || D3d9CallFails("GetSwapChain")) return D_D3DERR_INVALIDCALL;
  swap_chain_->AddRef();
  *swap_chain = swap_chain_.get();
  return D_D3D_OK;
}

HRESULT Device::GetBackBuffer(UINT swap_chain, UINT index, D_D3DBACKBUFFER_TYPE /*type*/,
                              D_IDirect3DSurface9** surface) {
  if (!surface || swap_chain != 0 || index != 0 || D3d9CallFails("GetBackBuffer")) {
    return D_D3DERR_INVALIDCALL;
  }
  back_buffer_->AddRef();
  *surface = back_buffer_.get();
  return D_D3D_OK;
}

HRESULT Device::SetDialogBoxMode(BOOL enable) {
  // Dialogs need a lockable back buffer, as in Direct3D.
  if (enable && !(parameters_.Flags & D_D3DPRESENTFLAG_LOCKABLE_BACKBUFFER)) {
    return D_D3DERR_INVALIDCALL;
  }
  return D_D3D_OK;
}

HRESULT Device::BeginScene() {
  if (in_scene_ || D3d9CallFails("BeginScene")) return D_D3DERR_INVALIDCALL;
  in_scene_ = true;
  return D_D3D_OK;
}

HRESULT Device::EndScene() {
  if (!in_scene_) return D_D3DERR_INVALIDCALL;
  in_scene_ = false;
  return D_D3D_OK;
}

HRESULT Device::Present(const RECT* source, const RECT* dest, HWND override_window,
                        const void* /*dirty_region*/) {
  if (override_window && override_window != parameters_.hDeviceWindow) {
    return D_D3DERR_INVALIDCALL;
  }
  return PresentBackBuffer(source, dest);
}

HRESULT Device::PresentBackBuffer(const RECT* source, const RECT* dest) {
  if (lost_) return D_D3DERR_DEVICELOST;
  if (D3d9CallFails("Present")) return D_D3DERR_INVALIDCALL;
  RECT from{};
  RECT client{};
  if (!ResolveRect(*back_buffer_, source, &from) ||
      !GetClientRect(parameters_.hDeviceWindow, &client)) {
    return D_D3DERR_INVALIDCALL;
  }
  RECT to = dest ? *dest : client;
  UseGl();
  back_buffer_->UploadIfStale();
  gl_state_.Enable(GL_SCISSOR_TEST, false);  // blits obey the scissor
  gl_->presenter().PresentGlFramebuffer(back_buffer_->framebuffer(), from, to);
  // The target stays as it was attached, and the viewport untouched: only
  // the binding needs restoring.
  if (bound_framebuffer_) glBindFramebuffer(GL_DRAW_FRAMEBUFFER, bound_framebuffer_);
  if (parameters_.PresentationInterval != D_D3DPRESENT_INTERVAL_IMMEDIATE) {
    WaitForNextVerticalBlank();
  }
  return D_D3D_OK;
}

}  // namespace wqplat
