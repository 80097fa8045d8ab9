// CreateFontA and GetTextMetricsA.
#include "gdi32/code_page_char.h"
#include "gdi32/device_context.h"
#include "gdi32/face_name.h"
#include "platform/gdi32.h"

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                  DWORD italic, DWORD underline, DWORD strike_out, DWORD char_set,
                  DWORD out_precision, DWORD clip_precision, DWORD quality,
                  DWORD pitch_and_family, LPCSTR face_name) {
  LOGFONTA request{};
  request.lfHeight = height;
  request.lfWidth = width;
  request.lfEscapement = escapement;
  request.lfOrientation = orientation;
  request.lfWeight = weight;
  request.lfItalic = static_cast<BYTE>(italic);
  request.lfUnderline = static_cast<BYTE>(underline);
  request.lfStrikeOut = static_cast<BYTE>(strike_out);
  request.lfCharSet = static_cast<BYTE>(char_set);
  request.lfOutPrecision = static_cast<BYTE>(out_precision);
  request.lfClipPrecision = static_cast<BYTE>(clip_precision);
  request.lfQuality = static_cast<BYTE>(quality);
  request.lfPitchAndFamily = static_cast<BYTE>(pitch_and_family);
  wqplat::StoreFaceName(face_name, request.lfFaceName);
  std::shared_ptr<wqplat::FontObject> font = wqplat::CreateFontObject(request);
  return font ? static_cast<HFONT>(wqplat::RegisterGdiObject(std::move(font))) : nullptr;
}

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics) {
  std::shared_ptr<wqplat::FontObject> font = wqplat::SelectedFont(dc);
  if (!font || !metrics) return FALSE;
  const wqplat::FontFaceMetrics& face = font->face().metrics();
  const LOGFONTA& request = font->request();
  *metrics = TEXTMETRICA{};
  metrics->tmHeight = face.height;
  metrics->tmAscent = face.ascent;
  metrics->tmDescent = face.descent;
  metrics->tmInternalLeading = face.internal_leading;
  metrics->tmAveCharWidth = face.average_char_width;
  metrics->tmMaxCharWidth = face.max_char_width;
  metrics->tmWeight = request.lfWeight == FW_DONTCARE ? FW_NORMAL : request.lfWeight;
  metrics->tmDigitizedAspectX = 96;
  metrics->tmDigitizedAspectY = 96;
  metrics->tmFirstChar = 0x20;
  metrics->tmLastChar = 0xFF;
  metrics->tmDefaultChar = 0x1F;
  metrics->tmBreakChar = 0x20;
  metrics->tmItalic = request.lfItalic ? 1 : 0;
  metrics->tmUnderlined = request.lfUnderline ? 1 : 0;
  metrics->tmStruckOut = request.lfStrikeOut ? 1 : 0;
  metrics->tmPitchAndFamily = TMPF_VECTOR | TMPF_TRUETYPE | (face.is_fixed_pitch ? 0 : TMPF_FIXED_PITCH);
  metrics->tmCharSet = static_cast<BYTE>(wqplat::RealisedCharSet(request.lfCharSet));
  return TRUE;
}
