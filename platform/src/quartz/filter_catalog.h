// The filters the graph builder may add on its own, in the order it tries
// them, and the source it makes for a file.
#pragma once

#include <span>

#include "platform/dshow.h"

namespace wqplat {

struct CatalogFilter {
  const char16_t* name;
  // True when the filter's input takes this type.
  bool (*takes)(const D_AM_MEDIA_TYPE& type);
  HRESULT (*create)(REFIID iid, void** object);
};

std::span<const CatalogFilter> FilterCatalog();

// A source filter over a movie file: one output pin of RGB24 video.
// Refuses files it cannot read, files without a video stream, and
// pictures.
HRESULT CreateMovieFileSource(LPCWSTR path, D_IBaseFilter** filter);

}  // namespace wqplat
