#include "gdi32/font_face_match.h"

#include <fontconfig/fontconfig.h>

#include <mutex>

#include "platform/gdi32.h"

namespace wqplat {
namespace {

// The language whose glyphs a character set needs; DEFAULT_CHARSET follows
// the system code page, 932.
const char* LanguageOfCharSet(int char_set) {
  switch (char_set) {
    case ANSI_CHARSET: return "en";
    case HANGEUL_CHARSET: return "ko";
    case GB2312_CHARSET: return "zh-cn";
    case CHINESEBIG5_CHARSET: return "zh-tw";
    default: return "ja";
  }
}

FcPattern* BuildPattern(const FontFaceRequest& request) {
  FcPattern* pattern = FcPatternCreate();
  if (!request.family_utf8.empty()) {
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(request.family_utf8.c_str()));
  }
  FcLangSet* languages = FcLangSetCreate();
  FcLangSetAdd(languages, reinterpret_cast<const FcChar8*>(LanguageOfCharSet(request.char_set)));
  FcPatternAddLangSet(pattern, FC_LANG, languages);
  FcLangSetDestroy(languages);
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(request.weight));
  FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  if (request.fixed_pitch) FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  return pattern;
}

}  // namespace

bool MatchFontFace(const FontFaceRequest& request, FontFaceFile* match) {
  // fontconfig's configuration is process-wide; matching is serialised.
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  if (!FcInit()) return false;

  FcPattern* pattern = BuildPattern(request);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* found = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!found) return false;

  FcChar8* file = nullptr;
  const bool has_file = FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch;
  if (has_file) {
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    int spacing = FC_PROPORTIONAL;
    FcPatternGetInteger(found, FC_INDEX, 0, &index);
    FcPatternGetInteger(found, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(found, FC_SLANT, 0, &slant);
    FcPatternGetInteger(found, FC_SPACING, 0, &spacing);
    match->path = reinterpret_cast<const char*>(file);
    match->index = index;
    match->is_bold = weight >= FC_WEIGHT_DEMIBOLD;
    match->is_italic = slant != FC_SLANT_ROMAN;
    match->is_fixed_pitch = spacing >= FC_DUAL;
  }
  FcPatternDestroy(found);
  return has_file;
}

}  // namespace wqplat
