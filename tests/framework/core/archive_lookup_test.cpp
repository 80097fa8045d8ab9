// Lookups, directory changes and searches inside one archive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/files/archive_reader.h"
#include "support/wqa_archive_builder.h"

namespace {

using wqtest::WqaFile;
using wqtest::WqaFolder;

// Root: IMG/ (A.PNG, A.B.PNG, C.PNG, x.png, Sub/ (deep.txt)), 表/ (F.TXT),
// ａ.txt (full-width, trail byte 0x61), top.txt.
std::vector<wqa::TreeEntry> Tree() {
  return {
      WqaFolder("Img", {WqaFile("A.PNG", "a"), WqaFile("A.B.PNG", "ab"), WqaFile("C.PNG", "c"),
                        WqaFile("x.png", "x"), WqaFolder("Sub", {WqaFile("deep.txt", "deep")})}),
      WqaFolder("\x95\x5C", {WqaFile("F.TXT", "table")}),
      WqaFile("\x82\x61.txt", "full-width a"),
      WqaFile("top.txt", "top"),
  };
}

class ArchiveLookupTest : public testing::Test {
 protected:
  void SetUp() override {
    image_ = wqtest::BuildWqa(Tree(), wqtest::WqaOptions("GameKey"));
    ASSERT_EQ(OpenArchiveFromMemory(&state_, image_.data(), static_cast<DWORD>(image_.size()), "GameKey"), 0);
  }
  void TearDown() override { CloseArchive(&state_); }

  std::string Contents(const char* path) {
    const WqaFileRecord* record = FindArchiveFileRecord(path, &state_);
    if (record == nullptr) return "<none>";
    std::string data(record->size, '\0');
    return LoadArchiveFileData(&state_, record, data.data()) == 0 ? data : "<damaged>";
  }

  std::vector<std::string> Search(const char* pattern) {
    std::vector<std::string> names;
    FileInfo info;
    ArchiveSearch* search = ArchiveFindFirst(&state_, pattern, &info);
    if (search == nullptr) return names;
    do {
      names.emplace_back(info.name);
    } while (ArchiveFindNext(search, &info) == 0);
    ArchiveFindClose(search);
    return names;
  }

  std::vector<std::uint8_t> image_;
  ArchiveState state_{};
};

TEST_F(ArchiveLookupTest, SearchKeysAreUpperCasedWholeWords) {
  WqaSearchKey key;
  int consumed = 0;
  ASSERT_EQ(MakeArchiveSearchName(&state_, "a.Pn\\rest", &consumed, &key), 0);
  EXPECT_EQ(consumed, 4);
  EXPECT_EQ(key.wordCount, 2) << "four name bytes and four zero bytes";
  EXPECT_EQ(std::string(reinterpret_cast<char*>(key.name), 8), std::string("A.PN\0\0\0\0", 8));
  EXPECT_EQ(key.byteSum, 'A' + '.' + 'P' + 'N');
  // A double-byte character is kept whole: its 0x5C trail ends nothing and
  // its lower-case trail is not upper-cased.
  ASSERT_EQ(MakeArchiveSearchName(&state_, "\x95\x5C\x82\x61", &consumed, &key), 0);
  EXPECT_EQ(consumed, 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(key.name)), "\x95\x5C\x82\x61");
}

TEST_F(ArchiveLookupTest, PathsFindFilesWhateverTheirLetterCase) {
  const std::pair<const char*, const char*> cases[] = {
      {"img/a.png", "a"},
      {"IMG\\A.B.PNG", "ab"},
      {"\\Img\\Sub\\DEEP.TXT", "deep"},
      {"TOP.TXT", "top"},
      {"\x95\x5C\\f.txt", "table"},
      {"\x82\x61.TXT", "full-width a"},
      // Not files: a directory, a missing name, another double-byte
      // character, and paths that go on past a file.
      {"IMG", "<none>"},
      {"img\\sub", "<none>"},
      {"img/missing.png", "<none>"},
      {"\x82\x41.txt", "<none>"},
      {"img/a.png/more", "<none>"},
      {"top.txt/", "<none>"},
      {"nothing/a.png", "<none>"},
  };
  for (const auto& [path, expected] : cases) {
    EXPECT_EQ(Contents(path), expected) << path;
    EXPECT_EQ(state_.currentDirectory, 0u) << "a lookup restores the current directory";
  }
}

