#include "gdi32/font_face_match.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
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
  static const bool initialised = [] {
    if (!FcInit()) return false;
    // fontconfig's own state goes at exit, so leak checks see none.
    std::atexit(FcFini);
    return true;
  }();
  if (!initialised) return false;

  FcPattern* pattern = BuildPattern(request);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  // The best of the sorted fonts is the font's own pattern, unlike
  // FcFontMatch's answer, which carries requested values the font lacks
  // (a proportional face would come back with the requested mono spacing).
  FcResult result = FcResultNoMatch;
  FcFontSet* sorted = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
  FcPatternDestroy(pattern);
  if (!sorted) return false;

  bool has_file = false;
  if (sorted->nfont > 0) {
    FcPattern* best = sorted->fonts[0];
    FcChar8* file = nullptr;
    has_file = FcPatternGetString(best, FC_FILE, 0, &file) == FcResultMatch;
    if (has_file) {
      int index = 0;
      int spacing = FC_PROPORTIONAL;
      FcPatternGetInteger(best, FC_INDEX, 0, &index);
      FcPatternGetInteger(best, FC_SPACING, 0, &spacing);
      match->path = reinterpret_cast<const char*>(file);
      match->index = index;
      match->is_fixed_pitch = spacing >= FC_DUAL;
    }
  }
  FcFontSetDestroy(sorted);
  return has_file;
}

}  // namespace wqplat
