// Cached setters of the view: transforms, viewport, scissor rectangle and
// the dialog-box mode.
#include "WqLib.h"
#include "graphics/cached_send.h"
#include "graphics/camera_lights.h"
#include "graphics/graphics_state.h"
#include "graphics/shader_pack.h"

namespace {

DeviceStateCache& Cache() { return DeviceCache(); }

// Transposed, as the shaders read matrices by columns.
void SendTransposed(int firstRegister, const Matrix4* matrix) {
  Matrix4 transposed;
  MatrixTranspose(&transposed, matrix);
  SetVertexShaderConstants(firstRegister, 4, &transposed.m[0][0]);
}

void SendLightsInViewSpace(const Matrix4* view) {
  for (int slot = 0; slot < 4; ++slot) {
    const D_D3DLIGHT9* light = GetDeviceLightSlot(slot);
    if (light == nullptr) continue;
    Vector3 position;
    Vector3 direction;
    VectorTransform(&position, reinterpret_cast<const Vector3*>(&light->Position), view);
    Matrix4 rotation = *view;
    rotation.m[3][0] = rotation.m[3][1] = rotation.m[3][2] = 0.0f;
    VectorTransform(&direction, reinterpret_cast<const Vector3*>(&light->Direction), &rotation);
    const float registers[2][4] = {{position.x, position.y, position.z, 1.0f},
                                   {direction.x, direction.y, direction.z, 0.0f}};
    SetVertexShaderConstants(14 + 7 * slot, 2, &registers[0][0]);
  }
}

HRESULT EndOpenScene() {
  GraphicsState& g = Graphics();
  if (g.inScene) {
    Device()->EndScene();
    g.inScene = 0;
  }
  return S_OK;
}

}  // namespace

int SetDeviceTransform(const Matrix4* view) {
  if (!Device()) return -1;
  const int result = SendCached(&Cache().view, *view, [&] {
    return Device()->SetTransform(D_D3DTS_VIEW, reinterpret_cast<const D_D3DMATRIX*>(view));
  });
  if (UseProgrammableShader()) {
    SendTransposed(6, view);
    SendLightsInViewSpace(view);
  }
  return result;
}

int SetDeviceProjectionTransform(const Matrix4* projection) {
  if (!Device()) return -1;
  const int result = SendCached(&Cache().projection, *projection, [&] {
    return Device()->SetTransform(D_D3DTS_PROJECTION, reinterpret_cast<const D_D3DMATRIX*>(projection));
  });
  if (UseProgrammableShader()) SendTransposed(2, projection);
  return result;
}

int SetDeviceViewport(const D_D3DVIEWPORT9* viewport) {
  if (!Device()) return -1;
  DeviceStateCache& c = Cache();
  if (!DeviceStateResend && c.viewport.X == viewport->X && c.viewport.Y == viewport->Y &&
      c.viewport.Width == viewport->Width && c.viewport.Height == viewport->Height)
    return 0;
  FlushVertexBatch();
  EndOpenScene();
  c.viewport = *viewport;
  const HRESULT result = Device()->SetViewport(viewport);
  if (FAILED(result))
    return LogWriteFormat("ビューポートのセットに失敗しました ErrorCode %x", static_cast<unsigned>(result));
  return 0;
}

int SetViewportRect(int x1, int y1, int x2, int y2) {
  const D_D3DVIEWPORT9 viewport{static_cast<DWORD>(x1),
                                static_cast<DWORD>(y1),
                                static_cast<DWORD>(x2 - x1),
                                static_cast<DWORD>(y2 - y1),
                                0.0f,
                                1.0f};
  return SetDeviceViewport(&viewport);
}

int SetDeviceScissorRect(const RECT* rect) {
  if (!Device()) return -1;
  return SendCached(&Cache().scissor, *rect, [&] {
    EndOpenScene();
    return Device()->SetScissorRect(rect);
  });
}

int SetDeviceDialogBoxMode(int flag) {
  if (!Device() || !HardwareRendererInUse()) return 0;
  Device()->SetDialogBoxMode(FALSE);
  if (flag) Device()->SetDialogBoxMode(TRUE);
  return 0;
}

int EndSceneAndSetDialogBoxMode(int flag) {
  if (!Device()) return 0;
  FlushVertexBatch();
  EndOpenScene();
  Device()->SetDialogBoxMode(flag ? TRUE : FALSE);
  return 0;
}
