// GetFullPathNameA: full paths made without the disk, and the file part.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/kernel32_file.h"
#include "support/temp_dir.h"

namespace {

class FullPathNameTest : public testing::Test {
 protected:
  void SetUp() override {
    original_cwd_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override { std::filesystem::current_path(original_cwd_); }

  wqtest::TempDir dir_;
  std::filesystem::path original_cwd_;
};

TEST_F(FullPathNameTest, PathsAreMadeFullAndTheirFilePartFound) {
  const std::string cwd = dir_.WindowsPath();
  const std::string leaf = dir_.path().filename().string();
  struct Case {
    std::string path;
    std::string full;
    const char* file_part;  // null: the path ends in a separator
  } cases[] = {
      {"a\\.\\b\\..\\c", cwd + "\\a\\c", "c"},
      {"C:/x//y/", "C:\\x\\y\\", nullptr},
      {"c:\\..\\..", "C:\\", nullptr},
      {"\\top", "C:\\top", "top"},
      {"C:rel.txt", cwd + "\\rel.txt", "rel.txt"},
      {".", cwd, leaf.c_str()},
      {"C:\\*.txt", "C:\\*.txt", "*.txt"},  // wildcards are no business of this call
      {"C:\\表\\ソ", "C:\\表\\ソ", "ソ"},      // trail bytes 0x5C are not separators
  };
  for (const Case& c : cases) {
    char buffer[MAX_PATH];
    char* file_part = buffer + 1;
    DWORD length = GetFullPathNameA(c.path.c_str(), MAX_PATH, buffer, &file_part);
    EXPECT_EQ(std::string(buffer), c.full) << c.path;
    EXPECT_EQ(length, c.full.size()) << c.path;
    if (c.file_part == nullptr) {
      EXPECT_EQ(file_part, nullptr) << c.path;
    } else {
      ASSERT_NE(file_part, nullptr) << c.path;
      EXPECT_STREQ(file_part, c.file_part) << c.path;
      EXPECT_EQ(file_part + std::strlen(file_part), buffer + length) << c.path;
    }
  }
}

TEST_F(FullPathNameTest, TooSmallBufferGetsTheSizeNeeded) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  char* file_part = nullptr;
  EXPECT_EQ(GetFullPathNameA("C:\\folder\\name", sizeof buffer, buffer, &file_part), 15u);
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(file_part, nullptr);
  EXPECT_EQ(GetFullPathNameA("C:\\folder\\name", 0, nullptr, nullptr), 15u);
}

TEST_F(FullPathNameTest, BadPathsFail) {
  char buffer[MAX_PATH];
  struct Case {
    std::string path;
    DWORD error;
  } cases[] = {
      {"Z:\\x", ERROR_PATH_NOT_FOUND},
      {"C:\\" + std::string(MAX_PATH, 'n'), ERROR_FILENAME_EXCED_RANGE},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetFullPathNameA(c.path.c_str(), MAX_PATH, buffer, nullptr), 0u);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(GetFullPathNameA(nullptr, MAX_PATH, buffer, nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
