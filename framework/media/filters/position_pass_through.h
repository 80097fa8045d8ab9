// Position and seeking for a filter at the end of a graph: every question
// goes to the pin upstream of the filter's input pin, asked afresh on each
// call. The renderer's kind also knows the media time of the sample being
// rendered, so its current position comes from there.
#pragma once

#include "media/filters/com_object.h"
#include "media/filters/base_dispatch.h"

class D_CMediaPosition : public D_IMediaPosition, public D_CUnknown {
 public:
  D_CMediaPosition(const char* name, IUnknown* outer);

  D_DELEGATE_UNKNOWN_TO_OWNER

  HRESULT GetTypeInfoCount(UINT* count) override { return dispatch_.GetTypeInfoCount(count); }
  HRESULT GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return dispatch_.GetTypeInfo(D_IID_IMediaPosition, index, locale, info);
  }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
    return dispatch_.GetIDsOfNames(D_IID_IMediaPosition, names, count, locale, ids);
  }
  HRESULT Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                 EXCEPINFO* exception, UINT* argumentError) override;

 private:
  D_CBaseDispatch dispatch_;
};

class D_CPosPassThru : public D_IMediaSeeking, public D_CMediaPosition {
 public:
  D_CPosPassThru(const char* name, IUnknown* outer, HRESULT* result, D_IPin* pin);

  D_DELEGATE_UNKNOWN_TO_OWNER

  HRESULT NonDelegatingQueryInterface(REFIID iid, void** object) override;
  virtual HRESULT GetMediaTime(LONGLONG* current, LONGLONG* stop);

  // IMediaSeeking.
  HRESULT GetCapabilities(DWORD* capabilities) override;
  HRESULT CheckCapabilities(DWORD* capabilities) override;
  HRESULT IsFormatSupported(const GUID* format) override;
  HRESULT QueryPreferredFormat(GUID* format) override;
  HRESULT GetTimeFormat(GUID* format) override;
  HRESULT IsUsingTimeFormat(const GUID* format) override;
  HRESULT SetTimeFormat(const GUID* format) override;
  HRESULT GetDuration(LONGLONG* duration) override;
  HRESULT GetStopPosition(LONGLONG* stop) override;
  HRESULT GetCurrentPosition(LONGLONG* current) override;
  HRESULT ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                            const GUID* sourceFormat) override;
  HRESULT SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) override;
  HRESULT GetPositions(LONGLONG* current, LONGLONG* stop) override;
  HRESULT GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
  HRESULT SetRate(double rate) override;
  HRESULT GetRate(double* rate) override;
  HRESULT GetPreroll(LONGLONG* preroll) override;

  // IMediaPosition.
  HRESULT get_Duration(D_REFTIME* length) override;
  HRESULT put_CurrentPosition(D_REFTIME time) override;
  HRESULT get_CurrentPosition(D_REFTIME* time) override;
  HRESULT get_StopTime(D_REFTIME* time) override;
  HRESULT put_StopTime(D_REFTIME time) override;
  HRESULT get_PrerollTime(D_REFTIME* time) override;
  HRESULT put_PrerollTime(D_REFTIME time) override;
  HRESULT put_Rate(double rate) override;
  HRESULT get_Rate(double* rate) override;
  HRESULT CanSeekForward(LONG* can) override;
  HRESULT CanSeekBackward(LONG* can) override;

 protected:
  HRESULT GetPeerSeeking(D_IMediaSeeking** peer);
  HRESULT GetPeer(D_IMediaPosition** peer);

 private:
  template <class Method, class... Args>
  HRESULT ForwardSeeking(Method method, Args... args);
  template <class Method, class... Args>
  HRESULT ForwardPosition(Method method, Args... args);

  D_IPin* pin_;  // not referenced
};

class D_CRendererPosPassThru : public D_CPosPassThru {
 public:
  D_CRendererPosPassThru(const char* name, IUnknown* outer, HRESULT* result, D_IPin* pin);
  ~D_CRendererPosPassThru() override;

  HRESULT RegisterMediaTime(D_IMediaSample* sample);
  HRESULT ResetMediaTime();
  // At the end of the stream the position is the stream's stop position.
  HRESULT EOS();
  HRESULT GetMediaTime(LONGLONG* current, LONGLONG* stop) override;

 private:
  CRITICAL_SECTION lock_;
  LONGLONG mediaStart_ = 0;
  LONGLONG mediaStop_ = 0;
  BOOL reset_ = TRUE;
};
