// A media sample: one buffer of a pool with its times, flags and optional
// media type.
#include <algorithm>
#include <cstring>

#include "media/filters/allocator.h"
#include "media/filters/media_type.h"

namespace {

constexpr DWORD kSettableSampleFlags = 0x1DF;
constexpr DWORD kPropertiesSize = sizeof(D_AM_SAMPLE2_PROPERTIES);

}  // namespace

D_CMediaSample::D_CMediaSample(const char*, D_CBaseAllocator* allocator, HRESULT*, BYTE* buffer, LONG length)
    : buffer_(buffer), actualLength_(length), bufferSize_(length), allocator_(allocator) {}

D_CMediaSample::~D_CMediaSample() { DropMediaType(); }

void D_CMediaSample::DropMediaType() {
  DeleteMediaType(mediaType_);
  mediaType_ = nullptr;
}

HRESULT D_CMediaSample::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == D_IID_IMediaSample || iid == D_IID_IMediaSample2 || iid == IID_IUnknown)
    return ReturnInterface(static_cast<D_IMediaSample2*>(this), object);
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG D_CMediaSample::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG D_CMediaSample::Release() {
  LONG count;
  if (references_ == 1) {
    references_ = 0;
    count = 0;
  } else {
    count = InterlockedDecrement(&references_);
  }
  if (count != 0) return static_cast<ULONG>(count);
  // Back to the pool, clean for its next user.
  SetMediaType(nullptr);
  flags_ = 0;
  typeSpecificFlags_ = 0;
  streamId_ = 0;
  allocator_->ReleaseBuffer(this);
  return 0;
}

HRESULT D_CMediaSample::SetFlag(DWORD flag, BOOL value) {
  if (value) {
    flags_ |= flag;
  } else {
    flags_ &= ~flag;
  }
  return S_OK;
}

HRESULT D_CMediaSample::GetPointer(BYTE** buffer) {
  if (buffer == nullptr) return E_POINTER;
  *buffer = buffer_;
  return S_OK;
}

HRESULT D_CMediaSample::GetTime(D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop) {
  if (start == nullptr || stop == nullptr) return E_POINTER;
  if (flags_ & D_AM_SAMPLE_STOPVALID) {
    *start = start_;
    *stop = stop_;
    return S_OK;
  }
  if (!(flags_ & D_AM_SAMPLE_TIMEVALID)) return D_VFW_E_SAMPLE_TIME_NOT_SET;
  *start = start_;
  *stop = start_ + 1;
  return D_VFW_S_NO_STOP_TIME;
}

HRESULT D_CMediaSample::SetTime(D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop) {
  if (start == nullptr) {
    flags_ &= ~(D_AM_SAMPLE_TIMEVALID | D_AM_SAMPLE_STOPVALID);
  } else if (stop != nullptr) {
    start_ = *start;
    stop_ = *stop;
    flags_ |= D_AM_SAMPLE_TIMEVALID | D_AM_SAMPLE_STOPVALID;
  } else {
    start_ = *start;
    flags_ |= D_AM_SAMPLE_TIMEVALID;
    flags_ &= ~D_AM_SAMPLE_STOPVALID;
  }
  return S_OK;
}

HRESULT D_CMediaSample::GetMediaTime(LONGLONG* start, LONGLONG* end) {
  if (start == nullptr || end == nullptr) return E_POINTER;
  if (!(flags_ & D_AM_SAMPLE_MEDIATIMEVALID)) return D_VFW_E_MEDIA_TIME_NOT_SET;
  *start = mediaStart_;
  *end = mediaStart_ + mediaEnd_;
  return S_OK;
}

HRESULT D_CMediaSample::SetMediaTime(LONGLONG* start, LONGLONG* end) {
  if (start == nullptr) {
    flags_ &= ~D_AM_SAMPLE_MEDIATIMEVALID;
    return S_OK;
  }
  if (end == nullptr) return E_POINTER;
  mediaStart_ = *start;
  mediaEnd_ = static_cast<LONG>(static_cast<std::uint32_t>(*end - *start));
  flags_ |= D_AM_SAMPLE_MEDIATIMEVALID;
  return S_OK;
}

HRESULT D_CMediaSample::SetActualDataLength(LONG length) {
  if (length > bufferSize_) return D_VFW_E_BUFFER_OVERFLOW;
  actualLength_ = length;
  return S_OK;
}

HRESULT D_CMediaSample::GetMediaType(D_AM_MEDIA_TYPE** type) {
  if (type == nullptr) return E_POINTER;
  if (!(flags_ & D_AM_SAMPLE_TYPECHANGED)) {
    *type = nullptr;
    return S_FALSE;
  }
  *type = CreateMediaTypeCopy(mediaType_);
  return *type == nullptr ? E_OUTOFMEMORY : S_OK;
}

