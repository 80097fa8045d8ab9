// The one-input, one-output filters: the copy transform (each input sample
// becomes a new output sample), the in-place transform (the sample is
// changed where it lies and passed on, one allocator shared where it can
// be) and the WAV writer that turns PCM into a RIFF WAVE byte stream.
#pragma once

#include "media/filters/base_pin.h"

class D_CTransformFilter;

class D_CTransformInputPin : public D_CBaseInputPin {
 public:
  D_CTransformInputPin(const char* objectName, D_CTransformFilter* filter, HRESULT* result, LPCWSTR pinName);

  HRESULT CheckConnect(D_IPin* pin) override;
  HRESULT BreakConnect() override;
  HRESULT CompleteConnect(D_IPin* pin) override;
  HRESULT CheckMediaType(const D_CMediaType* type) override;
  HRESULT SetMediaType(const D_CMediaType* type) override;
  HRESULT CheckStreaming() override;
  HRESULT QueryId(LPWSTR* id) override;

  HRESULT Receive(D_IMediaSample* sample) override;
  HRESULT EndOfStream() override;
  HRESULT BeginFlush() override;
  HRESULT EndFlush() override;
  HRESULT NewSegment(D_REFERENCE_TIME start, D_REFERENCE_TIME stop, double rate) override;

  // The base input pin's receive checks alone.
  HRESULT BaseReceive(D_IMediaSample* sample) { return D_CBaseInputPin::Receive(sample); }

 protected:
  D_CTransformFilter* transform_;
};

class D_CTransformOutputPin : public D_CBaseOutputPin {
 public:
  D_CTransformOutputPin(const char* objectName, D_CTransformFilter* filter, HRESULT* result, LPCWSTR pinName);

  HRESULT NonDelegatingQueryInterface(REFIID iid, void** object) override;
  ~D_CTransformOutputPin() override;
  HRESULT CheckConnect(D_IPin* pin) override;
  HRESULT BreakConnect() override;
  HRESULT CompleteConnect(D_IPin* pin) override;
  HRESULT SetMediaType(const D_CMediaType* type) override;
  HRESULT CheckMediaType(const D_CMediaType* type) override;
  HRESULT DecideBufferSize(D_IMemAllocator* allocator, D_ALLOCATOR_PROPERTIES* properties) override;
  HRESULT GetMediaType(int position, D_CMediaType* type) override;
  HRESULT QueryId(LPWSTR* id) override;
  HRESULT Notify(D_IBaseFilter* sender, D_Quality quality) override;

 protected:
  D_CTransformFilter* transform_;
  IUnknown* position_ = nullptr;
};

class D_CTransformFilter : public D_CBaseFilter {
 public:
  D_CTransformFilter(const char* name, IUnknown* outer, REFCLSID clsid);
  ~D_CTransformFilter() override;

  int GetPinCount() override { return 2; }
  D_CBasePin* GetPin(int n) override;
  HRESULT FindPin(LPCWSTR id, D_IPin** pin) override;
  HRESULT Stop() override;
  HRESULT Pause() override;

  virtual HRESULT Transform(D_IMediaSample*, D_IMediaSample*) { return E_UNEXPECTED; }
  virtual HRESULT CheckInputType(const D_CMediaType* type) = 0;
  virtual HRESULT CheckTransform(const D_CMediaType* input, const D_CMediaType* output) = 0;
  virtual HRESULT DecideBufferSize(D_IMemAllocator* allocator, D_ALLOCATOR_PROPERTIES* properties) = 0;
  virtual HRESULT GetMediaType(int position, D_CMediaType* type) = 0;
  virtual HRESULT StartStreaming() { return S_OK; }
  virtual HRESULT StopStreaming() { return S_OK; }
  virtual HRESULT AlterQuality(D_Quality) { return S_FALSE; }
  virtual HRESULT SetMediaType(D_PIN_DIRECTION, const D_CMediaType*) { return S_OK; }
  virtual HRESULT CheckConnect(D_PIN_DIRECTION, D_IPin*) { return S_OK; }
  virtual HRESULT BreakConnect(D_PIN_DIRECTION) { return S_OK; }
  virtual HRESULT CompleteConnect(D_PIN_DIRECTION, D_IPin*) { return S_OK; }
  virtual HRESULT Receive(D_IMediaSample* sample);
  virtual HRESULT EndOfStream();
  virtual HRESULT BeginFlush();
  virtual HRESULT EndFlush();
  virtual HRESULT NewSegment(D_REFERENCE_TIME start, D_REFERENCE_TIME stop, double rate);

  D_CTransformInputPin* InputPin() const { return input_; }
  D_CTransformOutputPin* OutputPin() const { return output_; }
  CRITICAL_SECTION* ReceiveLock() { return &receiveLock_; }

 protected:
  // Makes both pins on first use (none when either cannot be made).
  virtual void MakePins();
  HRESULT InitializeOutputSample(D_IMediaSample* input, D_IMediaSample** output);

