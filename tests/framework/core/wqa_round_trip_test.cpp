// Archives written by the wqa tool's writer read back through the
// framework's reader, for every version the tool writes, stored and packed,
// opened from memory, streamed, and loaded whole.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/files/archive_reader.h"
#include "support/temp_dir.h"
#include "support/wqa_archive_builder.h"
#include "core/base/tracked_allocator.h"

namespace {

using wqtest::WqaFile;
using wqtest::WqaFolder;

enum class OpenMode { kMemory, kStreamed, kWhole, kWholeAsynchronous };

struct SourceFile {
  std::string path;  // inside the archive
  std::string bytes;
  bool compressible;
};

std::string Repetitive() {
  std::string text;
  for (int i = 0; text.size() < 50000; ++i) text += "line " + std::to_string(i % 97) + " of the level data\r\n";
  return text;
}

// Every byte value equally often, so that whatever the compressor picks as
// its escape byte occurs inside the data, also inside repeated runs.
std::string EveryByteValue() {
  std::string bytes;
  for (int round = 0; round < 40; ++round) {
    for (int value = 0; value < 256; ++value) bytes += static_cast<char>(value);
  }
  return bytes;
}

// Long runs of one byte: matches far longer than their distance, and
// longer than the longest single match.
std::string Runs() { return std::string(20000, 'A') + "B" + std::string(9000, '\x7F') + "CD"; }

const std::vector<SourceFile>& Sources() {
  static const std::vector<SourceFile> sources = {
      {"RANDOM.BIN", wqtest::RandomBytes(70000, 1), false},
      {"level.txt", Repetitive(), true},
      {"ALLBYTES.BIN", EveryByteValue(), true},
      {"Img\\Sub\\runs.bin", Runs(), true},
      {"Img\\EMPTY", "", false},
      // Shift-JIS names whose trail byte is 0x5C: 表.txt in the folder ソ.
      {"\x83\x5C\\\x95\x5C.txt", "trail byte names", false},
  };
  return sources;
}

std::vector<wqa::TreeEntry> SourceTree() {
  const auto& s = Sources();
  return {
      WqaFile("RANDOM.BIN", s[0].bytes),
      WqaFile("level.txt", s[1].bytes),
      WqaFile("ALLBYTES.BIN", s[2].bytes),
      WqaFolder("Img", {WqaFolder("Sub", {WqaFile("runs.bin", s[3].bytes)}), WqaFile("EMPTY", s[4].bytes)}),
      WqaFolder("\x83\x5C", {WqaFile("\x95\x5C.txt", s[5].bytes)}),
  };
}

struct KeyCase {
  const char* what;
  wqa::ArchiveKey writtenUnder;
  const char* readerKey;
};

std::vector<KeyCase> KeyCases() {
  wqa::ArchiveKey noString;
  MakeArchiveKey(nullptr, noString.data());
  return {
      {"the program's key", wqa::KeyForArchive("GameKey"), "GameKey"},
      {"fall-back key, reader with a key", wqa::KeyForArchive(""), "OtherKey"},
      {"fall-back key, reader without key", wqa::KeyForArchive(""), nullptr},
      {"no-string key, reader without key", noString, nullptr},
  };
}

class WqaRoundTripTest : public testing::TestWithParam<std::tuple<std::uint32_t, bool, OpenMode>> {
 protected:
  int Open(ArchiveState* state, std::vector<std::uint8_t>& image, const char* readerKey) {
    const OpenMode mode = std::get<2>(GetParam());
    if (mode == OpenMode::kMemory) {
      return OpenArchiveFromMemory(state, image.data(), static_cast<DWORD>(image.size()), readerKey);
    }
    dir_.WriteFile("DATA.WQA", std::string(image.begin(), image.end()));
    const std::string path = dir_.WindowsPath() + "\\DATA.WQA";
    if (mode == OpenMode::kStreamed) return OpenArchiveFileStreamed(state, path.c_str(), readerKey);
    return OpenArchiveFile(state, path.c_str(), readerKey, mode == OpenMode::kWholeAsynchronous);
  }

