// Small filters for the graph tests: a source that pushes a few samples of
// one type, and a sink that takes a chosen kind of type and records what
// it receives.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/dshow.h"
#include "platform/windows.h"
#include "quartz/media_type_copy.h"
#include "quartz/quartz_filter.h"
#include "quartz/renderer_filter.h"
#include "quartz/streaming_thread.h"

namespace wqtest {

inline const CLSID kTestFilterClsid = {0x1, 0x2, 0x3, {1, 2, 3, 4, 5, 6, 7, 8}};

inline D_AM_MEDIA_TYPE VideoType(LONG width, LONG height) {
  static D_VIDEOINFOHEADER info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biBitCount = 24;
  D_AM_MEDIA_TYPE type{};
  type.majortype = D_MEDIATYPE_Video;
  type.subtype = D_MEDIASUBTYPE_RGB24;
  type.formattype = D_FORMAT_VideoInfo;
  type.cbFormat = sizeof(info);
  type.pbFormat = reinterpret_cast<BYTE*>(&info);
  return type;
}

// Pushes `count` samples of `bytes` bytes, 10 ms apart in stream time,
// then end of stream, once paused.
class TestSource final : public wqplat::QuartzFilter {
 public:
  TestSource(int count, LONG bytes) : QuartzFilter(kTestFilterClsid), pin_(this), count_(count), bytes_(bytes) {}
  ~TestSource() override { thread_.Stop(); }

  int PinCount() override { return 1; }
  wqplat::QuartzPin* Pin(int index) override { return index == 0 ? &pin_ : nullptr; }
  D_IPin* output() { return &pin_; }

 protected:
  HRESULT OnPause(D_FILTER_STATE old) override {
    if (old == D_State_Stopped && pin_.IsConnected()) thread_.Start([this] { Push(); });
    return S_OK;
  }
  void OnStop() override { thread_.Stop(); }

 private:
  class OutputPin final : public wqplat::QuartzOutputPin {
   public:
    explicit OutputPin(TestSource* source) : QuartzOutputPin(source, u"Out"), source_(source) {}

   protected:
    HRESULT CheckMediaType(const D_AM_MEDIA_TYPE& type) override {
      return type.majortype == D_MEDIATYPE_Video ? S_OK : S_FALSE;
    }
    bool GetMediaType(int index, D_AM_MEDIA_TYPE* type) override {
      if (index != 0) return false;
      const D_AM_MEDIA_TYPE proposal = VideoType(4, 2);
      return wqplat::CopyMediaType(*type, proposal);
    }
    void DecideBufferSize(D_ALLOCATOR_PROPERTIES* properties) override {
      properties->cBuffers = 2;
      properties->cbBuffer = source_->bytes_;
    }

   private:
    TestSource* const source_;
  };

  void Push() {
    for (int index = 0; index < count_ && !thread_.stopping(); ++index) {
      D_IMediaSample* sample = nullptr;
      if (FAILED(pin_.GetDeliveryBuffer(&sample))) return;
      D_REFERENCE_TIME start = index * 100'000LL;
      D_REFERENCE_TIME stop = start + 100'000;
      sample->SetTime(&start, &stop);
      sample->SetActualDataLength(bytes_);
      const HRESULT delivered = pin_.Deliver(sample);
      sample->Release();
      if (delivered != S_OK) return;
    }
    if (!thread_.stopping()) pin_.DeliverEndOfStream();
  }

  OutputPin pin_;
  const int count_;
  const LONG bytes_;
  wqplat::StreamingThread thread_;
};

struct ReceivedSample {
  std::vector<BYTE> bytes;
  D_REFERENCE_TIME start = -1;
  D_REFERENCE_TIME stop = -1;
};

// Takes the types `accepts` allows and keeps a copy of every sample.
class TestSink final : public wqplat::RendererFilter {
 public:
  explicit TestSink(std::function<bool(const D_AM_MEDIA_TYPE&)> accepts)
      : RendererFilter(kTestFilterClsid), accepts_(std::move(accepts)) {}

  D_IPin* input() { return Pin(0); }
  std::vector<ReceivedSample> Received() {
    std::lock_guard hold(received_lock_);
    return received_;
  }
  size_t ReceivedCount() {
    std::lock_guard hold(received_lock_);
    return received_.size();
  }
  D_AM_MEDIA_TYPE connected{};
  int connections = 0;

 protected:
  HRESULT CheckMediaType(const D_AM_MEDIA_TYPE& type) override { return accepts_(type) ? S_OK : E_FAIL; }
  void OnConnected(const D_AM_MEDIA_TYPE& type) override {
    ++connections;
    wqplat::FreeMediaTypeContents(connected);
    wqplat::CopyMediaType(connected, type);
  }
  HRESULT Render(D_IMediaSample* sample) override {
    ReceivedSample copy;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    copy.bytes.assign(data, data + sample->GetActualDataLength());
    sample->GetTime(&copy.start, &copy.stop);
    std::lock_guard hold(received_lock_);
    received_.push_back(std::move(copy));
    return S_OK;
  }

 private:
  ~TestSink() override { wqplat::FreeMediaTypeContents(connected); }

  std::function<bool(const D_AM_MEDIA_TYPE&)> accepts_;
  std::mutex received_lock_;
  std::vector<ReceivedSample> received_;
};

inline bool AnyType(const D_AM_MEDIA_TYPE&) { return true; }
inline bool Rgb24Video(const D_AM_MEDIA_TYPE& type) {
  return type.majortype == D_MEDIATYPE_Video && type.subtype == D_MEDIASUBTYPE_RGB24 &&
         type.formattype == D_FORMAT_VideoInfo;
}
inline bool PcmAudio(const D_AM_MEDIA_TYPE& type) {
  return type.majortype == D_MEDIATYPE_Audio && type.subtype == D_MEDIASUBTYPE_PCM;
}

// A new graph on a thread with COM initialised.
inline D_IGraphBuilder* CreateGraph() {
  CoInitialize(nullptr);
  D_IGraphBuilder* graph = nullptr;
  EXPECT_EQ(CoCreateInstance(D_CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                             D_IID_IGraphBuilder, reinterpret_cast<void**>(&graph)),
            S_OK);
  return graph;
}

template <class Interface>
Interface* Query(IUnknown* object, const IID& iid) {
  Interface* found = nullptr;
  EXPECT_EQ(object->QueryInterface(iid, reinterpret_cast<void**>(&found)), S_OK);
  return found;
}

// The filter's reference count, read by a balanced AddRef and Release.
inline ULONG References(D_IBaseFilter* object) {
  object->AddRef();
  return object->Release();
}

}  // namespace wqtest
