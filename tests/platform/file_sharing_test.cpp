// Share modes between handles of this process.
#include <gtest/gtest.h>

#include <string>

#include "platform/kernel32_file.h"
#include "support/temp_dir.h"

namespace {

constexpr DWORD kRead = GENERIC_READ;
constexpr DWORD kWrite = GENERIC_WRITE;
constexpr DWORD kShareRW = FILE_SHARE_READ | FILE_SHARE_WRITE;

class FileSharingTest : public testing::Test {
 protected:
  void SetUp() override { dir_.WriteFile("Shared.txt", "keep"); }

  HANDLE Open(DWORD access, DWORD share, DWORD disposition = OPEN_EXISTING, const char* name = "Shared.txt") {
    std::string path = dir_.WindowsPath() + "\\" + name;
    return CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  }

  wqtest::TempDir dir_;
};

struct ShareCase {
  DWORD first_access, first_share, second_access, second_share;
  bool second_opens;
};

TEST_F(FileSharingTest, SecondOpenMustFitTheFirstsShareModeAndViceVersa) {
  const ShareCase cases[] = {
      {kRead, FILE_SHARE_READ, kRead, FILE_SHARE_READ, true},
      {kRead, FILE_SHARE_READ, kWrite, kShareRW, false},   // first does not share writing
      {kRead, kShareRW, kWrite, FILE_SHARE_WRITE, false},  // second does not share the first's reading
      {kRead, kShareRW, kWrite, kShareRW, true},
      {kWrite, 0, kRead, kShareRW, false},
      {kRead | kWrite, kShareRW, kRead | kWrite, kShareRW, true},
      {0, 0, kRead | kWrite, 0, true},  // a handle without data access restricts nobody
      {kRead, 0, 0, 0, true},
  };
  for (const ShareCase& c : cases) {
    HANDLE first = Open(c.first_access, c.first_share);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    HANDLE second = Open(c.second_access, c.second_share);
    EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.second_opens)
        << c.first_access << "/" << c.first_share << " then " << c.second_access << "/" << c.second_share;
    if (second == INVALID_HANDLE_VALUE) {
      EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    } else {
      CloseHandle(second);
    }
    CloseHandle(first);
  }
}

TEST_F(FileSharingTest, RefusedTruncationLeavesTheContents) {
  HANDLE reader = Open(kRead, FILE_SHARE_READ);
  EXPECT_EQ(Open(kWrite, kShareRW, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(Open(kWrite, kShareRW, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(dir_.ReadFile("Shared.txt"), "keep");
  CloseHandle(reader);
}

TEST_F(FileSharingTest, TheSameFileByAnotherSpellingIsTheSameFile) {
  HANDLE first = Open(kWrite, 0);
  EXPECT_EQ(Open(kRead, kShareRW, OPEN_EXISTING, "SHARED.TXT"), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  CloseHandle(first);
  HANDLE again = Open(kRead, 0, OPEN_EXISTING, "shared.txt");
  EXPECT_NE(again, INVALID_HANDLE_VALUE);  // closing released the file
  CloseHandle(again);
}

TEST_F(FileSharingTest, DeletingNeedsEveryOpenToShareDelete) {
  const std::string path = dir_.WindowsPath() + "\\Shared.txt";
  HANDLE without_delete = Open(kRead, kShareRW);
  EXPECT_FALSE(DeleteFileA(path.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  CloseHandle(without_delete);

  HANDLE with_delete = Open(kRead, kShareRW | FILE_SHARE_DELETE);
  EXPECT_TRUE(DeleteFileA(path.c_str()));
  CloseHandle(with_delete);
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
