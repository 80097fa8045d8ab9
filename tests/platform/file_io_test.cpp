// Opening, creating, reading, writing, positioning and sizing files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/kernel32_file.h"
#include "support/temp_dir.h"

namespace {

class FileIoTest : public testing::Test {
 protected:
  std::string PathOf(const char* name) const { return dir_.WindowsPath() + "\\" + name; }

  HANDLE Open(const char* name, DWORD access, DWORD disposition, DWORD share = 0) const {
    return CreateFileA(PathOf(name).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  }

  wqtest::TempDir dir_;
};

std::string ReadAll(HANDLE file, DWORD at_most = 64) {
  std::string bytes(at_most, '\0');
  DWORD read = 0;
  EXPECT_TRUE(ReadFile(file, bytes.data(), at_most, &read, nullptr));
  bytes.resize(read);
  return bytes;
}

TEST_F(FileIoTest, WrittenBytesReadBackAfterSeeking) {
  HANDLE file = Open("data.bin", GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file, "hello world", 11, &written, nullptr));
  EXPECT_EQ(written, 11u);
  DWORD high = 7;
  EXPECT_EQ(GetFileSize(file, &high), 11u);
  EXPECT_EQ(high, 0u);

  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_BEGIN), 0u);
  EXPECT_EQ(ReadAll(file), "hello world");
  EXPECT_EQ(ReadAll(file), "");  // at the end: success with nothing read

  EXPECT_EQ(SetFilePointer(file, -5, nullptr, FILE_END), 6u);
  EXPECT_EQ(ReadAll(file, 3), "wor");
  EXPECT_EQ(SetFilePointer(file, -4, nullptr, FILE_CURRENT), 5u);
  ASSERT_TRUE(WriteFile(file, "_", 1, &written, nullptr));
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_BEGIN), 0u);
  EXPECT_EQ(ReadAll(file), "hello_world");
  CloseHandle(file);
  EXPECT_EQ(dir_.ReadFile("data.bin"), "hello_world");
}

