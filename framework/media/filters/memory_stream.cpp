// The memory stream under the asynchronous reader, with its arrival-rate
// throttle.
#include <algorithm>
#include <cstring>

#include "media/filters/async_io.h"

D_CMemStream* D_CMemStream::Create(const BYTE* data, LONGLONG length, DWORD rate) {
  if (rate == 0) return nullptr;
  return new D_CMemStream(data, length, rate);
}

D_CMemStream::D_CMemStream(const BYTE* data, LONGLONG length, DWORD rate)
    : data_(data), length_(length), rate_(rate != 0 ? rate : kNoThrottle), startTime_(timeGetTime()) {
  InitializeCriticalSection(&lock_);
}

D_CMemStream::~D_CMemStream() { DeleteCriticalSection(&lock_); }

HRESULT D_CMemStream::SetPointer(LONGLONG position) {
  if (position < 0 || position > length_) return S_FALSE;
  position_ = position;
  return S_OK;
}

HRESULT D_CMemStream::Read(BYTE* buffer, DWORD bytes, BOOL, LPDWORD read) {
  Lock();
  const DWORD now = timeGetTime();
  LONGLONG count = bytes;
  if (position_ + count > length_) count = length_ - position_;
  // The bytes up to the end of this read arrive at the stream's rate.
  const DWORD arrival = static_cast<DWORD>(position_ + count) / rate_;
  if (now - startTime_ < arrival) Sleep(startTime_ + arrival - now);
  std::memcpy(buffer, data_ + static_cast<DWORD>(position_), static_cast<std::size_t>(count));
  position_ += count;
  *read = static_cast<DWORD>(count);
  Unlock();
  return S_OK;
}

LONGLONG D_CMemStream::Size(LONGLONG* available) {
  if (available != nullptr) {
    const DWORD elapsed = timeGetTime() - startTime_;
    const auto arrived = static_cast<LONGLONG>(static_cast<ULONGLONG>(elapsed) * rate_);
    *available = std::min(length_, arrived);
  }
  return length_;
}
