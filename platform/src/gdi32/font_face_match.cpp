#include "gdi32/font_face_match.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

#include "gdi32/face_pitch.h"
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

struct Candidate {
  std::string path;
  int index = 0;
  int spacing = FC_PROPORTIONAL;
};

std::optional<Candidate> ReadCandidate(FcPattern* font) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) return std::nullopt;
  Candidate candidate;
  candidate.path = reinterpret_cast<const char*>(file);
  FcPatternGetInteger(font, FC_INDEX, 0, &candidate.index);
  FcPatternGetInteger(font, FC_SPACING, 0, &candidate.spacing);
  return candidate;
}

bool CoversLanguage(FcPattern* font, const char* language) {
  FcLangSet* languages = nullptr;
  return FcPatternGetLangSet(font, FC_LANG, 0, &languages) == FcResultMatch &&
         FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>(language)) != FcLangDifferentLang;
}

// fontconfig's mono and dual spacing are sure signs of a fixed pitch, but
// its lack is not: the face itself decides then, once per face.
class FixedPitchFaces {
 public:
  bool IsFixed(const Candidate& candidate) {
    if (candidate.spacing >= FC_DUAL) return true;
    const auto key = std::make_pair(candidate.path, candidate.index);
    const auto known = judged_.find(key);
    if (known != judged_.end()) return known->second;
    const bool fixed = FaceHasFixedPitch(candidate.path, candidate.index);
    judged_.emplace(key, fixed);
    return fixed;
  }

 private:
  std::map<std::pair<std::string, int>, bool> judged_;
};

// Windows weighs a request's character set above its pitch, and its pitch
// above its face name: the first sorted font that covers the character
// set's language and, when asked for, has a fixed pitch; else the first
// that covers the language; else the first of all.
std::optional<Candidate> ChooseFont(const FcFontSet& sorted, const FontFaceRequest& request,
                                    FixedPitchFaces& fixed_pitch) {
  const char* language = LanguageOfCharSet(request.char_set);
  std::optional<Candidate> first;
  std::optional<Candidate> first_covering;
  for (int i = 0; i < sorted.nfont; ++i) {
    std::optional<Candidate> candidate = ReadCandidate(sorted.fonts[i]);
    if (!candidate) continue;
    if (!first) first = candidate;
    if (!CoversLanguage(sorted.fonts[i], language)) continue;
    if (!first_covering) first_covering = candidate;
    if (!request.fixed_pitch || fixed_pitch.IsFixed(*candidate)) return candidate;
  }
  return first_covering ? first_covering : first;
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
  // The sorted fonts are the fonts' own patterns, unlike FcFontMatch's
  // answer, which carries requested values the font lacks (a proportional
  // face would come back with the requested mono spacing).
  FcResult result = FcResultNoMatch;
  FcFontSet* sorted = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
  FcPatternDestroy(pattern);
  if (!sorted) return false;

  static FixedPitchFaces fixed_pitch;
  const std::optional<Candidate> chosen = ChooseFont(*sorted, request, fixed_pitch);
  FcFontSetDestroy(sorted);
  if (!chosen) return false;
  match->path = chosen->path;
  match->index = chosen->index;
  match->is_fixed_pitch = fixed_pitch.IsFixed(*chosen);
  return true;
}

}  // namespace wqplat