TEST_F(FileIoTest, SeekingBeforeTheStartFailsAndLeavesThePosition) {
  HANDLE file = Open("data.bin", GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file, "0123456789", 10, &written, nullptr));
  EXPECT_EQ(SetFilePointer(file, 4, nullptr, FILE_BEGIN), 4u);
  EXPECT_EQ(SetFilePointer(file, -5, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
  EXPECT_EQ(SetFilePointer(file, -11, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, 3), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(ReadAll(file, 2), "45");
  CloseHandle(file);
}

TEST_F(FileIoTest, PositionsPastFourGigabytesUseTheHighParts) {
  HANDLE file = Open("sparse.bin", GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
  LONG high = 1;
  EXPECT_EQ(SetFilePointer(file, 10, &high, FILE_BEGIN), 10u);
  EXPECT_EQ(high, 1);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file, "x", 1, &written, nullptr));
  DWORD size_high = 0;
  EXPECT_EQ(GetFileSize(file, &size_high), 11u);
  EXPECT_EQ(size_high, 1u);

  // A caller without a high part cannot be given such a position.
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  // High part -2 with low part -11 is the distance -(4 GB + 11): back to the start.
  high = -2;
  EXPECT_EQ(SetFilePointer(file, -11, &high, FILE_END), 0u);
  EXPECT_EQ(high, 0);
  CloseHandle(file);
}

TEST_F(FileIoTest, CallsRefuseWrongHandlesAccessAndArguments) {
  dir_.WriteFile("data.bin", "abc");
  HANDLE reader = Open("data.bin", GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE);
  HANDLE writer = Open("data.bin", GENERIC_WRITE, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE);
  char buffer[4];
  DWORD count = 99;
  EXPECT_FALSE(WriteFile(reader, "x", 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(count, 0u);
  EXPECT_FALSE(ReadFile(writer, buffer, 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

  OVERLAPPED overlapped{};
  EXPECT_FALSE(ReadFile(reader, buffer, 1, &count, &overlapped));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(ReadFile(reader, nullptr, 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_TRUE(ReadFile(reader, buffer, 2, nullptr, nullptr));  // no count wanted

  HANDLE bogus = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x7FFF0000));
  for (HANDLE bad : {bogus, INVALID_HANDLE_VALUE, HANDLE{nullptr}}) {
    EXPECT_FALSE(ReadFile(bad, buffer, 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetFilePointer(bad, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetFileSize(bad, nullptr), INVALID_FILE_SIZE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  }
  CloseHandle(reader);
  CloseHandle(writer);
  EXPECT_FALSE(ReadFile(reader, buffer, 1, &count, nullptr));  // closed
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

struct DispositionCase {
  DWORD disposition;
  bool file_exists;
  bool opens;
  DWORD last_error;
  const char* contents_after;  // null: no file afterwards
};

std::string DispositionCaseName(const testing::TestParamInfo<DispositionCase>& info) {
  const char* names[] = {"", "CreateNew", "CreateAlways", "OpenExisting", "OpenAlways", "TruncateExisting"};
  return std::string(names[info.param.disposition]) + (info.param.file_exists ? "OnExisting" : "OnMissing");
}

// Keeps the listed test names free of raw object bytes.
void PrintTo(const DispositionCase& c, std::ostream* out) {
  *out << "disposition " << c.disposition << (c.file_exists ? " on an existing file" : " on a missing file");
}

class CreationDispositionTest : public FileIoTest, public testing::WithParamInterface<DispositionCase> {};

TEST_P(CreationDispositionTest, OpensCreatesOrTruncatesAsAsked) {
  const DispositionCase& c = GetParam();
  if (c.file_exists) dir_.WriteFile("file.txt", "old");
  HANDLE file = Open("file.txt", GENERIC_READ | GENERIC_WRITE, c.disposition);
  DWORD error = GetLastError();
  EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens);
  EXPECT_EQ(error, c.last_error);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (c.contents_after == nullptr) {
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "file.txt"));
  } else {
    EXPECT_EQ(dir_.ReadFile("file.txt"), c.contents_after);
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryDisposition, CreationDispositionTest,
    testing::Values(DispositionCase{CREATE_NEW, false, true, ERROR_SUCCESS, ""},
                    DispositionCase{CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
                    DispositionCase{CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
                    DispositionCase{CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
                    DispositionCase{OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
                    DispositionCase{OPEN_EXISTING, true, true, ERROR_SUCCESS, "old"},
                    DispositionCase{OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
                    DispositionCase{OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
                    DispositionCase{TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
                    DispositionCase{TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""}),
    DispositionCaseName);

TEST_F(FileIoTest, OpensThatCannotBeHonouredFail) {
  dir_.WriteFile("locked.txt", "keep");
  std::filesystem::permissions(dir_.path() / "locked.txt", std::filesystem::perms::owner_read);
  std::filesystem::create_directory(dir_.path() / "folder");
  struct Case {
    const char* name;
    DWORD access;
    DWORD disposition;
    DWORD error;
  } cases[] = {
      {"locked.txt", GENERIC_WRITE, OPEN_EXISTING, ERROR_ACCESS_DENIED},
      {"locked.txt", GENERIC_READ, CREATE_ALWAYS, ERROR_ACCESS_DENIED},
      {"folder", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
      {"missing\\file.txt", GENERIC_WRITE, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
      {"locked.txt", GENERIC_READ, TRUNCATE_EXISTING, ERROR_INVALID_PARAMETER},
      {"locked.txt", GENERIC_READ, 0, ERROR_INVALID_PARAMETER},
      {"locked.txt", GENERIC_READ, TRUNCATE_EXISTING + 1, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Open(c.name, c.access, c.disposition), INVALID_HANDLE_VALUE) << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name;
  }
  EXPECT_EQ(dir_.ReadFile("locked.txt"), "keep");
  HANDLE reader = Open("LOCKED.TXT", GENERIC_READ, OPEN_EXISTING);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadAll(reader), "keep");
  CloseHandle(reader);
}

TEST_F(FileIoTest, ReadOnlyAttributeOnCreationMakesAReadOnlyFile) {
  HANDLE file = CreateFileA(PathOf("ro.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_READONLY, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(file, "ok", 2, &written, nullptr));  // the creating handle may still write
  CloseHandle(file);
  EXPECT_EQ(GetFileAttributesA(PathOf("ro.txt").c_str()), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(DeleteFileA(PathOf("ro.txt").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(FileIoTest, DeleteRemovesFilesOnly) {
  dir_.WriteFile("Gone.txt", "");
  std::filesystem::create_directory(dir_.path() / "folder");
  EXPECT_TRUE(DeleteFileA(PathOf("GONE.TXT").c_str()));
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "Gone.txt"));
  EXPECT_FALSE(DeleteFileA(PathOf("GONE.TXT").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(DeleteFileA(PathOf("folder").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

}  // namespace
