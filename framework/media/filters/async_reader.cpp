// The asynchronous reader filter, its output pin and the memory reader.
#include "media/filters/async_reader.h"

#include "media/filters/allocator.h"

namespace {

// Sample times on the reader's pin are byte positions: one byte is one
// second of reference time.
constexpr LONGLONG kUnitsPerByte = 10000000;

LONGLONG RoundUpTo(LONGLONG value, LONG alignment) {
  const LONGLONG rest = value % alignment;
  return rest == 0 ? value : value + alignment - rest;
}

}  // namespace

// ---- The pin --------------------------------------------------------------------

D_CAsyncOutputPin::D_CAsyncOutputPin(HRESULT* result, D_CAsyncReader* reader, D_CAsyncIo* io,
                                     CRITICAL_SECTION* lock)
    : D_CBasePin("Async output pin", reader, lock, result, u"Output", D_PINDIR_OUTPUT), reader_(reader), io_(io) {}

D_CAsyncOutputPin::~D_CAsyncOutputPin() = default;

HRESULT D_CAsyncOutputPin::NonDelegatingQueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == D_IID_IAsyncReader) {
    queried_ = TRUE;
    return ReturnInterface(&readerInterface_, object);
  }
  return D_CBasePin::NonDelegatingQueryInterface(iid, object);
}

HRESULT D_CAsyncOutputPin::CheckMediaType(const D_CMediaType* type) {
  D_CAutoLock lock(lock_);
  const D_CMediaType& offered = reader_->MediaType();
  if (type->majortype == offered.majortype && (offered.subtype == GUID{} || offered.subtype == type->subtype))
    return S_OK;
  return S_FALSE;
}

HRESULT D_CAsyncOutputPin::GetMediaType(int position, D_CMediaType* type) {
  if (position < 0) return E_INVALIDARG;
  if (position > 0) return D_VFW_S_NO_MORE_ITEMS;
  if (type == nullptr) return E_POINTER;
  if (reader_ == nullptr) return E_UNEXPECTED;
  *type = reader_->MediaType();
  return S_OK;
}

HRESULT D_CAsyncOutputPin::CheckConnect(D_IPin* pin) {
  queried_ = FALSE;
  return D_CBasePin::CheckConnect(pin);
}

HRESULT D_CAsyncOutputPin::BreakConnect() {
  queried_ = FALSE;
  return S_OK;
}

HRESULT D_CAsyncOutputPin::CompleteConnect(D_IPin* pin) {
  // Only a pin that pulls through the reader interface can use this one.
  if (!queried_) return E_FAIL;
  return D_CBasePin::CompleteConnect(pin);
}

HRESULT D_CAsyncOutputPin::Connect(D_IPin* receivePin, const D_AM_MEDIA_TYPE* type) {
  return reader_->Connect(receivePin, type);
}

HRESULT D_CAsyncOutputPin::TryAllocator(D_IMemAllocator* allocator, D_ALLOCATOR_PROPERTIES* properties,
                                        LONG alignment) {
  D_ALLOCATOR_PROPERTIES actual{};
  const HRESULT result = allocator->SetProperties(properties, &actual);
  if (FAILED(result)) return result;
  return actual.cbAlign % alignment == 0 ? S_OK : D_VFW_E_BADALIGN;
}

HRESULT D_CAsyncOutputPin::RequestAllocator(D_IMemAllocator* preferred, D_ALLOCATOR_PROPERTIES* properties,
                                            D_IMemAllocator** actual) {
  if (preferred == nullptr || properties == nullptr || actual == nullptr) return E_POINTER;
  LONG alignment = 1;
  io_->Alignment(&alignment);
  if (properties->cbAlign == 0 || properties->cbAlign % alignment != 0) properties->cbAlign = alignment;
  if (TryAllocator(preferred, properties, alignment) == S_OK) {
    preferred->AddRef();
    *actual = preferred;
    return S_OK;
  }
  HRESULT result = S_OK;
  auto* created = new D_CMemAllocator("Async reader allocator", nullptr, &result);
  if (created == nullptr) return E_OUTOFMEMORY;
  if (FAILED(result)) {
    delete created;
    return result;
  }
  D_IMemAllocator* allocator = nullptr;
  result = created->NonDelegatingQueryInterface(D_IID_IMemAllocator, reinterpret_cast<void**>(&allocator));
  if (FAILED(result)) {
    delete created;
    return E_NOINTERFACE;
  }
  result = TryAllocator(allocator, properties, alignment);
  if (result != S_OK) {
    allocator->Release();
    return result;
  }
  *actual = allocator;
  return S_OK;
}

