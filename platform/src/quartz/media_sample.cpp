#include "quartz/media_sample.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "quartz/media_type_copy.h"

namespace wqplat {
namespace {

constexpr DWORD kSettableFlags = 0x1DF;  // every flag but media time valid

// Whether the first `used` bytes of the record hold the whole field.
#define WQ_COVERS(used, field)                                           \
  ((used) >= offsetof(D_AM_SAMPLE2_PROPERTIES, field) +                  \
                 sizeof(D_AM_SAMPLE2_PROPERTIES::field))

}  // namespace

MediaSample::~MediaSample() { DeleteMediaTypeCopy(media_type_); }

HRESULT MediaSample::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == D_IID_IMediaSample || iid == D_IID_IMediaSample2) {
    AddRef();
    *object = static_cast<D_IMediaSample2*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG MediaSample::Release() {
  const ULONG left = --references_;
  if (left != 0) return left;
  // Back to the pool clean: the next user sees no old type, flags or stream.
  SetMediaType(nullptr);
  flags_ = 0;
  type_flags_ = 0;
  stream_id_ = 0;
  allocator_->ReleaseBuffer(this);
  return 0;
}

HRESULT MediaSample::GetPointer(BYTE** buffer) {
  if (buffer == nullptr) return E_POINTER;
  *buffer = buffer_;
  return S_OK;
}

HRESULT MediaSample::GetTime(D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop) {
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

HRESULT MediaSample::SetTime(D_REFERENCE_TIME* start, D_REFERENCE_TIME* stop) {
  flags_ &= ~(D_AM_SAMPLE_TIMEVALID | D_AM_SAMPLE_STOPVALID);
  if (start == nullptr) return S_OK;
  start_ = *start;
  flags_ |= D_AM_SAMPLE_TIMEVALID;
  if (stop != nullptr) {
    stop_ = *stop;
    flags_ |= D_AM_SAMPLE_STOPVALID;
  }
  return S_OK;
}

HRESULT MediaSample::SetFlag(DWORD flag, BOOL set) {
  flags_ = set ? (flags_ | flag) : (flags_ & ~flag);
  return S_OK;
}

HRESULT MediaSample::SetActualDataLength(LONG length) {
  if (length < 0 || length > size_) return D_VFW_E_BUFFER_OVERFLOW;
  actual_ = length;
  return S_OK;
}

HRESULT MediaSample::GetMediaType(D_AM_MEDIA_TYPE** type) {
  if (type == nullptr) return E_POINTER;
  *type = nullptr;
  if (!(flags_ & D_AM_SAMPLE_TYPECHANGED)) return S_FALSE;
  *type = CreateMediaTypeCopy(*media_type_);
  return *type ? S_OK : E_OUTOFMEMORY;
}

HRESULT MediaSample::SetMediaType(D_AM_MEDIA_TYPE* type) {
  DeleteMediaTypeCopy(media_type_);
  media_type_ = nullptr;
  flags_ &= ~D_AM_SAMPLE_TYPECHANGED;
  if (type == nullptr) return S_OK;
  media_type_ = CreateMediaTypeCopy(*type);
  if (media_type_ == nullptr) return E_OUTOFMEMORY;
  flags_ |= D_AM_SAMPLE_TYPECHANGED;
  return S_OK;
}

HRESULT MediaSample::GetMediaTime(LONGLONG* start, LONGLONG* end) {
  if (start == nullptr || end == nullptr) return E_POINTER;
  if (!(flags_ & D_AM_SAMPLE_MEDIATIMEVALID)) return D_VFW_E_MEDIA_TIME_NOT_SET;
  *start = media_start_;
  *end = media_start_ + media_length_;
  return S_OK;
}

HRESULT MediaSample::SetMediaTime(LONGLONG* start, LONGLONG* end) {
  if (start == nullptr) {
    flags_ &= ~D_AM_SAMPLE_MEDIATIMEVALID;
    return S_OK;
  }
  if (end == nullptr) return E_POINTER;
  media_start_ = *start;
  media_length_ = static_cast<LONG>(*end - *start);
  flags_ |= D_AM_SAMPLE_MEDIATIMEVALID;
  return S_OK;
}

HRESULT MediaSample::GetProperties(DWORD size, BYTE* properties) {
  if (size == 0) return S_OK;
  if (properties == nullptr) return E_POINTER;
  const DWORD used = std::min<DWORD>(size, sizeof(D_AM_SAMPLE2_PROPERTIES));
  D_AM_SAMPLE2_PROPERTIES record{};
  record.cbData = used;
  record.dwTypeSpecificFlags = type_flags_;
  record.dwSampleFlags = flags_ & ~D_AM_SAMPLE_MEDIATIMEVALID;
  record.lActual = actual_;
  record.tStart = start_;
  record.tStop = stop_;
  record.dwStreamId = stream_id_;
  record.pMediaType = media_type_;
  record.pbBuffer = buffer_;
  record.cbBuffer = size_;
  std::memcpy(properties, &record, used);
  return S_OK;
}

HRESULT MediaSample::CheckProperties(const D_AM_SAMPLE2_PROPERTIES& record, DWORD used) const {
  if (WQ_COVERS(used, dwSampleFlags)) {
    if (record.dwSampleFlags & ~kSettableFlags) return E_INVALIDARG;
    const bool time_newly_valid =
        (record.dwSampleFlags & D_AM_SAMPLE_TIMEVALID) && !(flags_ & D_AM_SAMPLE_TIMEVALID);
    if (time_newly_valid && !WQ_COVERS(used, tStop)) return E_INVALIDARG;
  }
  if (WQ_COVERS(used, pbBuffer) && record.pbBuffer != nullptr && record.pbBuffer != buffer_) {
    return E_INVALIDARG;
  }
  if (WQ_COVERS(used, cbBuffer) && record.cbBuffer != 0 && record.cbBuffer != size_) return E_INVALIDARG;
  if (WQ_COVERS(used, lActual) && (record.lActual < 0 || record.lActual > size_)) return E_INVALIDARG;
  if (WQ_COVERS(used, pMediaType) && (record.dwSampleFlags & D_AM_SAMPLE_TYPECHANGED) &&
      record.pMediaType == nullptr) {
    return E_POINTER;
  }
  return S_OK;
}

HRESULT MediaSample::SetProperties(DWORD size, const BYTE* properties) {
  if (size < sizeof(DWORD)) return S_OK;
  if (properties == nullptr) return E_POINTER;
  D_AM_SAMPLE2_PROPERTIES record{};
  std::memcpy(&record, properties, std::min<DWORD>(size, sizeof(record)));
  const DWORD used = std::min(record.cbData, size);
  if (record.cbData > sizeof(record) || used > sizeof(record)) return E_INVALIDARG;
  if (HRESULT checked = CheckProperties(record, used); FAILED(checked)) return checked;

  D_AM_MEDIA_TYPE* new_type = nullptr;
  const bool replaces_type = WQ_COVERS(used, pMediaType) && (record.dwSampleFlags & D_AM_SAMPLE_TYPECHANGED);
  if (replaces_type) {
    new_type = CreateMediaTypeCopy(*record.pMediaType);
    if (new_type == nullptr) return E_OUTOFMEMORY;
  }
  if (WQ_COVERS(used, dwStreamId)) stream_id_ = record.dwStreamId;
  if (WQ_COVERS(used, dwSampleFlags)) {
    flags_ = (record.dwSampleFlags & kSettableFlags) | (flags_ & D_AM_SAMPLE_MEDIATIMEVALID);
  }
  if (WQ_COVERS(used, dwTypeSpecificFlags)) type_flags_ = record.dwTypeSpecificFlags;
  if (WQ_COVERS(used, lActual)) actual_ = record.lActual;
  if (WQ_COVERS(used, tStop)) stop_ = record.tStop;
  if (WQ_COVERS(used, tStart)) start_ = record.tStart;
  if (replaces_type) {
    DeleteMediaTypeCopy(media_type_);
    media_type_ = new_type;
  }
  flags_ = media_type_ ? (flags_ | D_AM_SAMPLE_TYPECHANGED) : (flags_ & ~D_AM_SAMPLE_TYPECHANGED);
  return S_OK;
}

#undef WQ_COVERS

}  // namespace wqplat