  BOOL eosDelivered_ = FALSE;
  BOOL sampleSkipped_ = FALSE;
  BOOL qualityChanged_ = FALSE;
  CRITICAL_SECTION filterLock_;
  CRITICAL_SECTION receiveLock_;
  D_CTransformInputPin* input_ = nullptr;
  D_CTransformOutputPin* output_ = nullptr;
};

// ---- In place ----------------------------------------------------------------------

class D_CTransInPlaceFilter;

class D_CTransInPlaceInputPin : public D_CTransformInputPin {
 public:
  D_CTransInPlaceInputPin(const char* objectName, D_CTransInPlaceFilter* filter, HRESULT* result,
                          LPCWSTR pinName);

  HRESULT GetAllocator(D_IMemAllocator** allocator) override;
  HRESULT NotifyAllocator(D_IMemAllocator* allocator, BOOL readOnly) override;
  HRESULT EnumMediaTypes(D_IEnumMediaTypes** types) override;
  HRESULT CheckMediaType(const D_CMediaType* type) override;
  HRESULT GetAllocatorRequirements(D_ALLOCATOR_PROPERTIES* properties) override;
  HRESULT CompleteConnect(D_IPin* pin) override;

  D_IMemAllocator* PeekAllocator() const { return allocator_; }

 protected:
  D_CTransInPlaceFilter* inPlace_;
  BOOL upstreamReadOnly_ = FALSE;
};

class D_CTransInPlaceOutputPin : public D_CTransformOutputPin {
 public:
  D_CTransInPlaceOutputPin(const char* objectName, D_CTransInPlaceFilter* filter, HRESULT* result,
                           LPCWSTR pinName);

  HRESULT EnumMediaTypes(D_IEnumMediaTypes** types) override;
  HRESULT CheckMediaType(const D_CMediaType* type) override;
  HRESULT CompleteConnect(D_IPin* pin) override;

 protected:
  D_CTransInPlaceFilter* inPlace_;
};

class D_CTransInPlaceFilter : public D_CTransformFilter {
 public:
  D_CTransInPlaceFilter(const char* name, IUnknown* outer, REFCLSID clsid, HRESULT* result, bool modifiesData);

  HRESULT CompleteConnect(D_PIN_DIRECTION direction, D_IPin* pin) override;
  HRESULT DecideBufferSize(D_IMemAllocator* allocator, D_ALLOCATOR_PROPERTIES* properties) override;
  HRESULT CheckTransform(const D_CMediaType*, const D_CMediaType*) override { return S_OK; }
  HRESULT GetMediaType(int, D_CMediaType*) override { return E_UNEXPECTED; }
  HRESULT Transform(D_IMediaSample*, D_IMediaSample*) override { return E_UNEXPECTED; }
  HRESULT Receive(D_IMediaSample* sample) override;
  virtual HRESULT Transform(D_IMediaSample* sample) = 0;

  bool ModifiesData() const { return modifiesData_ != 0; }
  bool UsingDifferentAllocators() const;
  D_CTransInPlaceInputPin* InPlaceInput() const { return static_cast<D_CTransInPlaceInputPin*>(input_); }
  // A new output buffer holding the source's data, times and flags.
  D_IMediaSample* Copy(D_IMediaSample* source);

 protected:
  void MakePins() override;

  BYTE modifiesData_;
};

// ---- The WAV writer ------------------------------------------------------------------

class D_CWavDestFilter;

class D_CWavDestOutputPin : public D_CTransformOutputPin {
 public:
  D_CWavDestOutputPin(D_CTransformFilter* filter, HRESULT* result);
  HRESULT EnumMediaTypes(D_IEnumMediaTypes** types) override;
  HRESULT CheckMediaType(const D_CMediaType* type) override;
};

class D_CWavDestFilter : public D_CTransformFilter {
 public:
  static D_CWavDestFilter* Create(IUnknown* outer, HRESULT* result);
  D_CWavDestFilter(IUnknown* outer, HRESULT* result);

  HRESULT CheckInputType(const D_CMediaType* type) override;
  HRESULT CheckTransform(const D_CMediaType* input, const D_CMediaType* output) override;
  HRESULT GetMediaType(int position, D_CMediaType* type) override;
  HRESULT DecideBufferSize(D_IMemAllocator* allocator, D_ALLOCATOR_PROPERTIES* properties) override;
  HRESULT StartStreaming() override;
  HRESULT StopStreaming() override;
  HRESULT Transform(D_IMediaSample* input, D_IMediaSample* output) override;
  HRESULT Receive(D_IMediaSample* sample) override;

  DWORD BytesWritten() const { return written_; }
  DWORD HeaderSize() const { return headerSize_; }

 protected:
  void MakePins() override {}

 private:
  DWORD written_ = 0;
  DWORD headerSize_ = 0;
};

// {3C78B8E2-6C4D-11D1-ADE2-0000F8754B99}
inline constexpr CLSID kWavDestClassId = {
    0x3C78B8E2, 0x6C4D, 0x11D1, {0xAD, 0xE2, 0x00, 0x00, 0xF8, 0x75, 0x4B, 0x99}};
