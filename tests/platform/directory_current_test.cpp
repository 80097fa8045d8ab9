// The current directory in Windows form, and creating directories.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/kernel32_file.h"
#include "support/temp_dir.h"

namespace {

struct PathError {
  std::string path;
  DWORD error;
};

class DirectoryTest : public testing::Test {
 protected:
  void SetUp() override {
    original_cwd_ = std::filesystem::current_path();
    std::filesystem::create_directories(dir_.path() / "Sub");
    dir_.WriteFile("file.txt", "");
  }
  void TearDown() override { std::filesystem::current_path(original_cwd_); }

  static std::string Current() {
    char buffer[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    EXPECT_EQ(length, std::strlen(buffer));
    return buffer;
  }

  wqtest::TempDir dir_;
  std::filesystem::path original_cwd_;
};

TEST_F(DirectoryTest, SetChangesTheProcessDirectoryAndGetReportsItsRealName) {
  ASSERT_TRUE(SetCurrentDirectoryA((dir_.WindowsPath() + "\\SUB\\").c_str()));
  EXPECT_EQ(std::filesystem::current_path(), dir_.path() / "Sub");
  EXPECT_EQ(Current(), dir_.WindowsPath() + "\\Sub");

  ASSERT_TRUE(SetCurrentDirectoryA(".."));
  EXPECT_EQ(Current(), dir_.WindowsPath());
  ASSERT_TRUE(SetCurrentDirectoryA("c:/"));
  EXPECT_EQ(Current(), "C:\\");  // only the root ends with a backslash
}

TEST_F(DirectoryTest, TooSmallBufferGetsTheSizeNeededAndNothingWritten) {
  ASSERT_TRUE(SetCurrentDirectoryA(dir_.WindowsPath().c_str()));
  const std::string expected = dir_.WindowsPath();
  const DWORD length = static_cast<DWORD>(expected.size());

  char buffer[MAX_PATH];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(GetCurrentDirectoryA(length, buffer), length + 1);
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), length + 1);
  EXPECT_EQ(GetCurrentDirectoryA(length + 1, buffer), length);
  EXPECT_EQ(std::string(buffer), expected);
}

TEST_F(DirectoryTest, SetRefusesWhatIsNotAnExistingDirectory) {
  const std::string base = dir_.WindowsPath();
  const PathError cases[] = {
      {base + "\\missing", ERROR_FILE_NOT_FOUND},
      {base + "\\missing\\deeper", ERROR_PATH_NOT_FOUND},
      {base + "\\file.txt", ERROR_DIRECTORY},
      {"E:\\", ERROR_PATH_NOT_FOUND},
  };
  for (const PathError& c : cases) {
    EXPECT_FALSE(SetCurrentDirectoryA(c.path.c_str())) << c.path;
    EXPECT_EQ(GetLastError(), c.error) << c.path;
  }
  EXPECT_EQ(std::filesystem::current_path(), original_cwd_);
}

TEST_F(DirectoryTest, CreateDirectoryMakesNewFoldersUnderExistingOnes) {
  const std::string base = dir_.WindowsPath();
  ASSERT_TRUE(CreateDirectoryA((base + "\\SUB\\New").c_str(), nullptr));
  EXPECT_TRUE(std::filesystem::is_directory(dir_.path() / "Sub/New"));
  EXPECT_EQ(GetFileAttributesA((base + "\\sub\\NEW").c_str()), FILE_ATTRIBUTE_DIRECTORY);

  const PathError cases[] = {
      {base + "\\sub\\new", ERROR_ALREADY_EXISTS},
      {base + "\\FILE.TXT", ERROR_ALREADY_EXISTS},
      {base + "\\missing\\new", ERROR_PATH_NOT_FOUND},
      {base + "\\bad|name", ERROR_INVALID_NAME},
  };
  for (const PathError& c : cases) {
    EXPECT_FALSE(CreateDirectoryA(c.path.c_str(), nullptr)) << c.path;
    EXPECT_EQ(GetLastError(), c.error) << c.path;
  }
}

}  // namespace
