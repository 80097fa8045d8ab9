// Pins: the base pin with its connection logic and media-type agreement,
// the input pin that receives samples, and the output pin that agrees an
// allocator and delivers samples downstream. Pins live on their filter's
// reference count and share its lock.
#pragma once

#include "media/filters/base_filter.h"
#include "media/filters/media_type.h"

constexpr D_REFERENCE_TIME kMaxReferenceTime = 0x7FFFFFFFFFFFFFFFLL;
// The stream id of samples that carry the media itself.
constexpr DWORD kMediaStreamId = 0;

class D_CBasePin : public D_CUnknown, public D_IPin, public D_IQualityControl {
 public:
  D_CBasePin(const char* objectName, D_CBaseFilter* filter, CRITICAL_SECTION* lock, HRESULT* result,
             LPCWSTR pinName, D_PIN_DIRECTION direction);

  D_DELEGATE_UNKNOWN_TO_OWNER

  HRESULT NonDelegatingQueryInterface(REFIID iid, void** object) override;
  ULONG NonDelegatingAddRef() override;
  ULONG NonDelegatingRelease() override;
  ~D_CBasePin() override;
  virtual LONG GetMediaTypeVersion();
  virtual HRESULT Active() { return S_OK; }
  virtual HRESULT Inactive() { return S_OK; }
  virtual HRESULT Run(D_REFERENCE_TIME) { return S_OK; }
  virtual HRESULT CheckMediaType(const D_CMediaType* type) = 0;
  virtual HRESULT SetMediaType(const D_CMediaType* type);
  virtual HRESULT CheckConnect(D_IPin* pin);
  virtual HRESULT BreakConnect() { return S_OK; }
  virtual HRESULT CompleteConnect(D_IPin*) { return S_OK; }
  virtual HRESULT GetMediaType(int position, D_CMediaType* type);
  virtual HRESULT DisconnectInternal();

  // IPin.
  HRESULT Connect(D_IPin* receivePin, const D_AM_MEDIA_TYPE* type) override;
  HRESULT ReceiveConnection(D_IPin* connector, const D_AM_MEDIA_TYPE* type) override;
  HRESULT Disconnect() override;
  HRESULT ConnectedTo(D_IPin** pin) override;
  HRESULT ConnectionMediaType(D_AM_MEDIA_TYPE* type) override;
  HRESULT QueryPinInfo(D_PIN_INFO* info) override;
  HRESULT QueryDirection(D_PIN_DIRECTION* direction) override;
  HRESULT QueryId(LPWSTR* id) override;
  HRESULT QueryAccept(const D_AM_MEDIA_TYPE* type) override;
  HRESULT EnumMediaTypes(D_IEnumMediaTypes** types) override;
  HRESULT QueryInternalConnections(D_IPin**, ULONG*) override { return E_NOTIMPL; }
  HRESULT EndOfStream() override { return S_OK; }
  HRESULT BeginFlush() override = 0;
  HRESULT EndFlush() override = 0;
  HRESULT NewSegment(D_REFERENCE_TIME start, D_REFERENCE_TIME stop, double rate) override;
  // IQualityControl.
  HRESULT Notify(D_IBaseFilter* sender, D_Quality quality) override = 0;
  HRESULT SetSink(D_IQualityControl* sink) override;

  bool IsConnected() const { return connected_ != nullptr; }
  D_IPin* GetConnected() const { return connected_; }
  D_PIN_DIRECTION Direction() const { return direction_; }
  bool IsStopped() const { return filter_->IsStopped(); }
  const D_CMediaType& CurrentMediaType() const { return mediaType_; }
  D_CBaseFilter* Filter() const { return filter_; }
  LPCWSTR Name() const { return name_; }
  D_IPin* AsPin() { return this; }
  D_REFERENCE_TIME CurrentStartTime() const { return segmentStart_; }
  D_REFERENCE_TIME CurrentStopTime() const { return segmentStop_; }
  double CurrentRate() const { return segmentRate_; }
  void IncrementTypeVersion() { InterlockedIncrement(&typeVersion_); }

 protected:
  HRESULT AgreeMediaType(D_IPin* receivePin, const D_CMediaType* type);
  HRESULT TryMediaTypes(D_IPin* receivePin, const D_CMediaType* partial, D_IEnumMediaTypes* types);
  HRESULT AttemptConnection(D_IPin* receivePin, const D_CMediaType* type);
  // The checks Connect and ReceiveConnection share.
  HRESULT CheckConnectable();

