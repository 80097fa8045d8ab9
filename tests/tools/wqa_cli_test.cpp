// The wqa command line: pack, list and extract, their errors and exit
// codes, and that a failed pack never leaves a file in place of a good one.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/wqa_archive_builder.h"

namespace {

// Names on disk are UTF-8; string literals here are code page 932.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

struct Result {
  int exitCode;
  std::string output;  // stdout and stderr
};

Result RunTool(const std::string& arguments) {
  const std::string command = std::string(WQA_TOOL_PATH) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  Result result{-1, ""};
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) result.output.append(buffer, n);
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::vector<std::string> FolderListing(const std::filesystem::path& folder) {
  std::vector<std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    entries.push_back(std::filesystem::relative(entry.path(), folder).string());
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

class WqaCliTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_.WriteFile("src/level.txt", std::string(20000, 'L'));
    dir_.WriteFile("src/Pict/noise.bin", wqtest::RandomBytes(5000, 8));
    dir_.WriteFile(Utf8(u8"src/Pict/表.txt"), "trail byte 0x5C in Shift-JIS");
    dir_.WriteFile("src/Sound/empty", "");
  }
  std::string Path(const std::string& relative) const { return (dir_.path() / relative).string(); }

  wqtest::TempDir dir_;
};

TEST_F(WqaCliTest, PackListExtractRoundTrip) {
  const char* const packOptions[] = {"", "--version 1 --store", "--version 3 --pack --key GameKey",
                                     "--key GameKey --store", "--version 4"};
  for (const char* options : packOptions) {
    SCOPED_TRACE(options);
    const bool keyed = std::string(options).find("--key") != std::string::npos;
    const std::string key = keyed ? " --key GameKey" : "";
    std::filesystem::remove_all(Path("out"));
    Result result = RunTool(std::string("pack ") + options + " " + Path("src") + " " + Path("A.WQA"));
    ASSERT_EQ(result.exitCode, 0) << result.output;

    result = RunTool("list " + Path("A.WQA") + key);
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find(Utf8(u8"Pict/表.txt")), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("Sound/"), std::string::npos) << result.output;
    const bool packs = std::string(options).find("--store") == std::string::npos &&
                       std::string(options).find("--version 1") == std::string::npos;
    EXPECT_EQ(result.output.find("packed") != std::string::npos, packs) << result.output;

    result = RunTool("extract " + Path("A.WQA") + " " + Path("out") + key);
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(FolderListing(Path("out")), FolderListing(Path("src")));
    for (const std::string& file : {Utf8(u8"level.txt"), Utf8(u8"Pict/noise.bin"), Utf8(u8"Pict/表.txt"), Utf8(u8"Sound/empty")}) {
      EXPECT_EQ(dir_.ReadFile("out/" + file), dir_.ReadFile("src/" + file)) << file;
    }
  }
}

TEST_F(WqaCliTest, BadArgumentsExitWithUsage) {
  const std::string archive = Path("A.WQA");
  const std::string folder = Path("src");
  const std::string cases[] = {
      "",
      "unpack " + archive,
      "pack " + folder,
      "pack " + folder + " " + archive + " extra",
      "pack --version 2 " + folder + " " + archive,
      "pack " + folder + " " + archive + " --version",
      "pack --version 1 --pack " + folder + " " + archive,
      "pack --level 9 " + folder + " " + archive,
      "list " + archive + " --store",
      "extract " + archive,
  };
  for (const std::string& arguments : cases) {
    const Result result = RunTool(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments;
    EXPECT_NE(result.output.find("usage: wqa pack"), std::string::npos) << arguments;
  }
  EXPECT_FALSE(std::filesystem::exists(archive));
}

TEST_F(WqaCliTest, FailuresExplainThemselves) {
  ASSERT_EQ(RunTool("pack --key RightKey " + Path("src") + " " + Path("A.WQA")).exitCode, 0);
  dir_.WriteFile("NOT.WQA", "this is no archive at all");
  const std::pair<std::string, std::string> cases[] = {
      {"pack " + Path("missing") + " " + Path("B.WQA"), "not a folder"},
      {"list " + Path("nothing.wqa"), "cannot open"},
      {"list " + Path("NOT.WQA"), "not an archive readable under this key"},
      {"list " + Path("A.WQA") + " --key WrongKey", "not an archive readable under this key"},
      {"extract " + Path("A.WQA") + " " + Path("out"), "not an archive readable under this key"},
  };
  for (const auto& [arguments, message] : cases) {
    const Result result = RunTool(arguments);
    EXPECT_EQ(result.exitCode, 1) << arguments;
    EXPECT_NE(result.output.find(message), std::string::npos) << result.output;
  }
  EXPECT_FALSE(std::filesystem::exists(Path("B.WQA")));
  EXPECT_FALSE(std::filesystem::exists(Path("out/level.txt")));
}

TEST_F(WqaCliTest, AFailedPackLeavesTheOldArchive) {
  ASSERT_EQ(RunTool("pack " + Path("src") + " " + Path("A.WQA")).exitCode, 0);
  const std::string good = dir_.ReadFile("A.WQA");
  // Two names that differ only in letter case cannot both be stored.
  dir_.WriteFile("src/LEVEL.TXT", "clash");
  const Result result = RunTool("pack " + Path("src") + " " + Path("A.WQA"));
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.output.find("differ only in letter case"), std::string::npos) << result.output;
  EXPECT_EQ(dir_.ReadFile("A.WQA"), good);
  std::vector<std::string> top;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) top.push_back(entry.path().filename());
  std::sort(top.begin(), top.end());
  EXPECT_EQ(top, (std::vector<std::string>{"A.WQA", "src"})) << "no temporary file is left";
}