  wqtest::TempDir dir_;
};

TEST_P(WqaRoundTripTest, EveryFileReadsBackAsWritten) {
  const auto [version, pack, mode] = GetParam();
  const int blocksBefore = GetTrackedBlockCount();
  for (const KeyCase& keyCase : KeyCases()) {
    SCOPED_TRACE(keyCase.what);
    wqa::WriteOptions options{keyCase.writtenUnder, version, pack};
    std::vector<std::uint8_t> image = wqa::BuildArchiveImage(WqaFolder("", SourceTree()), options);
    const std::vector<std::uint8_t> stored = image;

    ArchiveState state{};
    ASSERT_EQ(Open(&state, image, keyCase.readerKey), 0);
    EXPECT_EQ(state.header.version, version);
    EXPECT_EQ(state.charSetClass, version == 4 ? 1u : 0u);
    if (mode == OpenMode::kWholeAsynchronous) {
      EXPECT_NE(WaitArchiveLoad(&state), nullptr);
    }
    for (const SourceFile& source : Sources()) {
      SCOPED_TRACE(source.path);
      const WqaFileRecord* record = FindArchiveFileRecord(source.path.c_str(), &state);
      ASSERT_NE(record, nullptr);
      ASSERT_EQ(DWORD{record->size}, source.bytes.size());
      const bool packed = GetArchiveRecordPackedSize(&state, record) != WQA_STORED;
      EXPECT_EQ(packed, pack && version >= 2 && source.compressible);
      std::string read(source.bytes.size(), '\0');
      ASSERT_EQ(LoadArchiveFileData(&state, record, read.data()), 0);
      EXPECT_TRUE(read == source.bytes);
    }
    EXPECT_EQ(CloseArchive(&state), 0);
    // An image opened from memory is given back as it was stored.
    EXPECT_TRUE(image == stored);
  }
  EXPECT_EQ(GetTrackedBlockCount(), blocksBefore);
}

INSTANTIATE_TEST_SUITE_P(AllWrittenForms, WqaRoundTripTest,
                         testing::Combine(testing::Values(1u, 3u, 4u), testing::Bool(),
                                          testing::Values(OpenMode::kMemory, OpenMode::kStreamed, OpenMode::kWhole,
                                                          OpenMode::kWholeAsynchronous)));

// The tool writes versions 1, 3 and 4; versions 0 and 2 share their
// layouts with 1 and 3.
TEST(WqaVersionTest, VersionsZeroAndTwoRead) {
  for (const auto& [written, readAs] : {std::pair{1u, 0u}, {3u, 2u}}) {
    const wqa::WriteOptions options = wqtest::WqaOptions("", written);
    std::vector<std::uint8_t> image =
        wqtest::BuildWqa({WqaFolder("D", {WqaFile("F.TXT", std::string(500, 'v'))})}, options);
    wqtest::PatchWqa(image, options.key,
                     [&](std::vector<std::uint8_t>& d) { wqtest::HeaderOf(d).version = static_cast<WORD>(readAs); });
    ArchiveState state{};
    ASSERT_EQ(OpenArchiveFromMemory(&state, image.data(), static_cast<DWORD>(image.size()), nullptr), 0);
    const WqaFileRecord* record = FindArchiveFileRecord("d\\f.txt", &state);
    ASSERT_NE(record, nullptr) << readAs;
    std::string read(500, '\0');
    EXPECT_EQ(LoadArchiveFileData(&state, record, read.data()), 0);
    EXPECT_EQ(read, std::string(500, 'v')) << readAs;
    CloseArchive(&state);
  }
}

TEST(WqaKeyTest, AnArchiveUnderAnotherKeyDoesNotOpenAndItsFileIsClosed) {
  wqtest::TempDir dir;
  std::vector<std::uint8_t> image = wqtest::BuildWqa({WqaFile("A", "a")}, wqtest::WqaOptions("KeyOne"));
  const std::vector<std::uint8_t> stored = image;
  ArchiveState state{};
  EXPECT_EQ(OpenArchiveFromMemory(&state, image.data(), static_cast<DWORD>(image.size()), "KeyTwo"), -1);
  EXPECT_TRUE(image == stored);

  dir.WriteFile("A.WQA", std::string(image.begin(), image.end()));
  const std::string path = dir.WindowsPath() + "\\A.WQA";
  EXPECT_EQ(OpenArchiveFileStreamed(&state, path.c_str(), "KeyTwo"), -1);
  EXPECT_EQ(GetTrackedBlockCount(), 0);
  // Closed: the file can be opened again at once, this time under its key.
  ASSERT_EQ(OpenArchiveFileStreamed(&state, path.c_str(), "KeyOne"), 0);
  EXPECT_EQ(OpenArchiveFileStreamed(&state, path.c_str(), "KeyOne"), -1) << "already open";
  EXPECT_EQ(CloseArchive(&state), 0);
}

}  // namespace
