#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/wqa_archive_builder.h"
#include "wqa_writer.h"

namespace {

using wqtest::WqaFile;
using wqtest::WqaFolder;

struct RefusedTree {
  const char* what;
  std::vector<wqa::TreeEntry> children;
  std::uint32_t version;
};

TEST(WqaWriterTest, RefusesWhatTheFormatCannotHold) {
  const RefusedTree cases[] = {
      {"names that differ only in letter case", {WqaFile("a.txt", "1"), WqaFile("A.TXT", "2")}, 4},
      {"a folder and a file of one name", {WqaFolder("Data", {}), WqaFile("DATA", "")}, 4},
      {"an empty name", {WqaFile("", "x")}, 4},
      {"a name that searches list as the parent", {WqaFolder("..", {})}, 4},
      {"a separator inside a name", {WqaFile("a\\b", "x")}, 4},
      {"a name longer than a path", {WqaFile(std::string(300, 'n'), "x")}, 4},
      {"version 2", {WqaFile("a", "x")}, 2},
      {"version 5", {WqaFile("a", "x")}, 5},
  };
  for (const RefusedTree& c : cases) {
    EXPECT_THROW(wqtest::BuildWqa(c.children, wqtest::WqaOptions("", c.version)), std::runtime_error) << c.what;
  }
  // A double-byte name whose trail byte is a backslash is one name.
  EXPECT_NO_THROW(wqtest::BuildWqa({WqaFile("\x95\x5C", "x")}, wqtest::WqaOptions("")));
}

TEST(WqaWriterTest, VersionOneStoresEverything) {
  // Version 1 records have no packed size; the writer stores even where
  // packing would save space.
  const std::string text(10000, 'z');
  EXPECT_GT(wqtest::BuildWqa({WqaFile("Z", text)}, wqtest::WqaOptions("", 1, true)).size(), text.size());
  EXPECT_LT(wqtest::BuildWqa({WqaFile("Z", text)}, wqtest::WqaOptions("", 3, true)).size(), 1000u);
}

TEST(WqaWriterTest, AFailedWriteLeavesTheTargetAndNoTemporaryFile) {
  wqtest::TempDir dir;
  dir.WriteFile("GOOD.WQA", "good archive");
  const std::vector<std::uint8_t> bytes = {1, 2, 3};

  // The target is a non-empty folder: the rename fails after the write.
  dir.WriteFile("FOLDER.WQA/inside", "x");
  EXPECT_THROW(wqa::WriteFileReplacing(dir.path() / "FOLDER.WQA", bytes), std::runtime_error);
  // The folder of the target is missing: no temporary file can be made.
  EXPECT_THROW(wqa::WriteFileReplacing(dir.path() / "missing" / "A.WQA", bytes), std::runtime_error);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"FOLDER.WQA", "GOOD.WQA"}));

  wqa::WriteFileReplacing(dir.path() / "GOOD.WQA", bytes);
  EXPECT_EQ(dir.ReadFile("GOOD.WQA"), std::string("\x01\x02\x03"));
}

}  // namespace