TEST_F(WqaCliTest, ExtractNeverWritesOutsideItsFolder) {
  // An archive whose stored name is "..": it is taken for the parent entry
  // of a search and never written.
  const wqa::WriteOptions options = wqtest::WqaOptions("");
  std::vector<std::uint8_t> image = wqtest::BuildWqa({wqtest::WqaFile("XX", "escaped")}, options);
  wqtest::PatchWqa(image, options.key, [](std::vector<std::uint8_t>& decoded) {
    const std::string names(decoded.begin(), decoded.end());
    const std::size_t at = names.find(std::string("XX\0\0XX\0", 7));
    ASSERT_NE(at, std::string::npos);
    decoded[at + 4] = decoded[at + 5] = '.';
  });
  dir_.WriteFile("EVIL.WQA", std::string(image.begin(), image.end()));
  const std::vector<std::string> before = FolderListing(dir_.path());
  RunTool("extract " + Path("EVIL.WQA") + " " + Path("out/inner"));
  std::vector<std::string> after = FolderListing(dir_.path());
  std::erase(after, "out");
  std::erase(after, "out/inner");
  EXPECT_EQ(after, before);
  EXPECT_TRUE(std::filesystem::is_empty(Path("out/inner")));
}

TEST_F(WqaCliTest, AFolderLeadingBackIntoItsParentIsDamagedNotEndless) {
  // Records 0 DIR and 1 DIR\IN.TXT; DIR's record is made to lead to the
  // root's directory record. With its name emptied as well, the path the
  // walk builds no longer grows, so only the folders entered can stop it.
  const wqa::WriteOptions options = wqtest::WqaOptions("");
  const std::vector<std::uint8_t> good =
      wqtest::BuildWqa({wqtest::WqaFolder("DIR", {wqtest::WqaFile("IN.TXT", "inside")})}, options);
  for (const bool emptyName : {false, true}) {
    SCOPED_TRACE(emptyName ? "empty name" : "named");
    std::vector<std::uint8_t> image = good;
    wqtest::PatchWqa(image, options.key, [&](std::vector<std::uint8_t>& decoded) {
      wqtest::WqaLayout layout{decoded};
      layout.record(0).dataOffset = 0;
      if (!emptyName) return;
      WqaNameEntry& name = layout.name(0);
      auto* upperName = reinterpret_cast<std::uint8_t*>(&name + 1);
      const std::size_t padded = name.wordCount * 4u;
      std::memset(upperName, 0, padded);
      upperName[padded] = '\0';  // the name as written
      name.byteSum = 0;
    });
    dir_.WriteFile("LOOP.WQA", std::string(image.begin(), image.end()));
    const Result listed = RunTool("list " + Path("LOOP.WQA"));
    EXPECT_EQ(listed.exitCode, 1);
    EXPECT_NE(listed.output.find("leads back into itself"), std::string::npos) << listed.output;
    // Extracting stops at the loop too, or before it at a name it cannot write.
    EXPECT_EQ(RunTool("extract " + Path("LOOP.WQA") + " " + Path("out")).exitCode, 1);
  }
}

}  // namespace
