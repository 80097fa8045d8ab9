// The position pass-through objects.
#include "media/filters/position_pass_through.h"

// ---- Dispatch -------------------------------------------------------------------

D_CMediaPosition::D_CMediaPosition(const char* name, IUnknown* outer) : D_CUnknown(name, outer) {}

HRESULT D_CMediaPosition::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                 VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
  if (!(iid == GUID{})) return DISP_E_UNKNOWNINTERFACE;
  ITypeInfo* info = nullptr;
  HRESULT outcome = GetTypeInfo(0, locale, &info);
  if (FAILED(outcome)) return outcome;
  outcome = info->Invoke(static_cast<D_IMediaPosition*>(this), id, flags, parameters, result, exception,
                         argumentError);
  info->Release();
  return outcome;
}

// ---- Pass-through -----------------------------------------------------------------

D_CPosPassThru::D_CPosPassThru(const char* name, IUnknown* outer, HRESULT* result, D_IPin* pin)
    : D_CMediaPosition(name, outer), pin_(pin) {
  if (pin == nullptr && result != nullptr) *result = E_POINTER;
}

HRESULT D_CPosPassThru::NonDelegatingQueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (iid == D_IID_IMediaSeeking) return ReturnInterface(static_cast<D_IMediaSeeking*>(this), object);
  if (iid == D_IID_IMediaPosition) return ReturnInterface(static_cast<D_IMediaPosition*>(this), object);
  return D_CMediaPosition::NonDelegatingQueryInterface(iid, object);
}

HRESULT D_CPosPassThru::GetPeerSeeking(D_IMediaSeeking** peer) {
  *peer = nullptr;
  D_IPin* connected = nullptr;
  if (pin_ == nullptr || FAILED(pin_->ConnectedTo(&connected))) return E_NOTIMPL;
  const HRESULT result = connected->QueryInterface(D_IID_IMediaSeeking, reinterpret_cast<void**>(peer));
  connected->Release();
  return FAILED(result) ? E_NOTIMPL : S_OK;
}

HRESULT D_CPosPassThru::GetPeer(D_IMediaPosition** peer) {
  *peer = nullptr;
  D_IPin* connected = nullptr;
  if (pin_ == nullptr || FAILED(pin_->ConnectedTo(&connected))) return E_NOTIMPL;
  const HRESULT result = connected->QueryInterface(D_IID_IMediaPosition, reinterpret_cast<void**>(peer));
  connected->Release();
  return FAILED(result) ? E_NOTIMPL : S_OK;
}

template <class Method, class... Args>
HRESULT D_CPosPassThru::ForwardSeeking(Method method, Args... args) {
  D_IMediaSeeking* peer = nullptr;
  HRESULT result = GetPeerSeeking(&peer);
  if (FAILED(result)) return result;
  result = (peer->*method)(args...);
  peer->Release();
  return result;
}

template <class Method, class... Args>
HRESULT D_CPosPassThru::ForwardPosition(Method method, Args... args) {
  D_IMediaPosition* peer = nullptr;
  HRESULT result = GetPeer(&peer);
  if (FAILED(result)) return result;
  result = (peer->*method)(args...);
  peer->Release();
  return result;
}

HRESULT D_CPosPassThru::GetMediaTime(LONGLONG*, LONGLONG*) { return E_FAIL; }

HRESULT D_CPosPassThru::GetCapabilities(DWORD* capabilities) {
  return ForwardSeeking(&D_IMediaSeeking::GetCapabilities, capabilities);
}
HRESULT D_CPosPassThru::CheckCapabilities(DWORD* capabilities) {
  return ForwardSeeking(&D_IMediaSeeking::CheckCapabilities, capabilities);
}
HRESULT D_CPosPassThru::IsFormatSupported(const GUID* format) {
  return ForwardSeeking(&D_IMediaSeeking::IsFormatSupported, format);
}
HRESULT D_CPosPassThru::QueryPreferredFormat(GUID* format) {
  return ForwardSeeking(&D_IMediaSeeking::QueryPreferredFormat, format);
}
HRESULT D_CPosPassThru::GetTimeFormat(GUID* format) { return ForwardSeeking(&D_IMediaSeeking::GetTimeFormat, format); }
HRESULT D_CPosPassThru::IsUsingTimeFormat(const GUID* format) {
  return ForwardSeeking(&D_IMediaSeeking::IsUsingTimeFormat, format);
}
HRESULT D_CPosPassThru::SetTimeFormat(const GUID* format) {
  return ForwardSeeking(&D_IMediaSeeking::SetTimeFormat, format);
}
HRESULT D_CPosPassThru::GetDuration(LONGLONG* duration) {
  return ForwardSeeking(&D_IMediaSeeking::GetDuration, duration);
}
HRESULT D_CPosPassThru::GetStopPosition(LONGLONG* stop) {
  return ForwardSeeking(&D_IMediaSeeking::GetStopPosition, stop);
}

HRESULT D_CPosPassThru::GetCurrentPosition(LONGLONG* current) {
  if (SUCCEEDED(GetMediaTime(current, nullptr))) return S_OK;
  return ForwardSeeking(&D_IMediaSeeking::GetCurrentPosition, current);
}

