// The base of the layer's renderers: one input pin; a sample is held while
// the filter is paused and rendered when its start time comes on the
// graph's clock (at once without a clock); end of stream becomes
// EC_COMPLETE once the filter runs; seeking passes upstream through the
// system's seeking pass-through, aggregated.
#pragma once

#include <condition_variable>
#include <memory>

#include "quartz/quartz_filter.h"

namespace wqplat {

class RendererFilter : public QuartzFilter, public D_IAMFilterMiscFlags {
 public:
  explicit RendererFilter(const CLSID& clsid);
  ~RendererFilter() override;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return QuartzFilter::AddRef(); }
  ULONG Release() override { return QuartzFilter::Release(); }
  ULONG GetMiscFlags() override { return D_AM_FILTER_MISC_FLAGS_IS_RENDERER; }

  int PinCount() override { return 1; }
  QuartzPin* Pin(int index) override;

 protected:
  virtual HRESULT CheckMediaType(const D_AM_MEDIA_TYPE& type) = 0;
  // Called on the streaming thread when the sample is due.
  virtual HRESULT Render(D_IMediaSample* sample) = 0;
  virtual void OnConnected(const D_AM_MEDIA_TYPE&) {}
  HRESULT OnPause(D_FILTER_STATE old) override;
  HRESULT OnRun(D_REFERENCE_TIME start) override;
  void OnStop() override;

 private:
  class InputPin;
  HRESULT Receive(D_IMediaSample* sample);
  HRESULT EndOfStream();
  void Flush(bool begin);
  // Waits until the sample may be rendered; false when a stop or flush
  // ends the wait.
  bool WaitForRenderTime(D_IMediaSample* sample);
  void DeliverEndOfStreamIfDue();

  std::unique_ptr<InputPin> pin_;
  IUnknown* seeking_ = nullptr;  // the aggregated pass-through's inner unknown
  std::mutex wait_lock_;
  std::condition_variable wake_;
  bool end_of_stream_ = false;
  bool complete_sent_ = false;
  bool flushing_ = false;
};

HRESULT CreateNullRenderer(REFIID iid, void** object);
// The default audio renderer: PCM on the layer's sound device.
HRESULT CreateAudioRenderer(REFIID iid, void** object);

}  // namespace wqplat
