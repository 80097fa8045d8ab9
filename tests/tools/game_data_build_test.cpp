// The build's game data as a whole: exactly the files the game names, the
// same bytes from every run of the generator, and archives that hold the
// same files under the game's key.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "game_data_files.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using gamedata::Utf8;

constexpr const char* kArchiveKey = "mivotra";

// Every file below a folder, by its '/'-separated path, with its bytes.
std::map<std::string, std::string> ReadTree(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[fs::relative(entry.path(), folder).generic_string()] =
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return files;
}

// The game's files of a data folder: its Pict and Sound trees.
std::map<std::string, std::string> GameFiles(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const char* top : {"Pict", "Sound"}) {
    for (auto& [name, bytes] : ReadTree(folder / top)) files[std::string(top) + "/" + name] = std::move(bytes);
  }
  return files;
}

// The bytes of one of the build's archives.
std::string BuiltArchive(const std::string& folder) {
  std::ifstream in(gamedata::ArchiveFolder() / (folder + ".WQA"), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Names(const std::map<std::string, std::string>& tree) {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : tree) names.push_back(name);
  return names;
}

int RunCommand(const std::string& command) {
  const int status = std::system((command + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(GameDataBuild, TheDataFolderHoldsExactlyTheGamesFiles) {
  std::vector<std::string> expected;
  for (const auto& picture : gamedata::kPictures) expected.push_back(Utf8(picture.path));
  for (const auto& sound : gamedata::kSounds) expected.push_back(Utf8(sound.path));
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(std::adjacent_find(expected.begin(), expected.end()), expected.end()) << "a name listed twice";
  EXPECT_EQ(Names(GameFiles(gamedata::DataFolder())), expected);
  // Beside them only the archives' folder.
  std::vector<std::string> top;
  for (const auto& entry : fs::directory_iterator(gamedata::DataFolder())) top.push_back(entry.path().filename().string());
  std::sort(top.begin(), top.end());
  EXPECT_EQ(top, (std::vector<std::string>{"Pict", "Sound", "archives"}));
}

TEST(GameDataBuild, GeneratingAgainGivesTheSameBytes) {
  wqtest::TempDir dir;
  // Something left from an older run is cleared away.
  dir.WriteFile("Pict/stale.png", "old");
  ASSERT_EQ(RunCommand(std::string(ASSETGEN_TOOL_PATH) + " " + dir.path().string()), 0);
  const auto again = ReadTree(dir.path());
  const auto built = GameFiles(gamedata::DataFolder());
  ASSERT_EQ(Names(again), Names(built));
  for (const auto& [name, bytes] : built) EXPECT_TRUE(again.at(name) == bytes) << name << " differs";
  // The archives keep the files' times: packed again, they are the same too.
  for (const char* folder : {"Pict", "Sound"}) {
    const fs::path archive = dir.path() / (std::string(folder) + ".WQA");
    ASSERT_EQ(RunCommand(std::string(WQA_TOOL_PATH) + " pack --key " + kArchiveKey + " " + (dir.path() / folder).string() +
                         " " + archive.string()),
              0);
    EXPECT_TRUE(ReadTree(dir.path()).at(std::string(folder) + ".WQA") ==
                BuiltArchive(folder))
        << folder << ".WQA differs";
  }
}

TEST(GameDataBuild, GeneratorRefusesBadArgumentsAndUnwritableFolders) {
  EXPECT_EQ(RunCommand(ASSETGEN_TOOL_PATH), 2);
  wqtest::TempDir dir;
  dir.WriteFile("taken", "a file where the data folder should go");
  EXPECT_EQ(RunCommand(std::string(ASSETGEN_TOOL_PATH) + " " + (dir.path() / "taken").string()), 1);
  EXPECT_EQ(dir.ReadFile("taken"), "a file where the data folder should go");
}

TEST(GameDataBuild, ArchivesHoldTheFoldersUnderTheGamesKey) {
  for (const char* folder : {"Pict", "Sound"}) {
    SCOPED_TRACE(folder);
    wqtest::TempDir dir;
    const fs::path archive = gamedata::ArchiveFolder() / (std::string(folder) + ".WQA");
    ASSERT_TRUE(fs::exists(archive));
    ASSERT_EQ(RunCommand(std::string(WQA_TOOL_PATH) + " extract " + archive.string() + " " + dir.path().string() +
                  " --key " + kArchiveKey),
              0);
    const auto unpacked = ReadTree(dir.path());
    const auto plain = ReadTree(gamedata::DataFolder() / folder);
    ASSERT_EQ(Names(unpacked), Names(plain));
    for (const auto& [name, bytes] : plain) EXPECT_TRUE(unpacked.at(name) == bytes) << name << " differs";
    // Under another key the archive does not open.
    EXPECT_NE(RunCommand(std::string(WQA_TOOL_PATH) + " list " + archive.string() + " --key wrongkey"), 0);
  }
}

}  // namespace
