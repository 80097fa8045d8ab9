// Face matching: Windows face names and character sets to installed faces.
#include <gtest/gtest.h>

#include <filesystem>

#include "gdi32/font_face_match.h"
#include "kernel32/text_encoding.h"
#include "platform/gdi32.h"

namespace {

using wqplat::FontFaceFile;
using wqplat::FontFaceRequest;
using wqplat::MatchFontFace;

std::string MatchedFile(const FontFaceRequest& request) {
  FontFaceFile match;
  EXPECT_TRUE(MatchFontFace(request, &match));
  return std::filesystem::canonical(match.path).filename().string();
}

TEST(FontFaceMatchTest, WindowsJapaneseFacesResolveToTheInstalledGothic) {
  for (const char* face : {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "メイリオ", ""}) {
    for (int char_set : {SHIFTJIS_CHARSET, DEFAULT_CHARSET}) {
      FontFaceRequest request;
      request.family_utf8 = wqplat::Cp932ToUtf8(face);
      request.char_set = char_set;
      request.fixed_pitch = true;
      EXPECT_EQ(MatchedFile(request), "ipag.ttf") << face << " " << char_set;
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

}  // namespace
