// Renderers: a filter with one input pin that schedules each sample against
// the graph's reference clock, sends the end of the stream at the right
// time and handles pause, run, stop and flushing; the video kind adds frame
// statistics and the decision to draw a late frame at once or drop it.
#pragma once

#include <atomic>

#include "media/filters/base_pin.h"
#include "media/filters/position_pass_through.h"

class D_CBaseRenderer;

class D_CRendererInputPin : public D_CBaseInputPin {
 public:
  D_CRendererInputPin(D_CBaseRenderer* renderer, HRESULT* result, LPCWSTR pinName);

  HRESULT BreakConnect() override;
  HRESULT CompleteConnect(D_IPin* pin) override;
  HRESULT SetMediaType(const D_CMediaType* type) override;
  HRESULT CheckMediaType(const D_CMediaType* type) override;
  HRESULT Active() override;
  HRESULT Inactive() override;

  HRESULT QueryId(LPWSTR* id) override;
  HRESULT EndOfStream() override;
  HRESULT BeginFlush() override;
  HRESULT EndFlush() override;
  HRESULT Receive(D_IMediaSample* sample) override;

  // The base input pin's receive checks, for the renderer.
  HRESULT BaseReceive(D_IMediaSample* sample) { return D_CBaseInputPin::Receive(sample); }
  void ClearRunTimeError() { runTimeError_ = 0; }

 private:
  D_CBaseRenderer* renderer_;
};

class D_CBaseRenderer : public D_CBaseFilter {
 public:
  D_CBaseRenderer(REFCLSID clsid, const char* name, IUnknown* outer, HRESULT* result);
  ~D_CBaseRenderer() override;

  HRESULT NonDelegatingQueryInterface(REFIID iid, void** object) override;
  int GetPinCount() override { return 1; }
  D_CBasePin* GetPin(int n) override;

  virtual HRESULT GetMediaPositionInterface(REFIID iid, void** object);
  virtual void SourceThreadCanWait(BOOL canWait);
  virtual HRESULT WaitForRenderTime();
  virtual HRESULT CompleteStateChange(D_FILTER_STATE oldState);
  virtual void OnReceiveFirstSample(D_IMediaSample*) {}
  virtual void OnRenderStart(D_IMediaSample*) {}
  virtual void OnRenderEnd(D_IMediaSample*) {}
  virtual HRESULT OnStartStreaming() { return S_OK; }
  virtual HRESULT OnStopStreaming() { return S_OK; }
  virtual void OnWaitStart() {}
  virtual void OnWaitEnd() {}
  virtual void PrepareRender() {}
  virtual BOOL ScheduleSample(D_IMediaSample* sample);
  virtual HRESULT GetSampleTimes(D_IMediaSample* sample, D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop);
  virtual HRESULT ShouldDrawSampleNow(D_IMediaSample*, D_REFERENCE_TIME*, D_REFERENCE_TIME*) { return S_FALSE; }
  virtual HRESULT SendEndOfStream();
  virtual HRESULT ResetEndOfStream();
  virtual HRESULT EndOfStream();
  virtual HRESULT CancelNotification();
  virtual HRESULT ClearPendingSample();
  virtual HRESULT Active() { return S_OK; }
  virtual HRESULT Inactive();
  virtual HRESULT StartStreaming();
  virtual HRESULT StopStreaming();
  virtual HRESULT BeginFlush();
  virtual HRESULT EndFlush();
  virtual HRESULT BreakConnect();
  virtual HRESULT SetMediaType(const D_CMediaType*) { return S_OK; }
  virtual HRESULT CompleteConnect(D_IPin* pin);
  virtual HRESULT PrepareReceive(D_IMediaSample* sample);
  virtual HRESULT Receive(D_IMediaSample* sample);
  virtual BOOL HaveCurrentSample();
  virtual D_IMediaSample* GetCurrentSample();
  virtual HRESULT Render(D_IMediaSample* sample);
  virtual HRESULT DoRenderSample(D_IMediaSample* sample) = 0;
  virtual HRESULT CheckMediaType(const D_CMediaType* type) = 0;

  // IBaseFilter.
  HRESULT Stop() override;
  HRESULT Pause() override;
  HRESULT Run(D_REFERENCE_TIME start) override;
  HRESULT GetState(DWORD timeout, D_FILTER_STATE* state) override;
  HRESULT FindPin(LPCWSTR id, D_IPin** pin) override;

  CRITICAL_SECTION* ObjectLock() { return &objectLock_; }
  CRITICAL_SECTION* RendererLock() { return &rendererLock_; }
  D_CRendererInputPin* InputPin() const { return inputPin_; }
  bool IsStreaming() const { return streaming_ != 0; }
  bool IsEndOfStream() const { return endOfStream_ != 0; }
  bool IsEndOfStreamDelivered() const { return endOfStreamDelivered_ != 0; }
  // Called by the end-of-stream timer.
  void TimerCallback(UINT timerId);
  // Delivers EC_COMPLETE (under the renderer lock, only while streaming).
  void NotifyEndOfStream();

 protected:
  // Waits until no Receive is inside, dispatching messages meanwhile.
  void WaitForReceiveToComplete();
  // GetState's wait for the ready event with sent messages handled.
  DWORD WaitDispatchingMessages(DWORD timeout);
  void KillEndOfStreamTimer();

