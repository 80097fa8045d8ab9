// The renderer's input pin: every call that touches the renderer takes the
// object lock, then the renderer lock.
#include "media/filters/base_renderer.h"

D_CRendererInputPin::D_CRendererInputPin(D_CBaseRenderer* renderer, HRESULT* result, LPCWSTR pinName)
    : D_CBaseInputPin("Renderer pin", renderer, renderer->ObjectLock(), result, pinName), renderer_(renderer) {}

HRESULT D_CRendererInputPin::QueryId(LPWSTR* id) { return CopyWideStringToTaskMemory(u"In", id); }

HRESULT D_CRendererInputPin::EndOfStream() {
  D_CAutoLock objectLock(renderer_->ObjectLock());
  D_CAutoLock rendererLock(renderer_->RendererLock());
  const HRESULT result = CheckStreaming();
  if (result != S_OK) return result;
  return renderer_->EndOfStream();
}

HRESULT D_CRendererInputPin::BeginFlush() {
  {
    D_CAutoLock objectLock(renderer_->ObjectLock());
    {
      D_CAutoLock rendererLock(renderer_->RendererLock());
      D_CBaseInputPin::BeginFlush();
      renderer_->BeginFlush();
    }
    renderer_->ResetEndOfStream();
  }
  return S_OK;
}

HRESULT D_CRendererInputPin::EndFlush() {
  D_CAutoLock objectLock(renderer_->ObjectLock());
  D_CAutoLock rendererLock(renderer_->RendererLock());
  const HRESULT result = renderer_->EndFlush();
  if (FAILED(result)) return result;
  return D_CBaseInputPin::EndFlush();
}

HRESULT D_CRendererInputPin::Receive(D_IMediaSample* sample) {
  const HRESULT result = renderer_->Receive(sample);
  if (FAILED(result)) {
    // A failed sample (not a rejected one) aborts the stream once.
    D_CAutoLock objectLock(renderer_->ObjectLock());
    if (!IsStopped() && !IsFlushing() && !runTimeError_ && result != D_VFW_E_SAMPLE_REJECTED) {
      renderer_->NotifyEvent(D_EC_ERRORABORT, result, 0);
      {
        D_CAutoLock rendererLock(renderer_->RendererLock());
        if (renderer_->IsStreaming()) renderer_->NotifyEndOfStream();
      }
      runTimeError_ = 1;
    }
  }
  return result;
}

HRESULT D_CRendererInputPin::BreakConnect() {
  const HRESULT result = renderer_->BreakConnect();
  if (FAILED(result)) return result;
  return D_CBaseInputPin::BreakConnect();
}

HRESULT D_CRendererInputPin::CompleteConnect(D_IPin* pin) {
  const HRESULT result = renderer_->CompleteConnect(pin);
  if (FAILED(result)) return result;
  return D_CBaseInputPin::CompleteConnect(pin);
}

HRESULT D_CRendererInputPin::CheckMediaType(const D_CMediaType* type) { return renderer_->CheckMediaType(type); }

HRESULT D_CRendererInputPin::Active() { return renderer_->Active(); }

HRESULT D_CRendererInputPin::Inactive() {
  runTimeError_ = 0;
  return renderer_->Inactive();
}

HRESULT D_CRendererInputPin::SetMediaType(const D_CMediaType* type) {
  const HRESULT result = D_CBaseInputPin::SetMediaType(type);
  if (FAILED(result)) return result;
  return renderer_->SetMediaType(type);
}
