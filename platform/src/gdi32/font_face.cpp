#include "gdi32/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

#include "gdi32/freetype_library.h"
#include "gdi32/glyph_bitmap.h"

namespace wqplat {
namespace {

// Cell height of a font created with height 0.
constexpr int kDefaultCellHeight = 16;
// Larger requests are refused: one glyph of such a font would take
// megabytes, and advances must fit GLYPHMETRICS' 16-bit fields.
constexpr double kMaxHeight = 1024;
// Slant of a synthesised italic: x grows by tan(12 degrees) per unit of y.
constexpr FT_Fixed kObliqueShear = 0x0366A;
constexpr double kObliqueSlope = 0x0366A / 65536.0;

// The vertical extent of the cell: the face's line ascender and descender.
// The Japanese faces that stand in for the Windows ones have these summing to
// the em square, so a 16-pixel font draws 16-pixel kanji as the originals do;
// their larger Windows descent would shrink every glyph by a tenth.
void CellExtentInUnits(FT_Face face, int* ascent, int* descent) {
  *ascent = face->ascender;
  *descent = -face->descender;
  if (*ascent + *descent <= 0) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    *ascent = os2 ? os2->usWinAscent : face->units_per_EM;
    *descent = os2 ? os2->usWinDescent : 0;
  }
  if (*ascent + *descent <= 0) {
    *ascent = face->units_per_EM;
    *descent = 0;
  }
}

int AverageCharWidthInUnits(FT_Face face) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  return os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : face->units_per_EM / 2;
}

}  // namespace

struct FontFace::Impl {
  FT_Face face = nullptr;
  FT_Pos embolden = 0;  // 26.6 pixels added to every stroke and advance
  bool oblique = false;

  ~Impl() {
    if (!face) return;
    FreeTypeLibrary& shared = SharedFreeTypeLibrary();
    std::lock_guard lock(shared.mutex);
    FT_Done_Face(face);
  }
};

FontFace::FontFace(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FontFace::~FontFace() = default;

std::unique_ptr<FontFace> FontFace::Open(const FontFaceFile& file, const FontFaceStyle& style) {
  const double requested_height = style.requested_height;
  if (std::abs(requested_height) > kMaxHeight) return nullptr;
  auto impl = std::make_unique<Impl>();
  {
    FreeTypeLibrary& shared = SharedFreeTypeLibrary();
    std::lock_guard lock(shared.mutex);
    if (!shared.ready ||
        FT_New_Face(shared.library, file.path.c_str(), file.index, &impl->face) != 0) {
      impl->face = nullptr;
      return nullptr;
    }
  }
  FT_Face face = impl->face;
  if (!FT_IS_SCALABLE(face)) return nullptr;

  int ascent_units = 0;
  int descent_units = 0;
  CellExtentInUnits(face, &ascent_units, &descent_units);
  const double cell_units = ascent_units + descent_units;
  const double em_units = face->units_per_EM;

  // Positive heights are the cell, negative ones the em square.
  int cell_height = kDefaultCellHeight;
  if (style.requested_height > 0) cell_height = style.requested_height;
  if (style.requested_height < 0) {
    cell_height = std::max(1, static_cast<int>(std::lround(-requested_height * cell_units / em_units)));
  }
  const double em_pixels = cell_height * em_units / cell_units;
  const FT_F26Dot6 em_26_6 = std::max<FT_F26Dot6>(64, std::lround(em_pixels * 64));
  if (FT_Set_Char_Size(face, 0, em_26_6, 72, 72) != 0) return nullptr;

  // The face's own style, not fontconfig's answer: its configuration may
  // report a regular face as bold or italic when it means to synthesise.
  if (style.bold && !(face->style_flags & FT_STYLE_FLAG_BOLD)) {
    impl->embolden = std::max<FT_Pos>(1, std::lround(em_pixels / 24)) * 64;
  }
  impl->oblique = style.italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);

  FontFaceMetrics metrics;
  metrics.height = cell_height;
  metrics.ascent = static_cast<int>(std::lround(cell_height * ascent_units / cell_units));
  metrics.descent = cell_height - metrics.ascent;
  metrics.internal_leading = std::max(0, cell_height - static_cast<int>(std::lround(em_pixels)));
  const double scale = em_pixels / em_units;
  metrics.average_char_width = std::max(1, static_cast<int>(std::lround(AverageCharWidthInUnits(face) * scale)));
  // The widest advance, with room for hinting's rounding and for what
  // synthesised bold and slant add; the rare glyph whose ink is wider still
  // is cut to it.
  metrics.max_char_width = static_cast<int>(std::ceil(face->max_advance_width * scale)) + 2 +
                           static_cast<int>(impl->embolden / 64) +
                           (impl->oblique ? static_cast<int>(std::ceil(cell_height * kObliqueSlope)) : 0);
  metrics.is_fixed_pitch = file.is_fixed_pitch || FT_IS_FIXED_WIDTH(face);

  std::unique_ptr<FontFace> opened(new FontFace(std::move(impl)));
  opened->metrics_ = metrics;
  return opened;
}

