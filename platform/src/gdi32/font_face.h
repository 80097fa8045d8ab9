// One realised GDI font: a FreeType face at the requested cell height, with
// bold and italic synthesised where the face has none, rasterising glyphs in
// GetGlyphOutlineA's bitmap formats.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "gdi32/font_face_match.h"
#include "platform/gdi32.h"

namespace wqplat {

struct FontFaceMetrics {
  int height = 0;  // ascent + descent: the cell height
  int ascent = 0;
  int descent = 0;
  int internal_leading = 0;
  int average_char_width = 0;
  // No glyph's black box is wider than this.
  int max_char_width = 0;
  bool is_fixed_pitch = false;
};

// A rasterised glyph: GLYPHMETRICS plus rows padded to 4 bytes, either one
// bit per pixel (most significant first) or one byte per level.
struct GlyphImage {
  GLYPHMETRICS metrics{};
  std::vector<std::uint8_t> bits;  // empty for a blank glyph
};

struct FontFaceStyle {
  LONG requested_height = 0;  // > 0 cell height, < 0 character height
  bool bold = false;
  bool italic = false;
};

class FontFace {
 public:
  // Null when the file cannot be opened as a scalable face.
  static std::unique_ptr<FontFace> Open(const FontFaceFile& file, const FontFaceStyle& style);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const FontFaceMetrics& metrics() const { return metrics_; }

  // format is GGO_BITMAP, GGO_GRAY4_BITMAP or GGO_GRAY8_BITMAP. Characters
  // the face lacks give its missing-glyph shape. False when FreeType fails.
  bool RenderGlyph(char32_t code_point, UINT format, GlyphImage* image);

 private:
  struct Impl;
  explicit FontFace(std::unique_ptr<Impl> impl);
  bool Rasterise(char32_t code_point, UINT format, GlyphImage* image);

  std::unique_ptr<Impl> impl_;
  FontFaceMetrics metrics_;
  std::mutex mutex_;
  // The framework asks for a glyph's size and then for its bits: the last
  // glyph is kept so the second call does not rasterise again.
  char32_t last_code_point_ = 0;
  UINT last_format_ = 0;
  GlyphImage last_image_;
  bool has_last_ = false;
};

}  // namespace wqplat