HRESULT D_CAsyncOutputPin::SampleRange(D_IMediaSample* sample, LONGLONG* position, LONG* length, BYTE** buffer) {
  D_REFERENCE_TIME start = 0;
  D_REFERENCE_TIME stop = 0;
  HRESULT result = sample->GetTime(&start, &stop);
  if (FAILED(result)) return result;
  *position = start / kUnitsPerByte;
  *length = static_cast<LONG>((stop - start) / kUnitsPerByte);
  LONGLONG total = 0;
  LONGLONG available = 0;
  io_->Length(&total, &available);
  if (*position + *length > total) {
    LONG alignment = 1;
    io_->Alignment(&alignment);
    total = RoundUpTo(total, alignment);
    if (*position + *length > total) {
      *length = static_cast<LONG>(total - *position);
      stop = total * kUnitsPerByte;
      sample->SetTime(&start, &stop);
    }
  }
  return sample->GetPointer(buffer);
}

HRESULT D_CAsyncOutputPin::Request(D_IMediaSample* sample, DWORD_PTR user) {
  if (sample == nullptr) return E_POINTER;
  LONGLONG position = 0;
  LONG length = 0;
  BYTE* buffer = nullptr;
  const HRESULT result = SampleRange(sample, &position, &length, &buffer);
  if (FAILED(result)) return result;
  return io_->Request(position, length, TRUE, buffer, sample, user);
}

HRESULT D_CAsyncOutputPin::WaitForNext(DWORD timeout, D_IMediaSample** sample, DWORD_PTR* user) {
  if (sample == nullptr) return E_POINTER;
  LONG actual = 0;
  LPVOID context = nullptr;
  const HRESULT result = io_->WaitForNext(timeout, &context, user, &actual);
  auto* done = static_cast<D_IMediaSample*>(context);
  if (SUCCEEDED(result)) done->SetActualDataLength(actual);
  *sample = done;
  return result;
}

HRESULT D_CAsyncOutputPin::SyncReadAligned(D_IMediaSample* sample) {
  if (sample == nullptr) return E_POINTER;
  LONGLONG position = 0;
  LONG length = 0;
  BYTE* buffer = nullptr;
  HRESULT result = SampleRange(sample, &position, &length, &buffer);
  if (FAILED(result)) return result;
  LONG actual = 0;
  result = io_->SyncReadAligned(position, length, buffer, &actual, sample);
  sample->SetActualDataLength(actual);
  return result;
}

HRESULT D_CAsyncOutputPin::SyncRead(LONGLONG position, LONG length, BYTE* buffer) {
  return io_->SyncRead(position, length, buffer);
}

HRESULT D_CAsyncOutputPin::Length(LONGLONG* total, LONGLONG* available) { return io_->Length(total, available); }

// ---- The filter -----------------------------------------------------------------

D_CAsyncReader::D_CAsyncReader(const char* name, IUnknown* outer, D_CAsyncStream* stream, HRESULT* result)
    : D_CBaseFilter(name, outer, &filterLock_, kAsyncReaderClassId, result),
      io_(stream),
      pin_(result, this, &io_, &filterLock_) {
  InitializeCriticalSection(&filterLock_);
}

D_CAsyncReader::~D_CAsyncReader() { DeleteCriticalSection(&filterLock_); }

D_CBasePin* D_CAsyncReader::GetPin(int n) { return n == 0 ? &pin_ : nullptr; }

HRESULT D_CAsyncReader::Connect(D_IPin* receivePin, const D_AM_MEDIA_TYPE* type) {
  return pin_.BaseConnect(receivePin, type);
}

// ---- The memory reader ------------------------------------------------------------

D_CMemReader::D_CMemReader(D_CMemStream* stream, const D_CMediaType* type, HRESULT* result)
    : D_CAsyncReader("Mem Reader", nullptr, stream, result) {
  mediaType_ = *type;
}

D_CMemReader* D_CMemReader::Create(D_CMemStream* stream, const D_CMediaType* type, HRESULT* result) {
  auto* reader = new D_CMemReader(stream, type, result);
  if (reader == nullptr && result != nullptr) *result = E_OUTOFMEMORY;
  return reader;
}