HRESULT D_CMediaSample::SetMediaType(D_AM_MEDIA_TYPE* type) {
  DropMediaType();
  if (type == nullptr) {
    flags_ &= ~D_AM_SAMPLE_TYPECHANGED;
    return S_OK;
  }
  mediaType_ = CreateMediaTypeCopy(type);
  if (mediaType_ == nullptr) {
    flags_ &= ~D_AM_SAMPLE_TYPECHANGED;
    return E_OUTOFMEMORY;
  }
  flags_ |= D_AM_SAMPLE_TYPECHANGED;
  return S_OK;
}

HRESULT D_CMediaSample::GetProperties(DWORD size, BYTE* properties) {
  if (size == 0) return S_OK;
  if (properties == nullptr) return E_POINTER;
  D_AM_SAMPLE2_PROPERTIES record{};
  record.cbData = std::min(size, kPropertiesSize);
  record.dwTypeSpecificFlags = typeSpecificFlags_;
  record.dwSampleFlags = flags_ & ~D_AM_SAMPLE_MEDIATIMEVALID;
  record.lActual = actualLength_;
  record.tStart = start_;
  record.tStop = stop_;
  record.dwStreamId = streamId_;
  record.pMediaType = (flags_ & D_AM_SAMPLE_TYPECHANGED) ? mediaType_ : nullptr;
  record.pbBuffer = buffer_;
  record.cbBuffer = bufferSize_;
  std::memcpy(properties, &record, record.cbData);
  return S_OK;
}

HRESULT D_CMediaSample::SetProperties(DWORD size, const BYTE* properties) {
  if (size < sizeof(DWORD)) return S_OK;
  if (properties == nullptr) return E_POINTER;
  D_AM_SAMPLE2_PROPERTIES record{};
  std::memcpy(&record, properties, std::min(size, kPropertiesSize));
  const DWORD n = std::min(record.cbData, size);
  if (record.cbData > kPropertiesSize || n > kPropertiesSize) return E_INVALIDARG;
  if (n >= D_SAMPLE_PROPERTIES_THROUGH(dwSampleFlags)) {
    if (record.dwSampleFlags & ~kSettableSampleFlags) return E_INVALIDARG;
    if ((record.dwSampleFlags & D_AM_SAMPLE_TIMEVALID) && !(flags_ & D_AM_SAMPLE_TIMEVALID) &&
        n < D_SAMPLE_PROPERTIES_THROUGH(tStop))
      return E_INVALIDARG;
  }
  if (n >= D_SAMPLE_PROPERTIES_THROUGH(pbBuffer) && record.pbBuffer != nullptr && record.pbBuffer != buffer_)
    return E_INVALIDARG;
  if (n >= D_SAMPLE_PROPERTIES_THROUGH(cbBuffer) && record.cbBuffer != 0 && record.cbBuffer != bufferSize_)
    return E_INVALIDARG;
  if (n >= D_SAMPLE_PROPERTIES_THROUGH(lActual) && record.lActual > bufferSize_) return E_INVALIDARG;
  D_AM_MEDIA_TYPE* newType = nullptr;
  const bool typeGiven = n >= D_SAMPLE_PROPERTIES_THROUGH(pMediaType) &&
                         (record.dwSampleFlags & D_AM_SAMPLE_TYPECHANGED);
  if (typeGiven) {
    if (record.pMediaType == nullptr) return E_POINTER;
    newType = CreateMediaTypeCopy(record.pMediaType);
    if (newType == nullptr) return E_OUTOFMEMORY;
  }
  if (n >= D_SAMPLE_PROPERTIES_THROUGH(dwStreamId)) streamId_ = record.dwStreamId;
  if (n >= D_SAMPLE_PROPERTIES_THROUGH(dwSampleFlags)) {
    flags_ = (record.dwSampleFlags & ~D_AM_SAMPLE_MEDIATIMEVALID) | (flags_ & D_AM_SAMPLE_MEDIATIMEVALID);
    typeSpecificFlags_ = record.dwTypeSpecificFlags;
  } else if (n >= D_SAMPLE_PROPERTIES_THROUGH(dwTypeSpecificFlags)) {
    typeSpecificFlags_ = record.dwTypeSpecificFlags;
  }
  if (n >= D_SAMPLE_PROPERTIES_THROUGH(lActual)) actualLength_ = record.lActual;
  if (n >= D_SAMPLE_PROPERTIES_THROUGH(tStop)) stop_ = record.tStop;
  if (n >= D_SAMPLE_PROPERTIES_THROUGH(tStart)) start_ = record.tStart;
  if (typeGiven) {
    DropMediaType();
    mediaType_ = newType;
  }
  if (mediaType_ != nullptr) {
    flags_ |= D_AM_SAMPLE_TYPECHANGED;
  } else {
    flags_ &= ~D_AM_SAMPLE_TYPECHANGED;
  }
  return S_OK;
}