bool FontFace::RenderGlyph(char32_t code_point, UINT format, GlyphImage* image) {
  std::lock_guard lock(mutex_);
  if (!(has_last_ && last_code_point_ == code_point && last_format_ == format)) {
    has_last_ = false;
    if (!Rasterise(code_point, format, &last_image_)) return false;
    has_last_ = true;
    last_code_point_ = code_point;
    last_format_ = format;
  }
  *image = last_image_;
  return true;
}

bool FontFace::Rasterise(char32_t code_point, UINT format, GlyphImage* image) {
  FT_Face face = impl_->face;
  const bool mono = format == GGO_BITMAP;
  const FT_Int32 load_flags = FT_LOAD_NO_BITMAP | (mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
  if (FT_Load_Glyph(face, FT_Get_Char_Index(face, code_point), load_flags) != 0) return false;
  FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;

  if (impl_->oblique) {
    const FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
    FT_Outline_Transform(&slot->outline, &shear);
  }
  if (impl_->embolden) FT_Outline_EmboldenXY(&slot->outline, impl_->embolden, 0);

  *image = GlyphImage{};
  image->metrics.gmCellIncX = static_cast<SHORT>((slot->advance.x + impl_->embolden + 32) >> 6);
  image->metrics.gmBlackBoxX = 1;
  image->metrics.gmBlackBoxY = 1;
  if (slot->outline.n_points == 0) return true;  // blank: advance only

  if (FT_Render_Glyph(slot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return false;
  const FT_Bitmap& bitmap = slot->bitmap;
  const unsigned char expected_mode = mono ? FT_PIXEL_MODE_MONO : FT_PIXEL_MODE_GRAY;
  if (bitmap.pitch < 0 || bitmap.pixel_mode != expected_mode) return false;

  // The black box stays inside the cell. A box that pokes out above the
  // ascent or below the descent is moved in, since a stroke on the cell's
  // edge (an overline, a low line) would otherwise vanish; only a glyph
  // taller than the cell loses rows, and one wider than the widest glyph
  // loses columns on the right.
  const int rendered_rows = static_cast<int>(bitmap.rows);
  const int rows = std::min(rendered_rows, metrics_.height);
  const int columns = std::min(static_cast<int>(bitmap.width), metrics_.max_char_width);
  if (rows <= 0 || columns <= 0) return true;
  const int skipped_rows = std::clamp(slot->bitmap_top - metrics_.ascent, 0, rendered_rows - rows);
  const int top = std::clamp(slot->bitmap_top - skipped_rows, rows - metrics_.descent, metrics_.ascent);

  const RenderedRows rendered{bitmap.buffer, bitmap.pitch};
  image->bits = ConvertGlyphRows(rendered, skipped_rows, columns, rows, format);
  image->metrics.gmBlackBoxX = static_cast<UINT>(columns);
  image->metrics.gmBlackBoxY = static_cast<UINT>(rows);
  image->metrics.gmptGlyphOrigin.x = slot->bitmap_left;
  image->metrics.gmptGlyphOrigin.y = top;
  return true;
}

}  // namespace wqplat
