#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

#include "core/files/wqa_format.h"

namespace {

using Key = std::array<BYTE, WQA_KEY_SIZE>;

Key Prepared(const char* keyString) {
  Key key;
  MakeArchiveKey(keyString, key.data());
  return key;
}

TEST(ArchiveKeyTest, AShortStringIsRepeatedOverTheTwelvePositions) {
  EXPECT_EQ(Prepared("abc"), Prepared("abcabcabcabc"));
  EXPECT_EQ(Prepared("abcde"), Prepared("abcdeabcdeab"));
  EXPECT_NE(Prepared("abc"), Prepared("abd"));
}

TEST(ArchiveKeyTest, OnlyTheFirstTwelveCharactersCount) {
  EXPECT_EQ(Prepared("0123456789AB"), Prepared("0123456789ABCDEF"));
}

TEST(ArchiveKeyTest, AnEmptyStringIsNoString) {
  EXPECT_EQ(Prepared(""), Prepared(nullptr));
  SetArchiveKey("");
  EXPECT_EQ(GetArchiveKeyString(), nullptr);
  SetArchiveKey("GameKey");
  EXPECT_STREQ(GetArchiveKeyString(), "GameKey");
  SetArchiveKey(nullptr);
  EXPECT_EQ(GetArchiveKeyString(), nullptr);
}

TEST(ArchiveKeyTest, EachPositionHasItsOwnTransform) {
  // Twelve equal raw bytes must not give twelve equal key bytes.
  const Key key = Prepared("aaaaaaaaaaaa");
  EXPECT_NE(std::count(key.begin(), key.end(), key[0]), WQA_KEY_SIZE);
  Key fallback;
  MakeFallbackArchiveKey(fallback.data());
  EXPECT_EQ(std::count(fallback.begin(), fallback.end(), fallback[0]), WQA_KEY_SIZE);
  EXPECT_NE(fallback, Prepared(nullptr));
}

TEST(ArchiveKeyTest, TheKeyingIsStable) {
  // Archives are stored files: these bytes must never change.
  EXPECT_EQ(Prepared("GameKey"), (Key{0x4C, 0xA9, 0xCC, 0xBB, 0x16, 0xDB, 0xE3, 0xFE, 0x04, 0x49, 0x15, 0xF5}));
  EXPECT_EQ(Prepared(nullptr), (Key{0x14, 0xF9, 0xCA, 0x7A, 0x96, 0xDC, 0xC2, 0xF5, 0x54, 0x45, 0xD4, 0x75}));
}

// Keying a buffer in pieces at their file offsets equals keying it whole,
// wherever the pieces start relative to the 12-byte groups; a second pass
// restores the bytes.
TEST(ArchiveKeyTest, KeyingDependsOnlyOnTheFileOffset) {
  const Key key = Prepared("Key!");
  std::vector<BYTE> original(100);
  std::iota(original.begin(), original.end(), BYTE{7});
  std::vector<BYTE> whole = original;
  ApplyArchiveKey(static_cast<DWORD>(whole.size()), whole.data(), 5, key.data());
  for (DWORD split : {0u, 1u, 7u, 11u, 12u, 13u, 50u, 99u}) {
    std::vector<BYTE> pieces = original;
    ApplyArchiveKey(split, pieces.data(), 5, key.data());
    ApplyArchiveKey(100 - split, pieces.data() + split, 5 + split, key.data());
    EXPECT_EQ(pieces, whole) << "split at " << split;
    ApplyArchiveKey(100, pieces.data(), 5, key.data());
    EXPECT_EQ(pieces, original) << "split at " << split;
  }
}

}  // namespace
