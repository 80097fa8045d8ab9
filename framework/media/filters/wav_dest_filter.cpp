// The WAV writer: a copy transform that passes PCM on as a byte stream
// whose sample times are file offsets, and writes the RIFF header over the
// first bytes of the downstream stream when it stops.
#include <cstring>

#include "core/base/tracked_allocator.h"
#include "media/filters/allocator.h"
#include "media/filters/transform_filter.h"

namespace {

// "RIFF", its size, "WAVE", "fmt ", the format size, then after the format
// "data" and its size.
constexpr DWORD kHeaderFixedBytes = 28;

BYTE* PutTag(BYTE* out, const char* tag) {
  std::memcpy(out, tag, 4);
  return out + 4;
}

BYTE* PutSize(BYTE* out, DWORD value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<BYTE>(value >> (8 * i));
  return out + 4;
}

}  // namespace

D_CWavDestOutputPin::D_CWavDestOutputPin(D_CTransformFilter* filter, HRESULT* result)
    : D_CTransformOutputPin("WavDest output pin", filter, result, u"Out") {}

HRESULT D_CWavDestOutputPin::EnumMediaTypes(D_IEnumMediaTypes** types) {
  return D_CBaseOutputPin::EnumMediaTypes(types);
}

HRESULT D_CWavDestOutputPin::CheckMediaType(const D_CMediaType* type) {
  if (type == nullptr) return E_POINTER;
  return type->majortype == D_MEDIATYPE_Stream && type->subtype == D_MEDIASUBTYPE_WAVE ? S_OK : S_FALSE;
}

D_CWavDestFilter* D_CWavDestFilter::Create(IUnknown* outer, HRESULT* result) {
  return new D_CWavDestFilter(outer, result);
}

D_CWavDestFilter::D_CWavDestFilter(IUnknown* outer, HRESULT* result)
    : D_CTransformFilter(nullptr, outer, kWavDestClassId) {
  if (FAILED(*result)) return;
  output_ = new D_CWavDestOutputPin(this, result);
  if (output_ == nullptr) {
    *result = E_OUTOFMEMORY;
  } else if (FAILED(*result)) {
    delete output_;
    output_ = nullptr;
  }
  input_ = new D_CTransformInputPin("WavDest input pin", this, result, u"In");
  if (input_ == nullptr) {
    *result = E_OUTOFMEMORY;
  } else if (FAILED(*result)) {
    delete input_;
    input_ = nullptr;
  }
}

HRESULT D_CWavDestFilter::CheckInputType(const D_CMediaType* type) {
  return type->formattype == D_FORMAT_WaveFormatEx ? S_OK : S_FALSE;
}

HRESULT D_CWavDestFilter::CheckTransform(const D_CMediaType* input, const D_CMediaType*) {
  const HRESULT result = CheckInputType(input);
  return FAILED(result) ? result : S_OK;
}

HRESULT D_CWavDestFilter::GetMediaType(int position, D_CMediaType* type) {
  if (position != 0) return D_VFW_S_NO_MORE_ITEMS;
  if (type == nullptr) return E_POINTER;
  type->SetType(&D_MEDIATYPE_Stream);
  type->SetSubtype(&D_MEDIASUBTYPE_WAVE);
  return S_OK;
}

HRESULT D_CWavDestFilter::DecideBufferSize(D_IMemAllocator* allocator, D_ALLOCATOR_PROPERTIES* properties) {
  if (input_ == nullptr || !input_->IsConnected()) return E_UNEXPECTED;
  if (allocator == nullptr || properties == nullptr) return E_POINTER;
  D_IMemAllocator* upstream = nullptr;
  HRESULT result = input_->GetAllocator(&upstream);
  if (FAILED(result)) return result;
  D_ALLOCATOR_PROPERTIES upstreamProperties{};
  result = upstream->GetProperties(&upstreamProperties);
  upstream->Release();
  if (FAILED(result)) return result;
  properties->cBuffers = 1;
  properties->cbAlign = 1;
  properties->cbBuffer = upstreamProperties.cbBuffer;
  D_ALLOCATOR_PROPERTIES actual{};
  result = allocator->SetProperties(properties, &actual);
  if (FAILED(result)) return result;
  if (actual.cBuffers < properties->cBuffers || actual.cbBuffer < properties->cbBuffer) return E_FAIL;
  return S_OK;
}

HRESULT D_CWavDestFilter::StartStreaming() {
  written_ = 0;
  headerSize_ = kHeaderFixedBytes + input_->CurrentMediaType().cbFormat;
  return S_OK;
}

HRESULT D_CWavDestFilter::Transform(D_IMediaSample* input, D_IMediaSample* output) {
  const LONG length = input->GetActualDataLength();
  if (length > output->GetSize()) return E_FAIL;
  BYTE* from = nullptr;
  BYTE* to = nullptr;
  input->GetPointer(&from);
  output->GetPointer(&to);
  if (length > 0) std::memcpy(to, from, static_cast<std::size_t>(length));
  D_REFERENCE_TIME start = 0;
  D_REFERENCE_TIME stop = 0;
  LONGLONG mediaStart = 0;
  LONGLONG mediaEnd = 0;
  if (input->GetMediaTime(&mediaStart, &mediaEnd) == S_OK) output->SetMediaTime(&mediaStart, &mediaEnd);
  D_AM_MEDIA_TYPE* type = nullptr;
  if (input->GetMediaType(&type) == S_OK) {
    output->SetMediaType(type);
    DeleteMediaType(type);
  }
  output->SetActualDataLength(length);
  // The times are the bytes' offsets in the file, behind the header.
  const ULONGLONG end = static_cast<ULONGLONG>(headerSize_) + written_ + static_cast<DWORD>(length);
  if (end > 0xFFFFFFFFull) return E_FAIL;
  start = static_cast<D_REFERENCE_TIME>(headerSize_) + written_;
  stop = start + length;
  written_ += static_cast<DWORD>(length);
  output->SetTime(&start, &stop);
  return S_OK;
}

HRESULT D_CWavDestFilter::Receive(D_IMediaSample* sample) {
  const DWORD before = written_;
  const HRESULT result = D_CTransformFilter::Receive(sample);
  if (result != S_OK) written_ = before;
  return result;
}

HRESULT D_CWavDestFilter::StopStreaming() {
  if (output_ == nullptr || !output_->IsConnected()) return E_FAIL;
  IStream* stream = nullptr;
  HRESULT result = output_->GetConnected()->QueryInterface(IID_IStream, reinterpret_cast<void**>(&stream));
  if (FAILED(result)) return result;
  const D_CMediaType& format = input_->CurrentMediaType();
  auto* header = static_cast<BYTE*>(TrackedAllocZero(headerSize_, "", 0));
  if (header == nullptr) {
    stream->Release();
    return E_OUTOFMEMORY;
  }
  BYTE* out = PutTag(header, "RIFF");
  out = PutSize(out, written_ + headerSize_ - 8);
  out = PutTag(out, "WAVE");
  out = PutTag(out, "fmt ");
  out = PutSize(out, format.cbFormat);
  if (format.cbFormat != 0) std::memcpy(out, format.pbFormat, format.cbFormat);
  out += format.cbFormat;
  out = PutTag(out, "data");
  PutSize(out, written_);
  LARGE_INTEGER origin{};
  result = stream->Seek(origin, STREAM_SEEK_SET, nullptr);
  if (SUCCEEDED(result)) result = stream->Write(header, headerSize_, nullptr);
  TrackedFree(header);
  stream->Release();
  return result;
}
