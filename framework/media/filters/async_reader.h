// The asynchronous reader: a source filter whose one output pin offers a
// byte stream through the pull-model reader interface, and the memory
// reader that the sound conversion serves a file image with.
#pragma once

#include "media/filters/async_io.h"
#include "media/filters/base_pin.h"

class D_CAsyncReader;

class D_CAsyncOutputPin : public D_CBasePin {
 public:
  D_CAsyncOutputPin(HRESULT* result, D_CAsyncReader* reader, D_CAsyncIo* io, CRITICAL_SECTION* lock);

  HRESULT NonDelegatingQueryInterface(REFIID iid, void** object) override;
  ~D_CAsyncOutputPin() override;
  HRESULT CheckMediaType(const D_CMediaType* type) override;
  HRESULT CheckConnect(D_IPin* pin) override;
  HRESULT BreakConnect() override;
  HRESULT CompleteConnect(D_IPin* pin) override;
  HRESULT GetMediaType(int position, D_CMediaType* type) override;

  // IPin: the filter's connect runs the base connect.
  HRESULT Connect(D_IPin* receivePin, const D_AM_MEDIA_TYPE* type) override;
  HRESULT BeginFlush() override { return E_UNEXPECTED; }
  HRESULT EndFlush() override { return E_UNEXPECTED; }
  HRESULT Notify(D_IBaseFilter*, D_Quality) override { return E_NOTIMPL; }
  HRESULT BaseConnect(D_IPin* receivePin, const D_AM_MEDIA_TYPE* type) {
    return D_CBasePin::Connect(receivePin, type);
  }

  // The reader interface's operations.
  HRESULT RequestAllocator(D_IMemAllocator* preferred, D_ALLOCATOR_PROPERTIES* properties,
                           D_IMemAllocator** actual);
  HRESULT Request(D_IMediaSample* sample, DWORD_PTR user);
  HRESULT WaitForNext(DWORD timeout, D_IMediaSample** sample, DWORD_PTR* user);
  HRESULT SyncReadAligned(D_IMediaSample* sample);
  HRESULT SyncRead(LONGLONG position, LONG length, BYTE* buffer);
  HRESULT Length(LONGLONG* total, LONGLONG* available);
  D_IAsyncReader* AsAsyncReader() { return &readerInterface_; }

 private:
  // The reader interface shares BeginFlush and EndFlush with the pin
  // interface, so it stands beside the pin and forwards to it.
  class ReaderInterface final : public D_IAsyncReader {
   public:
    explicit ReaderInterface(D_CAsyncOutputPin* pin) : pin_(pin) {}
    HRESULT QueryInterface(REFIID iid, void** object) override {
      return pin_->DelegateQueryInterfaceToOwner(iid, object);
    }
    ULONG AddRef() override { return pin_->DelegateAddRefToOwner(); }
    ULONG Release() override { return pin_->DelegateReleaseToOwner(); }
    HRESULT RequestAllocator(D_IMemAllocator* preferred, D_ALLOCATOR_PROPERTIES* properties,
                             D_IMemAllocator** actual) override {
      return pin_->RequestAllocator(preferred, properties, actual);
    }
    HRESULT Request(D_IMediaSample* sample, DWORD_PTR user) override { return pin_->Request(sample, user); }
    HRESULT WaitForNext(DWORD timeout, D_IMediaSample** sample, DWORD_PTR* user) override {
      return pin_->WaitForNext(timeout, sample, user);
    }
    HRESULT SyncReadAligned(D_IMediaSample* sample) override { return pin_->SyncReadAligned(sample); }
    HRESULT SyncRead(LONGLONG position, LONG length, BYTE* buffer) override {
      return pin_->SyncRead(position, length, buffer);
    }
    HRESULT Length(LONGLONG* total, LONGLONG* available) override { return pin_->Length(total, available); }
    HRESULT BeginFlush() override { return pin_->io_->BeginFlush(); }
    HRESULT EndFlush() override { return pin_->io_->EndFlush(); }

   private:
    D_CAsyncOutputPin* pin_;
  };

  // The byte range a sample's times ask for, trimmed at the stream's end,
  // and the sample's buffer.
  HRESULT SampleRange(D_IMediaSample* sample, LONGLONG* position, LONG* length, BYTE** buffer);
  HRESULT TryAllocator(D_IMemAllocator* allocator, D_ALLOCATOR_PROPERTIES* properties, LONG alignment);

  D_CAsyncReader* reader_;
  D_CAsyncIo* io_;
  BOOL queried_ = FALSE;
  ReaderInterface readerInterface_{this};
};

class D_CAsyncReader : public D_CBaseFilter {
 public:
  D_CAsyncReader(const char* name, IUnknown* outer, D_CAsyncStream* stream, HRESULT* result);
  ~D_CAsyncReader() override;
  int GetPinCount() override { return 1; }
  D_CBasePin* GetPin(int n) override;
  virtual HRESULT Connect(D_IPin* receivePin, const D_AM_MEDIA_TYPE* type);

  const D_CMediaType& MediaType() const { return mediaType_; }
  CRITICAL_SECTION* ReaderLock() { return &filterLock_; }

 protected:
  CRITICAL_SECTION filterLock_;
  D_CAsyncIo io_;
  D_CAsyncOutputPin pin_;
  D_CMediaType mediaType_;
};

class D_CMemReader : public D_CAsyncReader {
 public:
  // Null (and E_OUTOFMEMORY) when the object cannot be allocated.
  static D_CMemReader* Create(D_CMemStream* stream, const D_CMediaType* type, HRESULT* result);
  D_CMemReader(D_CMemStream* stream, const D_CMediaType* type, HRESULT* result);
  HRESULT Register() override { return S_OK; }
  HRESULT Unregister() override { return S_OK; }
};

// {C553F2C0-1529-11D0-B4D1-00805F6CBBEA}
inline constexpr CLSID kAsyncReaderClassId = {
    0xC553F2C0, 0x1529, 0x11D0, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