HRESULT D_CPosPassThru::ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                          const GUID* sourceFormat) {
  return ForwardSeeking(&D_IMediaSeeking::ConvertTimeFormat, target, targetFormat, source, sourceFormat);
}
HRESULT D_CPosPassThru::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) {
  return ForwardSeeking(&D_IMediaSeeking::SetPositions, current, currentFlags, stop, stopFlags);
}
HRESULT D_CPosPassThru::GetPositions(LONGLONG* current, LONGLONG* stop) {
  return ForwardSeeking(&D_IMediaSeeking::GetPositions, current, stop);
}
HRESULT D_CPosPassThru::GetAvailable(LONGLONG* earliest, LONGLONG* latest) {
  return ForwardSeeking(&D_IMediaSeeking::GetAvailable, earliest, latest);
}

HRESULT D_CPosPassThru::SetRate(double rate) {
  if (rate == 0.0) return E_INVALIDARG;
  return ForwardSeeking(&D_IMediaSeeking::SetRate, rate);
}

HRESULT D_CPosPassThru::GetRate(double* rate) { return ForwardSeeking(&D_IMediaSeeking::GetRate, rate); }
HRESULT D_CPosPassThru::GetPreroll(LONGLONG* preroll) {
  return ForwardSeeking(&D_IMediaSeeking::GetPreroll, preroll);
}

HRESULT D_CPosPassThru::get_Duration(D_REFTIME* length) {
  return ForwardPosition(&D_IMediaPosition::get_Duration, length);
}
HRESULT D_CPosPassThru::put_CurrentPosition(D_REFTIME time) {
  return ForwardPosition(&D_IMediaPosition::put_CurrentPosition, time);
}
HRESULT D_CPosPassThru::get_CurrentPosition(D_REFTIME* time) {
  return ForwardPosition(&D_IMediaPosition::get_CurrentPosition, time);
}
HRESULT D_CPosPassThru::get_StopTime(D_REFTIME* time) {
  return ForwardPosition(&D_IMediaPosition::get_StopTime, time);
}
HRESULT D_CPosPassThru::put_StopTime(D_REFTIME time) {
  return ForwardPosition(&D_IMediaPosition::put_StopTime, time);
}
HRESULT D_CPosPassThru::get_PrerollTime(D_REFTIME* time) {
  return ForwardPosition(&D_IMediaPosition::get_PrerollTime, time);
}
HRESULT D_CPosPassThru::put_PrerollTime(D_REFTIME time) {
  return ForwardPosition(&D_IMediaPosition::put_PrerollTime, time);
}

HRESULT D_CPosPassThru::put_Rate(double rate) {
  if (rate == 0.0) return E_INVALIDARG;
  return ForwardPosition(&D_IMediaPosition::put_Rate, rate);
}

HRESULT D_CPosPassThru::get_Rate(double* rate) { return ForwardPosition(&D_IMediaPosition::get_Rate, rate); }
HRESULT D_CPosPassThru::CanSeekForward(LONG* can) { return ForwardPosition(&D_IMediaPosition::CanSeekForward, can); }
HRESULT D_CPosPassThru::CanSeekBackward(LONG* can) {
  return ForwardPosition(&D_IMediaPosition::CanSeekBackward, can);
}

// ---- The renderer's pass-through ------------------------------------------------------

D_CRendererPosPassThru::D_CRendererPosPassThru(const char* name, IUnknown* outer, HRESULT* result, D_IPin* pin)
    : D_CPosPassThru(name, outer, result, pin) {
  InitializeCriticalSection(&lock_);
}

D_CRendererPosPassThru::~D_CRendererPosPassThru() { DeleteCriticalSection(&lock_); }

HRESULT D_CRendererPosPassThru::RegisterMediaTime(D_IMediaSample* sample) {
  D_CAutoLock lock(&lock_);
  D_REFERENCE_TIME start = 0;
  D_REFERENCE_TIME stop = 0;
  const HRESULT result = sample->GetTime(&start, &stop);
  if (FAILED(result)) return result;
  mediaStart_ = start;
  mediaStop_ = stop;
  reset_ = FALSE;
  return S_OK;
}

HRESULT D_CRendererPosPassThru::ResetMediaTime() {
  D_CAutoLock lock(&lock_);
  mediaStart_ = 0;
  mediaStop_ = 0;
  reset_ = TRUE;
  return S_OK;
}

HRESULT D_CRendererPosPassThru::EOS() {
  if (reset_) return E_FAIL;
  LONGLONG stop = 0;
  const HRESULT result = GetStopPosition(&stop);
  if (FAILED(result)) return result;
  D_CAutoLock lock(&lock_);
  mediaStart_ = stop;
  mediaStop_ = stop;
  return S_OK;
}

HRESULT D_CRendererPosPassThru::GetMediaTime(LONGLONG* current, LONGLONG* stop) {
  D_CAutoLock lock(&lock_);
  if (reset_) return E_FAIL;
  HRESULT result = ConvertTimeFormat(current, nullptr, mediaStart_, &D_TIME_FORMAT_MEDIA_TIME);
  if (stop != nullptr && SUCCEEDED(result))
    result = ConvertTimeFormat(stop, nullptr, mediaStop_, &D_TIME_FORMAT_MEDIA_TIME);
  return result;
}
