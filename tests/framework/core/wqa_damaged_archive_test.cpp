// Damaged archives fail cleanly: the open or the damaged lookup or read
// gives -1 (or no record) with a log line, and nothing reads or writes
// outside a buffer (run under the asan preset).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/files/archive_reader.h"
#include "log_capture.h"
#include "support/wqa_archive_builder.h"
#include "core/base/tracked_allocator.h"

namespace {

using wqtest::WqaFile;
using wqtest::WqaFolder;

// The archive below decoded: records 0 PACKED.TXT, 1 STORED.BIN, 2 DIR,
// 3 DIR\IN.TXT; directory records 0 root, 1 DIR.
using Layout = wqtest::WqaLayout;

const std::string kPackedText = [] {
  std::string text;
  while (text.size() < 4000) text += "packed text, packed text. ";
  return text;
}();
const std::string kStoredBytes = wqtest::RandomBytes(3000, 5);

const char* const kPaths[] = {"PACKED.TXT", "STORED.BIN", "DIR\\IN.TXT"};

struct DamageCase {
  const char* what;
  std::function<void(Layout&)> damage;
  bool openFails;
  const char* damagedPath;  // the path that must fail to read, if any
};

const DamageCase kCases[] = {
    {"truncated inside the header", [](Layout& l) { l.bytes.resize(20); }, true, nullptr},
    {"truncated inside the version 4 header", [](Layout& l) { l.bytes.resize(26); }, true, nullptr},
    {"truncated inside the table block", [](Layout& l) { l.bytes.resize(l.bytes.size() - 5); }, true, nullptr},
    {"table block offset past the end", [](Layout& l) { l.header().tableBlockOffset = 0xFFFFFFF0u; }, true, nullptr},
    {"table block size past the end", [](Layout& l) { l.header().tableBlockSize = 0xFFFFFFFFu; }, true, nullptr},
    {"table block over the header", [](Layout& l) { l.header().tableBlockOffset = 4; }, true, nullptr},
    {"file table past the block",
     [](Layout& l) { l.header().fileTableOffset = l.header().tableBlockSize + 1; }, true, nullptr},
    {"directory table without its root",
     [](Layout& l) { l.header().directoryTableOffset = l.header().tableBlockSize - 8; }, true, nullptr},
    {"data area past the end",
     [](Layout& l) { l.header().dataAreaOffset = static_cast<DWORD>(l.bytes.size()) + 1; }, true, nullptr},
    {"first file record out of the table", [](Layout& l) { l.directory(0).firstFileOffset = 0xFFFFFFF0u; }, false,
     "PACKED.TXT"},
    {"file count past the table", [](Layout& l) { l.directory(1).fileCount = 0x10000000u; }, false, nullptr},
    {"name offset out of the block", [](Layout& l) { l.record(0).nameOffset = 0xFFFFFFFEu; }, false, "PACKED.TXT"},
    {"name word count past the block", [](Layout& l) { l.name(0).wordCount = 0xFFFF; }, false, "PACKED.TXT"},
    {"name without a terminator",
     [](Layout& l) { std::memset(&l.name(0) + 1, 'X', l.name(0).wordCount * 4u); }, false, "PACKED.TXT"},
    {"directory record out of the table", [](Layout& l) { l.record(2).dataOffset = 0xFFFFFFF0u; }, false,
     "DIR\\IN.TXT"},
    {"parent link out of the table", [](Layout& l) { l.directory(1).parentOffset = 0xFFFFFF00u; }, false, nullptr},
    {"stored data past the end", [](Layout& l) { l.record(1).dataOffset = 0xFFFFFF00u; }, false, "STORED.BIN"},
    {"stored size past the end", [](Layout& l) { l.record(1).size = 0x7FFFFFFFu; }, false, "STORED.BIN"},
    {"packed size past the end", [](Layout& l) { l.record(0).packedSize = 0xFFFFFFF0u; }, false, "PACKED.TXT"},
    {"packed size below its header", [](Layout& l) { l.record(0).packedSize = 5; }, false, "PACKED.TXT"},
    {"unpacked size beyond what the codes can make", [](Layout& l) { l.record(0).size = 0x7FFFFFFFu; }, false,
     "PACKED.TXT"},
    {"record size differs from the packed header", [](Layout& l) { l.record(0).size -= 1; }, false, "PACKED.TXT"},
    {"packed header size differs from the record",
     [](Layout& l) {
       WqaPackedHeader header;
       std::memcpy(&header, l.data(0), sizeof(header));
       header.unpackedSize += 1;
       std::memcpy(l.data(0), &header, sizeof(header));
     },
     false, "PACKED.TXT"},
    {"match before the start of the output", [](Layout& l) { l.MatchBeforeTheStart(0); }, false, "PACKED.TXT"},
};

std::vector<std::uint8_t> DamagedImage(const DamageCase& c, const wqa::WriteOptions& options) {
  std::vector<std::uint8_t> image = wqtest::BuildWqa(
      {WqaFile("PACKED.TXT", kPackedText), WqaFile("STORED.BIN", kStoredBytes),
       WqaFolder("DIR", {WqaFile("IN.TXT", "inside")})},
      options);
  wqtest::PatchWqa(image, options.key, [&](std::vector<std::uint8_t>& decoded) {
    Layout layout{decoded};
    c.damage(layout);
  });
  return image;
}

// Reads every path and searches every directory; returns the paths that
// failed.
std::vector<std::string> ReadEverything(ArchiveState* state) {
  std::vector<std::string> failed;
  for (const char* path : kPaths) {
    // The extent is checked before a buffer of the record's size is made.
    const WqaFileRecord* record = FindArchiveFileRecord(path, state);
    if (record == nullptr || GetArchiveFileImage(state, path, nullptr, nullptr) != 0) {
      failed.emplace_back(path);
      continue;
    }
    std::vector<char> data(record->size);
    if (LoadArchiveFileData(state, record, data.data()) != 0) failed.emplace_back(path);
  }
  for (const char* pattern : {"*", "DIR\\*"}) {
    FileInfo info;
    if (ArchiveSearch* search = ArchiveFindFirst(state, pattern, &info)) {
      while (ArchiveFindNext(search, &info) == 0) {
      }
      ArchiveFindClose(search);
    }
  }
  if (ChangeArchiveDirectory(state, "DIR", 1, nullptr) == 0) ChangeArchiveDirectory(state, "..", 1, nullptr);
  return failed;
}

class DamagedArchiveTest : public wqtest::LogCapture, public testing::WithParamInterface<bool> {
 protected:
  int Open(ArchiveState* state, std::vector<std::uint8_t>& image) {
    if (!GetParam()) return OpenArchiveFromMemory(state, image.data(), static_cast<DWORD>(image.size()), "GameKey");
    dir_.WriteFile("DAMAGED.WQA", std::string(image.begin(), image.end()));
    return OpenArchiveFileStreamed(state, (dir_.WindowsPath() + "\\DAMAGED.WQA").c_str(), "GameKey");
  }
};

TEST_P(DamagedArchiveTest, FailsCleanlyWithALogLine) {
  const wqa::WriteOptions options = wqtest::WqaOptions("GameKey");
  for (const DamageCase& c : kCases) {
    SCOPED_TRACE(c.what);
    OpenLogFile();
    std::vector<std::uint8_t> image = DamagedImage(c, options);
    const std::vector<std::uint8_t> stored = image;
    ArchiveState state{};
    const int opened = Open(&state, image);
    EXPECT_EQ(opened, c.openFails ? -1 : 0);
    if (opened == 0) {
      const std::vector<std::string> failed = ReadEverything(&state);
      if (c.damagedPath != nullptr) {
        EXPECT_NE(std::find(failed.begin(), failed.end(), c.damagedPath), failed.end());
      }
      CloseArchive(&state);
    }
    EXPECT_TRUE(image == stored) << "the image is given back as stored";
    EXPECT_NE(LogText().find("ＷＱＡファイル"), std::string::npos) << "a log line names the damage";
    EXPECT_EQ(GetTrackedBlockCount(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(FromMemoryAndStreamed, DamagedArchiveTest, testing::Bool());

TEST(DamagedArchiveVersionTest, VersionsAboveFourAreRefused) {
  const wqa::WriteOptions options = wqtest::WqaOptions("");
  std::vector<std::uint8_t> image = wqtest::BuildWqa({WqaFile("A", "a")}, options);
  wqtest::PatchWqa(image, options.key, [](std::vector<std::uint8_t>& d) { wqtest::HeaderOf(d).version = 5; });
  ArchiveState state{};
  EXPECT_EQ(OpenArchiveFromMemory(&state, image.data(), static_cast<DWORD>(image.size()), nullptr), -1);
  EXPECT_EQ(OpenArchiveFromMemory(&state, image.data(), 7, nullptr), -1) << "an image shorter than a header";
}

}  // namespace