TEST_F(ArchiveLookupTest, ChangingDirectory) {
  EXPECT_EQ(ChangeArchiveDirectory(&state_, "..", 1, nullptr), -1) << "the root has no parent";
  ASSERT_EQ(ChangeArchiveDirectory(&state_, "img/sub", 1, nullptr), 0);
  EXPECT_EQ(Contents("deep.txt"), "deep");
  ASSERT_EQ(ChangeArchiveDirectory(&state_, "..", 1, nullptr), 0);
  EXPECT_EQ(Contents("c.png"), "c");
  EXPECT_EQ(ChangeArchiveDirectory(&state_, ".", 1, nullptr), 0);
  EXPECT_EQ(Contents("c.png"), "c");

  // A failed walk restores the directory when asked and names the
  // component that failed.
  WqaSearchKey failed;
  const DWORD img = state_.currentDirectory;
  EXPECT_EQ(ChangeArchiveDirectory(&state_, "\\img\\nope\\sub", 1, &failed), -1);
  EXPECT_EQ(state_.currentDirectory, img);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(failed.name)), "NOPE");
  EXPECT_EQ(ChangeArchiveDirectory(&state_, "/img/sub/none", 0, nullptr), -1);
  EXPECT_EQ(Contents("deep.txt"), "deep") << "without restore the walk stays where it stopped";
  EXPECT_EQ(ChangeArchiveDirectory(&state_, "\\", 1, nullptr), 0);
  EXPECT_EQ(Contents("top.txt"), "top");
}

TEST_F(ArchiveLookupTest, SearchesListDotsThenRecordsInTableOrder) {
  EXPECT_EQ(Search("img\\*"), (std::vector<std::string>{".", "..", "A.PNG", "A.B.PNG", "C.PNG", "x.png", "Sub"}));
  EXPECT_EQ(Search("*"), (std::vector<std::string>{".", "Img", "\x95\x5C", "\x82\x61.txt", "top.txt"}));
  // A run of stars ends at the first occurrence of the next byte.
  EXPECT_EQ(Search("IMG/*.PNG"), (std::vector<std::string>{"A.PNG", "C.PNG", "x.png"}));
  EXPECT_EQ(Search("img/?.p*"), (std::vector<std::string>{"A.PNG", "C.PNG", "x.png"}));
  EXPECT_EQ(Search("\x95\x5C\\*.txt"), (std::vector<std::string>{"F.TXT"}));
  EXPECT_TRUE(Search("nothing\\*").empty());
  EXPECT_TRUE(Search("img\\*.bmp").empty());
  EXPECT_EQ(state_.currentDirectory, 0u);
}

TEST_F(ArchiveLookupTest, SearchesFillTheFileInfo) {
  FileInfo info;
  ArchiveSearch* search = ArchiveFindFirst(&state_, "IMG\\S*", &info);
  ASSERT_NE(search, nullptr);
  EXPECT_STREQ(info.name, "Sub");
  EXPECT_EQ(info.directory, 1u);
  ArchiveFindClose(search);
  search = ArchiveFindFirst(&state_, "IMG\\A.B.PNG", &info);
  ASSERT_NE(search, nullptr);
  EXPECT_EQ(info.directory, 0u);
  EXPECT_EQ(info.sizeLow, 2u);
  EXPECT_GT(info.lastWriteDate[0], 2000);
  EXPECT_EQ(ArchiveFindNext(search, &info), -1);
  ArchiveFindClose(search);
}

TEST_F(ArchiveLookupTest, FileImagesPointAtTheStoredBytes) {
  DWORD offset = 0, size = 0;
  ASSERT_EQ(GetArchiveFileImage(&state_, "img\\sub\\deep.txt", &offset, &size), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(image_.data()) + offset, size), "deep");
  EXPECT_EQ(GetArchiveFileImage(&state_, "img", nullptr, nullptr), -1);
}

TEST(ArchiveCodePageTest, TheCodePageSetsTheNamesCharSetClass) {
  const wqa::WriteOptions v3 = wqtest::WqaOptions("", 3);
  std::vector<std::uint8_t> image = wqtest::BuildWqa({WqaFile("A", "a")}, v3);
  ArchiveState state{};
  ASSERT_EQ(OpenArchiveFromMemory(&state, image.data(), static_cast<DWORD>(image.size()), nullptr), 0);
  EXPECT_EQ(state.header.codePage, 0u);
  EXPECT_EQ(state.charSetClass, 0u);
  CloseArchive(&state);

  const wqa::WriteOptions v4 = wqtest::WqaOptions("", 4);
  for (const auto& [codePage, charSetClass] : {std::pair{932u, 1u}, {949u, 2u}, {950u, 3u}, {936u, 4u}, {1252u, 0u}}) {
    image = wqtest::BuildWqa({WqaFile("A", "a")}, v4);
    wqtest::PatchWqa(image, v4.key, [&](std::vector<std::uint8_t>& d) { wqtest::HeaderOf(d).codePage = codePage; });
    ASSERT_EQ(OpenArchiveFromMemory(&state, image.data(), static_cast<DWORD>(image.size()), nullptr), 0);
    EXPECT_EQ(state.charSetClass, charSetClass) << codePage;
    CloseArchive(&state);
  }
}

}  // namespace
