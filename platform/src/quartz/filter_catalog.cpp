#include "quartz/filter_catalog.h"

#include "quartz/audio_pull_parser.h"
#include "quartz/renderer_filter.h"

namespace wqplat {
namespace {

bool IsByteStream(const D_AM_MEDIA_TYPE& type) { return type.majortype == D_MEDIATYPE_Stream; }
bool IsPcmAudio(const D_AM_MEDIA_TYPE& type) {
  return type.majortype == D_MEDIATYPE_Audio && type.subtype == D_MEDIASUBTYPE_PCM;
}
bool IsVideo(const D_AM_MEDIA_TYPE& type) { return type.majortype == D_MEDIATYPE_Video; }

// Video that no renderer of the caller takes ends in the null renderer:
// movies are never shown in a window of their own.
const CatalogFilter kCatalog[] = {
    {u"Audio Stream Parser", &IsByteStream, &CreateAudioPullParser},
    {u"Default Audio Renderer", &IsPcmAudio, &CreateAudioRenderer},
    {u"Default Video Renderer", &IsVideo, &CreateNullRenderer},
};

}  // namespace

std::span<const CatalogFilter> FilterCatalog() { return kCatalog; }

}  // namespace wqplat