  D_CRendererPosPassThru* position_ = nullptr;
  D_CAMEvent renderEvent_{FALSE};
  D_CAMEvent abortEvent_{TRUE};
  D_CAMEvent readyEvent_{TRUE};
  BOOL abort_ = FALSE;
  BOOL streaming_ = FALSE;
  DWORD_PTR adviseCookie_ = 0;
  D_IMediaSample* pendingSample_ = nullptr;
  BOOL endOfStream_ = FALSE;
  BOOL endOfStreamDelivered_ = FALSE;
  D_CRendererInputPin* inputPin_ = nullptr;
  CRITICAL_SECTION objectLock_;
  CRITICAL_SECTION rendererLock_;
  D_IQualityControl* qualitySink_ = nullptr;
  BOOL repaint_ = TRUE;
  volatile LONG inReceive_ = 0;
  D_REFERENCE_TIME lastStopTime_ = 0;
  UINT endOfStreamTimer_ = 0;
  std::atomic<UINT> timerBeingKilled_{0};
  CRITICAL_SECTION interfaceLock_;
};

class D_CBaseVideoRenderer : public D_CBaseRenderer, public D_IQualProp, public D_IQualityControl {
 public:
  D_CBaseVideoRenderer(REFCLSID clsid, const char* name, IUnknown* outer, HRESULT* result);
  ~D_CBaseVideoRenderer() override;

  D_DELEGATE_UNKNOWN_TO_OWNER

  HRESULT NonDelegatingQueryInterface(REFIID iid, void** object) override;
  void OnRenderStart(D_IMediaSample* sample) override;
  void OnRenderEnd(D_IMediaSample* sample) override;
  HRESULT OnStartStreaming() override;
  HRESULT OnStopStreaming() override;
  BOOL ScheduleSample(D_IMediaSample* sample) override;
  HRESULT ShouldDrawSampleNow(D_IMediaSample* sample, D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop) override;
  HRESULT JoinFilterGraph(D_IFilterGraph* graph, LPCWSTR name) override;

  virtual void RecordFrameLateness(int lateMs, int intervalMs);
  virtual void OnDirectRender(D_IMediaSample* sample);
  virtual HRESULT ResetStreamingTimes();
  virtual HRESULT SendQuality(D_REFERENCE_TIME late, D_REFERENCE_TIME now);

  // IQualProp.
  HRESULT get_FramesDroppedInRenderer(int* frames) override;
  HRESULT get_FramesDrawn(int* frames) override;
  HRESULT get_AvgFrameRate(int* rate) override;
  HRESULT get_Jitter(int* jitter) override;
  HRESULT get_AvgSyncOffset(int* offset) override;
  HRESULT get_DevSyncOffset(int* deviation) override;
  // IQualityControl.
  HRESULT Notify(D_IBaseFilter* sender, D_Quality quality) override;
  HRESULT SetSink(D_IQualityControl* sink) override;

  LONG Throttle() const { return throttle_; }

 protected:
  void ThrottleWait();

  int framesDroppedInRow_ = 0;  // -1 right after a drop
  BOOL supplierHandlesQuality_ = FALSE;
  LONG throttle_ = 0;
  int renderAverage_ = 0;
  int lastRenderTime_ = 0;
  DWORD renderStart_ = 0;
  int waitAverage_ = 0;
  int earliness_ = -300000;
  int renderAverage2_ = 0;
  int frameDurationAverage_ = -1;
  int previousDuration_ = 0;
  D_REFERENCE_TIME lastSampleStart_ = 0;
  int framesDropped_ = 0;
  int framesDrawn_ = 0;
  LONGLONG latenessSum_ = 0;
  LONGLONG latenessSquares_ = 0;
  LONGLONG lastDraw_ = -1000;
  LONGLONG intervalSquares_ = 0;
  LONGLONG intervalSum_ = 0;
  int pendingLateness_ = 0;
  int pendingInterval_ = 0;
  int streamingStart_ = 0;
};

// {71771540-2017-11CF-AE26-0020AFD79767}
inline constexpr CLSID kMovieRendererClassId = {
    0x71771540, 0x2017, 0x11CF, {0xAE, 0x26, 0x00, 0x20, 0xAF, 0xD7, 0x97, 0x67}};

// Keeps the latest frame as 24-bit RGB, rows top-down, for the movie layer.
// The renderer owns the buffer; the movie record borrows it.
class D_CMovieRenderer : public D_CBaseVideoRenderer {
 public:
  static D_CMovieRenderer* Create(IUnknown* outer, HRESULT* result);
  D_CMovieRenderer(IUnknown* outer, HRESULT* result);
  ~D_CMovieRenderer() override;

  HRESULT CheckMediaType(const D_CMediaType* type) override;
  HRESULT SetMediaType(const D_CMediaType* type) override;
  HRESULT DoRenderSample(D_IMediaSample* sample) override;

  BYTE* frameBuffer = nullptr;
  volatile LONG newFrame = 0;
  LONG bottomUp = 0;
  LONG frameWidth = 0;
  LONG frameHeight = 0;
  LONG framePitch = 0;
};
