// A GDI font object: the request as LOGFONTA and the face realised for it.
#pragma once

#include <memory>

#include "gdi32/font_face.h"
#include "gdi32/gdi_object.h"
#include "platform/gdi32.h"

namespace wqplat {

class FontObject : public GdiObject {
 public:
  FontObject(const LOGFONTA& request, std::unique_ptr<FontFace> face);

  int Describe(int size, void* buffer) const override;

  const LOGFONTA& request() const { return request_; }
  FontFace& face() const { return *face_; }
  int code_page() const { return code_page_; }

 private:
  LOGFONTA request_;
  std::unique_ptr<FontFace> face_;
  int code_page_;
};

// Realises a request; null when no font file exists at all.
std::shared_ptr<FontObject> CreateFontObject(const LOGFONTA& request);

}  // namespace wqplat
