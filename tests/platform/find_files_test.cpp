// Directory searches: wildcards, the entries listed and what they report.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/kernel32_file.h"
#include "support/temp_dir.h"

namespace {

class FindFilesTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_.WriteFile("Alpha.TXT", "12345");
    dir_.WriteFile("beta.txt", "");
    dir_.WriteFile("gamma.dat", "");
    dir_.WriteFile(".hidden", "");
    dir_.WriteFile("Sub/inner.txt", "");
    dir_.WriteFile(reinterpret_cast<const char*>(u8"表ソ.txt"), "");
  }

  std::vector<std::string> ListNames(const std::string& pattern) const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((dir_.WindowsPath() + "\\" + pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return {"error " + std::to_string(GetLastError())};
    do names.push_back(data.cFileName);
    while (FindNextFileA(search, &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(search));
    return names;
  }

  wqtest::TempDir dir_;
};

TEST_F(FindFilesTest, WildcardsListExactlyTheMatchingNames) {
  struct Case {
    const char* pattern;
    std::vector<std::string> expected;
  } cases[] = {
      {"*", {".", "..", ".hidden", "Alpha.TXT", "beta.txt", "gamma.dat", "Sub", "表ソ.txt"}},
      {"*.*", {".", "..", ".hidden", "Alpha.TXT", "beta.txt", "gamma.dat", "Sub", "表ソ.txt"}},
      {"*.txt", {"Alpha.TXT", "beta.txt", "表ソ.txt"}},
      {"?ETA.*", {"beta.txt"}},
      {"*A*.???", {"Alpha.TXT", "beta.txt", "gamma.dat"}},
      {"SUB", {"Sub"}},
      {"sub.*", {"Sub"}},
      {"表*", {"表ソ.txt"}},
      {"??.txt", {"表ソ.txt"}},  // a double-byte character is one '?'
      {"SUB\\*.TXT", {"inner.txt"}},
      {"sub/*", {".", "..", "inner.txt"}},
      {"*.none", {"error " + std::to_string(ERROR_FILE_NOT_FOUND)}},
      {"missing\\*", {"error " + std::to_string(ERROR_PATH_NOT_FOUND)}},
      {"beta.txt\\*", {"error " + std::to_string(ERROR_PATH_NOT_FOUND)}},
  };
  for (const Case& c : cases) EXPECT_EQ(ListNames(c.pattern), c.expected) << c.pattern;
}

TEST_F(FindFilesTest, EntriesCarryAttributesSizesAndTimes) {
  // 2001-09-09 01:46:40 UTC plus 1.5 microseconds.
  timespec times[2] = {{1000000000, 1500}, {1000000000, 1500}};
  ASSERT_EQ(utimensat(AT_FDCWD, (dir_.path() / "Alpha.TXT").c_str(), times, 0), 0);
  const ULONGLONG expected_time = (1000000000ull + 11644473600ull) * 10000000ull + 15;

  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((dir_.WindowsPath() + "\\alpha.txt").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(data.cFileName, "Alpha.TXT");
  EXPECT_STREQ(data.cAlternateFileName, "");
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(data.nFileSizeLow, 5u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  auto as_number = [](FILETIME t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
  EXPECT_EQ(as_number(data.ftLastWriteTime), expected_time);
  EXPECT_EQ(as_number(data.ftLastAccessTime), expected_time);
  EXPECT_NE(as_number(data.ftCreationTime), 0u);
  FindClose(search);

  search = FindFirstFileA((dir_.WindowsPath() + "\\.*").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  std::vector<std::pair<std::string, DWORD>> listed;
  do listed.emplace_back(data.cFileName, data.dwFileAttributes);
  while (FindNextFileA(search, &data));
  FindClose(search);
  EXPECT_EQ(listed, (std::vector<std::pair<std::string, DWORD>>{
                        {".", FILE_ATTRIBUTE_DIRECTORY},
                        {"..", FILE_ATTRIBUTE_DIRECTORY},
                        {".hidden", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN}}));
}

TEST_F(FindFilesTest, TheDriveRootListsNoDotEntries) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA("C:\\*", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  bool found_tmp = false;
  do {
    EXPECT_STRNE(data.cFileName, ".");
    EXPECT_STRNE(data.cFileName, "..");
    found_tmp |= std::string(data.cFileName) == "tmp";
  } while (FindNextFileA(search, &data));
  EXPECT_TRUE(found_tmp);
  FindClose(search);
}

TEST_F(FindFilesTest, BadArgumentsAndHandlesFailCleanly) {
  WIN32_FIND_DATAA data;
  EXPECT_EQ(FindFirstFileA(nullptr, &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(FindFirstFileA((dir_.WindowsPath() + "\\*").c_str(), nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(FindFirstFileA((dir_.WindowsPath() + "\\").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(FindFirstFileA((dir_.WindowsPath() + "\\" + std::string(300, 'a')).c_str(), &data),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);

  // A file handle is not a search, and a closed search is gone.
  HANDLE file = CreateFileA((dir_.WindowsPath() + "\\beta.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  EXPECT_FALSE(FindNextFileA(file, &data));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(FindClose(file));
  CloseHandle(file);
  HANDLE search = FindFirstFileA((dir_.WindowsPath() + "\\*").c_str(), &data);
  EXPECT_FALSE(FindNextFileA(search, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_TRUE(FindClose(search));
  EXPECT_FALSE(FindClose(search));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

}  // namespace
