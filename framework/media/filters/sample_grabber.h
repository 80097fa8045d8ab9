// The sample grabber: an in-place filter that passes every sample through
// unchanged and hands each one, with its times, to its owner's callback.
// The owner sets the media type it accepts, whole or in part, and may make
// it deliver into one buffer of the owner's.
#pragma once

#include "media/filters/allocator.h"
#include "media/filters/transform_filter.h"

// Called for each sample with its start and stop times (the segment start
// added) and whether the input's media type changed since the last call.
using D_SampleGrabberCallback = HRESULT (*)(D_IMediaSample* sample, D_REFERENCE_TIME* start,
                                            D_REFERENCE_TIME* stop, BOOL typeChanged, void* context);

// {6B652FFF-11FE-4FCE-92AD-0266B5D7C78F}
inline constexpr IID kSampleGrabberInterfaceId = {
    0x6B652FFF, 0x11FE, 0x4FCE, {0x92, 0xAD, 0x02, 0x66, 0xB5, 0xD7, 0xC7, 0x8F}};
// {2FA4F053-6D60-4CB0-9503-8E89234F3F73}
inline constexpr CLSID kSampleGrabberClassId = {
    0x2FA4F053, 0x6D60, 0x4CB0, {0x95, 0x03, 0x8E, 0x89, 0x23, 0x4F, 0x3F, 0x73}};

class D_ISampleGrabber : public IUnknown {
 public:
  virtual HRESULT SetAcceptedMediaType(const D_AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT GetConnectedMediaType(D_AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT SetCallback(D_SampleGrabberCallback callback, void* context) = 0;
  virtual HRESULT SetDeliveryBuffer(D_ALLOCATOR_PROPERTIES properties, BYTE* buffer) = 0;

 protected:
  ~D_ISampleGrabber() = default;
};

class D_CSampleGrabberInPin;

// Serves the owner's delivery buffer as its only block.
class D_CSampleGrabberAllocator : public D_CMemAllocator {
 public:
  D_CSampleGrabberAllocator(D_CSampleGrabberInPin* pin, HRESULT* result);
  ~D_CSampleGrabberAllocator() override;
  HRESULT SetProperties(D_ALLOCATOR_PROPERTIES* request, D_ALLOCATOR_PROPERTIES* actual) override;
  HRESULT Alloc() override;

 private:
  D_CSampleGrabberInPin* pin_;
};

class D_CSampleGrabber;

class D_CSampleGrabberInPin : public D_CTransInPlaceInputPin {
 public:
  D_CSampleGrabberInPin(D_CSampleGrabber* filter, HRESULT* result);
  ~D_CSampleGrabberInPin() override;

  HRESULT GetAllocator(D_IMemAllocator** allocator) override;
  HRESULT NotifyAllocator(D_IMemAllocator* allocator, BOOL readOnly) override;
  HRESULT GetAllocatorRequirements(D_ALLOCATOR_PROPERTIES* properties) override;
  HRESULT EnumMediaTypes(D_IEnumMediaTypes** types) override;
  HRESULT SetMediaType(const D_CMediaType* type) override;
  HRESULT GetMediaType(int position, D_CMediaType* type) override;

  HRESULT SetDeliveryBuffer(D_ALLOCATOR_PROPERTIES properties, BYTE* buffer);
  const D_ALLOCATOR_PROPERTIES& DeliveryProperties() const { return deliveryProperties_; }
  BYTE* DeliveryBuffer() const { return deliveryBuffer_; }
  // The flag the next callback receives; the callback clears it.
  BOOL TakeTypeChanged() {
    const BOOL changed = typeChanged_;
    typeChanged_ = FALSE;
    return changed;
  }

 private:
  D_CSampleGrabber* grabber_;
  D_CSampleGrabberAllocator* ownAllocator_ = nullptr;
  D_ALLOCATOR_PROPERTIES deliveryProperties_{};
  BYTE* deliveryBuffer_ = nullptr;
  BOOL typeChanged_ = FALSE;
};

class D_CSampleGrabber : public D_CTransInPlaceFilter {
 public:
  static D_CSampleGrabber* Create(IUnknown* outer, HRESULT* result);
  D_CSampleGrabber(IUnknown* outer, HRESULT* result);
  ~D_CSampleGrabber() override;

  HRESULT NonDelegatingQueryInterface(REFIID iid, void** object) override;
  HRESULT CheckInputType(const D_CMediaType* type) override;
  HRESULT Receive(D_IMediaSample* sample) override;
  HRESULT Transform(D_IMediaSample* sample) override;
  using D_CTransInPlaceFilter::Transform;

  HRESULT SetAcceptedMediaType(const D_AM_MEDIA_TYPE* type);
  HRESULT GetConnectedMediaType(D_AM_MEDIA_TYPE* type);
  HRESULT SetCallback(D_SampleGrabberCallback callback, void* context);
  HRESULT SetDeliveryBuffer(D_ALLOCATOR_PROPERTIES properties, BYTE* buffer);

  const D_CMediaType& AcceptedType() const { return accepted_; }
  D_ISampleGrabber* AsSampleGrabber() { return &grabberInterface_; }

 protected:
  void MakePins() override {}

 private:
  class GrabberInterface final : public D_ISampleGrabber {
   public:
    explicit GrabberInterface(D_CSampleGrabber* grabber) : grabber_(grabber) {}
    HRESULT QueryInterface(REFIID iid, void** object) override {
      return grabber_->DelegateQueryInterfaceToOwner(iid, object);
    }
    ULONG AddRef() override { return grabber_->DelegateAddRefToOwner(); }
    ULONG Release() override { return grabber_->DelegateReleaseToOwner(); }
    HRESULT SetAcceptedMediaType(const D_AM_MEDIA_TYPE* type) override {
      return grabber_->SetAcceptedMediaType(type);
    }
    HRESULT GetConnectedMediaType(D_AM_MEDIA_TYPE* type) override { return grabber_->GetConnectedMediaType(type); }
    HRESULT SetCallback(D_SampleGrabberCallback callback, void* context) override {
      return grabber_->SetCallback(callback, context);
    }
    HRESULT SetDeliveryBuffer(D_ALLOCATOR_PROPERTIES properties, BYTE* buffer) override {
      return grabber_->SetDeliveryBuffer(properties, buffer);
    }

   private:
    D_CSampleGrabber* grabber_;
  };

  GrabberInterface grabberInterface_{this};
  D_CMediaType accepted_;
  D_SampleGrabberCallback callback_ = nullptr;
  CRITICAL_SECTION grabberLock_;
  void* context_ = nullptr;
};
