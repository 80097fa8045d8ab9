// The movie renderer: keeps the latest frame as 24-bit RGB, rows top-down,
// in a buffer it owns, and raises a flag for the movie layer after each
// frame. A media-type change swaps the buffer under the renderer lock.
#include <algorithm>
#include <cstring>

#include "core/base/tracked_allocator.h"
#include "media/filters/base_renderer.h"

namespace {

// Frames larger than this are refused rather than allocated.
constexpr LONGLONG kLargestFrameBytes = 1LL << 30;

}  // namespace

D_CMovieRenderer* D_CMovieRenderer::Create(IUnknown* outer, HRESULT* result) {
  auto* renderer = new D_CMovieRenderer(outer, result);
  if (result != nullptr) *result = renderer != nullptr ? S_OK : E_OUTOFMEMORY;
  return renderer;
}

D_CMovieRenderer::D_CMovieRenderer(IUnknown* outer, HRESULT* result)
    : D_CBaseVideoRenderer(kMovieRendererClassId, "MovieRenderer", outer, result) {}

D_CMovieRenderer::~D_CMovieRenderer() {
  if (frameBuffer != nullptr) TrackedFree(frameBuffer);
}

HRESULT D_CMovieRenderer::CheckMediaType(const D_CMediaType* type) {
  if (type == nullptr) return E_POINTER;
  if (type->formattype != D_FORMAT_VideoInfo || type->cbFormat < sizeof(D_VIDEOINFOHEADER)) return E_INVALIDARG;
  if (type->majortype != D_MEDIATYPE_Video) return E_FAIL;
  if (type->subtype != D_MEDIASUBTYPE_RGB24) return E_FAIL;
  return S_OK;
}

HRESULT D_CMovieRenderer::SetMediaType(const D_CMediaType* type) {
  if (type->cbFormat < sizeof(D_VIDEOINFOHEADER)) return E_INVALIDARG;
  const auto* info = reinterpret_cast<const D_VIDEOINFOHEADER*>(type->pbFormat);
  const LONG width = info->bmiHeader.biWidth;
  const LONG rawHeight = info->bmiHeader.biHeight;
  const LONG height = rawHeight < 0 ? -rawHeight : rawHeight;
  if (width <= 0 || height <= 0 || rawHeight == INT32_MIN) return E_INVALIDARG;
  const LONGLONG pitch = ((static_cast<LONGLONG>(width) + 1) * 3) & ~3LL;
  if (pitch * height > kLargestFrameBytes) return E_INVALIDARG;
  auto* buffer = static_cast<BYTE*>(TrackedAllocZero(static_cast<std::size_t>(pitch * height), "", 0));
  if (buffer == nullptr) return E_OUTOFMEMORY;
  D_CAutoLock lock(&rendererLock_);
  if (frameBuffer != nullptr) TrackedFree(frameBuffer);
  frameBuffer = buffer;
  frameWidth = width;
  frameHeight = height;
  framePitch = static_cast<LONG>(pitch);
  bottomUp = rawHeight < 0 ? 0 : 1;
  newFrame = 0;
  return S_OK;
}

HRESULT D_CMovieRenderer::DoRenderSample(D_IMediaSample* sample) {
  if (sample == nullptr) return E_POINTER;
  D_CAutoLock lock(&rendererLock_);
  if (frameBuffer == nullptr) return S_OK;
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  // A sample shorter than a whole frame gives only the rows it holds.
  const LONG rows = std::min(frameHeight, std::max(sample->GetActualDataLength(), 0) / framePitch);
  if (bottomUp) {
    for (LONG row = 0; row < rows; ++row)
      std::memcpy(frameBuffer + static_cast<std::size_t>(frameHeight - 1 - row) * framePitch,
                  data + static_cast<std::size_t>(row) * framePitch, static_cast<std::size_t>(framePitch));
  } else {
    std::memcpy(frameBuffer, data, static_cast<std::size_t>(rows) * framePitch);
  }
  newFrame = 1;
  return S_OK;
}
