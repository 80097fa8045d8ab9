#include "gdi32/font_object.h"

#include <cstring>

#include "gdi32/code_page_char.h"
#include "gdi32/face_name.h"
#include "kernel32/text_encoding.h"

namespace wqplat {
namespace {

// GDI weights 600 and above are bold; a face of its own is used when one is
// installed, else the strokes are thickened.
constexpr LONG kFirstBoldWeight = 600;

}  // namespace

FontObject::FontObject(const LOGFONTA& request, std::unique_ptr<FontFace> face)
    : request_(request), face_(std::move(face)), code_page_(CodePageOfCharSet(request.lfCharSet)) {}

int FontObject::Describe(int size, void* buffer) const {
  if (!buffer) return sizeof(LOGFONTA);
  if (size < static_cast<int>(sizeof(LOGFONTA))) return 0;
  std::memcpy(buffer, &request_, sizeof(LOGFONTA));
  return sizeof(LOGFONTA);
}

std::shared_ptr<FontObject> CreateFontObject(const LOGFONTA& request) {
  const LONG weight = request.lfWeight == FW_DONTCARE ? FW_NORMAL : request.lfWeight;
  FontFaceRequest face_request;
  face_request.family_utf8 = Cp932ToUtf8(FaceNameOf(request));
  face_request.char_set = request.lfCharSet;
  face_request.weight = weight;
  face_request.italic = request.lfItalic != 0;
  face_request.fixed_pitch = (request.lfPitchAndFamily & 0x03) == FIXED_PITCH;
  FontFaceFile file;
  if (!MatchFontFace(face_request, &file)) return nullptr;

  FontFaceStyle style;
  style.requested_height = request.lfHeight;
  style.bold = weight >= kFirstBoldWeight;
  style.italic = request.lfItalic != 0;
  std::unique_ptr<FontFace> face = FontFace::Open(file, style);
  if (!face) return nullptr;
  return std::make_shared<FontObject>(request, std::move(face));
}

}  // namespace wqplat
