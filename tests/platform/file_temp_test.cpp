// The temporary folder and temporary file names.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/kernel32_file.h"
#include "support/temp_dir.h"

namespace {

TEST(TempPathTest, IsTheTemporaryFolderInWindowsFormWithABackslash) {
  wqtest::TempDir dir;
  ASSERT_EQ(setenv("TMPDIR", dir.path().c_str(), 1), 0);
  const std::string expected = dir.WindowsPath() + "\\";
  char buffer[MAX_PATH];
  EXPECT_EQ(GetTempPathA(MAX_PATH, buffer), expected.size());
  EXPECT_EQ(std::string(buffer), expected);

  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(GetTempPathA(static_cast<DWORD>(expected.size()), buffer), expected.size() + 1);
  EXPECT_EQ(buffer[0], 'x');
  unsetenv("TMPDIR");
}

class TempFileNameTest : public testing::Test {
 protected:
  wqtest::TempDir dir_;
  char name_[MAX_PATH] = {};
};

TEST_F(TempFileNameTest, UniqueZeroCreatesANewEmptyFileEachCall) {
  UINT first = GetTempFileNameA(dir_.WindowsPath().c_str(), "tmpfoo", 0, name_);
  ASSERT_NE(first, 0u);
  char expected[32];
  std::snprintf(expected, sizeof expected, "\\tmp%X.tmp", first);
  EXPECT_EQ(std::string(name_), dir_.WindowsPath() + expected);
  EXPECT_LE(first, 0xFFFFu);
  HANDLE opened = CreateFileA(name_, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(opened, INVALID_HANDLE_VALUE);  // created, and closed again
  EXPECT_EQ(GetFileSize(opened, nullptr), 0u);
  CloseHandle(opened);

  char second_name[MAX_PATH];
  UINT second = GetTempFileNameA((dir_.WindowsPath() + "\\").c_str(), "tmp", 0, second_name);
  EXPECT_NE(second, first);
  EXPECT_NE(std::string(second_name), std::string(name_));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 2);
}

TEST_F(TempFileNameTest, GivenUniqueOnlyMakesTheName) {
  EXPECT_EQ(GetTempFileNameA(dir_.WindowsPath().c_str(), "ab", 0x1AB, name_), 0x1ABu);
  EXPECT_EQ(std::string(name_), dir_.WindowsPath() + "\\ab1AB.tmp");
  EXPECT_EQ(GetTempFileNameA(dir_.WindowsPath().c_str(), nullptr, 0x12345, name_), 0x12345u);
  EXPECT_EQ(std::string(name_), dir_.WindowsPath() + "\\2345.tmp");  // the low 16 bits
  EXPECT_EQ(GetTempFileNameA(dir_.WindowsPath().c_str(), "表ソ漢字", 1, name_), 1u);
  EXPECT_EQ(std::string(name_), dir_.WindowsPath() + "\\表ソ漢1.tmp");  // three characters, not bytes
  EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));
}

TEST_F(TempFileNameTest, BadFoldersAndArgumentsFail) {
  EXPECT_EQ(GetTempFileNameA(nullptr, "tmp", 0, name_), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetTempFileNameA(dir_.WindowsPath().c_str(), "tmp", 0, nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetTempFileNameA(("C:\\" + std::string(MAX_PATH - 16, 'd')).c_str(), "tmp", 0, name_), 0u);
  EXPECT_EQ(GetLastError(), ERROR_BUFFER_OVERFLOW);
  EXPECT_EQ(GetTempFileNameA((dir_.WindowsPath() + "\\missing").c_str(), "tmp", 0, name_), 0u);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

}  // namespace
