// A memory DC with one GDI font selected, for tests of the font services.
#pragma once

#include "platform/windows.h"

namespace wqtest {

struct FontRequest {
  int height = 16;
  int weight = FW_NORMAL;
  bool italic = false;
  DWORD char_set = SHIFTJIS_CHARSET;
  DWORD quality = NONANTIALIASED_QUALITY;
  DWORD pitch = FIXED_PITCH;
  const char* face = nullptr;
};

class FontDc {
 public:
  explicit FontDc(const FontRequest& request)
      : dc_(CreateCompatibleDC(nullptr)),
        font_(CreateFontA(request.height, 0, 0, 0, request.weight, request.italic, 0, 0,
                          request.char_set, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, request.quality,
                          request.pitch, request.face)),
        previous_(font_ ? SelectObject(dc_, font_) : nullptr) {}

  ~FontDc() {
    if (previous_) SelectObject(dc_, previous_);
    if (font_) DeleteObject(font_);
    DeleteDC(dc_);
  }

  FontDc(const FontDc&) = delete;
  FontDc& operator=(const FontDc&) = delete;

  bool ok() const { return dc_ && font_ && previous_; }
  HDC dc() const { return dc_; }
  HFONT font() const { return font_; }

  TEXTMETRICA Metrics() const {
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc_, &metrics);
    return metrics;
  }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ previous_;
};

inline constexpr MAT2 kIdentity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};

}  // namespace wqtest