  WCHAR* name_;
  D_IPin* connected_ = nullptr;
  D_PIN_DIRECTION direction_;
  CRITICAL_SECTION* lock_;
  BYTE runTimeError_ = 0;
  BYTE canReconnectWhenActive_ = 0;
  BYTE tryMyTypesFirst_ = 0;
  D_CBaseFilter* filter_;
  D_IQualityControl* qualitySink_ = nullptr;
  volatile LONG typeVersion_ = 1;
  D_CMediaType mediaType_;
  D_REFERENCE_TIME segmentStart_ = 0;
  D_REFERENCE_TIME segmentStop_ = kMaxReferenceTime;
  double segmentRate_ = 1.0;
};

class D_CBaseInputPin : public D_CBasePin, public D_IMemInputPin {
 public:
  D_CBaseInputPin(const char* objectName, D_CBaseFilter* filter, CRITICAL_SECTION* lock, HRESULT* result,
                  LPCWSTR pinName);

  D_DELEGATE_UNKNOWN_TO_OWNER

  HRESULT NonDelegatingQueryInterface(REFIID iid, void** object) override;
  ~D_CBaseInputPin() override;
  HRESULT BreakConnect() override;
  HRESULT Inactive() override;
  virtual HRESULT CheckStreaming();

  // IPin.
  HRESULT BeginFlush() override;
  HRESULT EndFlush() override;
  // IQualityControl.
  HRESULT Notify(D_IBaseFilter* sender, D_Quality quality) override;
  // IMemInputPin.
  HRESULT GetAllocator(D_IMemAllocator** allocator) override;
  HRESULT NotifyAllocator(D_IMemAllocator* allocator, BOOL readOnly) override;
  HRESULT GetAllocatorRequirements(D_ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
  HRESULT Receive(D_IMediaSample* sample) override;
  HRESULT ReceiveMultiple(D_IMediaSample** samples, LONG count, LONG* processed) override;
  HRESULT ReceiveCanBlock() override;

  // Passes a quality message upstream: to the sink when set, else to the
  // connected pin.
  HRESULT PassNotify(const D_Quality& quality);
  bool IsFlushing() const { return flushing_ != 0; }
  bool IsReadOnly() const { return readOnly_ != 0; }
  D_IMemAllocator* Allocator() const { return allocator_; }
  const D_AM_SAMPLE2_PROPERTIES& SampleProperties() const { return sampleProperties_; }
  D_IMemInputPin* AsMemInputPin() { return this; }

 protected:
  D_IMemAllocator* allocator_ = nullptr;
  BYTE readOnly_ = 0;
  BYTE flushing_ = 0;
  D_AM_SAMPLE2_PROPERTIES sampleProperties_{};
  // The copy of a sample's new type when the sample could not lend its own.
  D_AM_MEDIA_TYPE* ownedSampleType_ = nullptr;
};

class D_CBaseOutputPin : public D_CBasePin {
 public:
  D_CBaseOutputPin(const char* objectName, D_CBaseFilter* filter, CRITICAL_SECTION* lock, HRESULT* result,
                   LPCWSTR pinName);

  HRESULT CheckConnect(D_IPin* pin) override;
  HRESULT BreakConnect() override;
  HRESULT CompleteConnect(D_IPin* pin) override;
  HRESULT Active() override;
  HRESULT Inactive() override;
  virtual HRESULT DecideAllocator(D_IMemInputPin* pin, D_IMemAllocator** allocator);
  virtual HRESULT DecideBufferSize(D_IMemAllocator* allocator, D_ALLOCATOR_PROPERTIES* request) = 0;
  virtual HRESULT GetDeliveryBuffer(D_IMediaSample** sample, D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop,
                                    DWORD flags);
  virtual HRESULT Deliver(D_IMediaSample* sample);
  virtual HRESULT InitAllocator(D_IMemAllocator** allocator);
  virtual HRESULT DeliverEndOfStream();
  virtual HRESULT DeliverBeginFlush();
  virtual HRESULT DeliverEndFlush();
  virtual HRESULT DeliverNewSegment(D_REFERENCE_TIME start, D_REFERENCE_TIME stop, double rate);

  // IPin: an output pin is not told about the stream by its peer.
  HRESULT EndOfStream() override { return E_UNEXPECTED; }
  HRESULT BeginFlush() override { return E_UNEXPECTED; }
  HRESULT EndFlush() override { return E_UNEXPECTED; }
  // IQualityControl.
  HRESULT Notify(D_IBaseFilter*, D_Quality) override { return E_NOTIMPL; }

  D_IMemAllocator* Allocator() const { return allocator_; }
  D_IMemInputPin* InputPin() const { return inputPin_; }
  // Replaces the allocator, taking a reference on the new one.
  void SetAllocator(D_IMemAllocator* allocator);

 protected:
  D_IMemAllocator* allocator_ = nullptr;
  D_IMemInputPin* inputPin_ = nullptr;
};

// Creates the system's memory allocator.
HRESULT CreateMemoryAllocator(D_IMemAllocator** allocator);
