// Face matching: Windows face names and character sets to installed faces.
// The expectations hold whatever other fonts a machine has beside the
// Japanese gothic that scripts/setup installs.
#include <gtest/gtest.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <filesystem>
#include <memory>

#include "gdi32/font_face_match.h"
#include "kernel32/text_encoding.h"
#include "platform/gdi32.h"

namespace {

using wqplat::FontFaceFile;
using wqplat::FontFaceRequest;
using wqplat::MatchFontFace;

// A request for a face named in code page 932.
FontFaceRequest Request(const char* name, int char_set, bool fixed_pitch) {
  FontFaceRequest request;
  request.family_utf8 = wqplat::Cp932ToUtf8(name);
  request.char_set = char_set;
  request.fixed_pitch = fixed_pitch;
  return request;
}

std::string MatchedFile(const FontFaceRequest& request) {
  FontFaceFile match;
  EXPECT_TRUE(MatchFontFace(request, &match));
  return std::filesystem::canonical(match.path).filename().string();
}

TEST(FontFaceMatchTest, WindowsJapaneseFacesResolveToTheInstalledGothic) {
  for (const char* face : {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "メイリオ", ""}) {
    for (int char_set : {SHIFTJIS_CHARSET, DEFAULT_CHARSET}) {
      EXPECT_EQ(MatchedFile(Request(face, char_set, true)), "ipag.ttf") << face << " " << char_set;
    }
  }
}

TEST(FontFaceMatchTest, FixedPitchRequestsPreferAFixedPitchFace) {
  FontFaceRequest request;
  request.family_utf8 = "Arial";
  request.char_set = ANSI_CHARSET;
  FontFaceFile proportional;
  ASSERT_TRUE(MatchFontFace(request, &proportional));
  EXPECT_FALSE(proportional.is_fixed_pitch);
  request.fixed_pitch = true;
  FontFaceFile fixed;
  ASSERT_TRUE(MatchFontFace(request, &fixed));
  EXPECT_TRUE(fixed.is_fixed_pitch);
  EXPECT_NE(fixed.path, proportional.path);
}

// The matched face opened on its own, to check what it holds.
class MatchedFace {
 public:
  explicit MatchedFace(const FontFaceRequest& request) {
    EXPECT_TRUE(MatchFontFace(request, &match_));
    if (FT_Init_FreeType(&library_) != 0) return;
    if (FT_New_Face(library_, match_.path.c_str(), match_.index, &face_) != 0) face_ = nullptr;
  }
  ~MatchedFace() {
    if (face_ != nullptr) FT_Done_Face(face_);
    if (library_ != nullptr) FT_Done_FreeType(library_);
  }
  MatchedFace(const MatchedFace&) = delete;
  MatchedFace& operator=(const MatchedFace&) = delete;

  bool opened() const { return face_ != nullptr; }
  const FontFaceFile& match() const { return match_; }
  bool Has(char32_t code_point) const { return FT_Get_Char_Index(face_, code_point) != 0; }
  FT_Pos Advance(char32_t code_point) const {
    if (FT_Load_Char(face_, code_point, FT_LOAD_NO_SCALE) != 0) return -1;
    return face_->glyph->advance.x;
  }

 private:
  FontFaceFile match_;
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
};

// Latin face names, which other fonts on a machine may answer strongly,
// the Windows Japanese ones and none.
const char* const kFaceNames[] = {"Arial", "Courier New", "Times New Roman", "Tahoma", "ＭＳ 明朝", ""};

// The character set outweighs the face name: a Japanese request for a Latin
// face still gets a face with Japanese glyphs.
TEST(FontFaceMatchTest, TheCharacterSetOutweighsTheFaceName) {
  for (const char* name : kFaceNames) {
    for (const bool fixed_pitch : {false, true}) {
      const MatchedFace face(Request(name, SHIFTJIS_CHARSET, fixed_pitch));
      ASSERT_TRUE(face.opened()) << name;
      EXPECT_TRUE(face.Has(U'漢') && face.Has(U'あ')) << name << " gave " << face.match().path;
    }
  }
}

// The pitch outweighs the face name too, and is judged from the face: its
// single-byte characters advance alike, whatever fontconfig says of it.
TEST(FontFaceMatchTest, FixedPitchRequestsGetFacesWhoseCharactersAdvanceAlike) {
  for (const char* name : kFaceNames) {
    for (const int char_set : {ANSI_CHARSET, SHIFTJIS_CHARSET}) {
      const MatchedFace face(Request(name, char_set, true));
      ASSERT_TRUE(face.opened()) << name;
      const FT_Pos narrow = face.Advance(U'i');
      EXPECT_GT(narrow, 0) << name;
      for (const char32_t wide : {U'W', U'm', U'0', U'.'}) {
        EXPECT_EQ(face.Advance(wide), narrow) << name << " " << char_set << " gave " << face.match().path;
      }
      EXPECT_TRUE(face.match().is_fixed_pitch) << name;
    }
  }
}

}  // namespace
