#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lz_compressor.h"
#include "support/wqa_archive_builder.h"
#include "core/files/wqa_format.h"

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<std::uint8_t> Unpacked(const std::vector<std::uint8_t>& packed, DWORD capacity) {
  std::vector<std::uint8_t> out(capacity);
  DWORD size = 0;
  EXPECT_EQ(UnpackArchiveData(packed.data(), static_cast<DWORD>(packed.size()), out.data(), capacity, &size), 0);
  EXPECT_EQ(size, capacity);
  return out;
}

struct DataCase {
  const char* what;
  std::string data;
  double mostRatio;  // packed size / size must stay below this
};

TEST(LzCompressorTest, RoundTripsThroughTheUnpacker) {
  std::string counting;
  for (int i = 0; i < 3000; ++i) counting += std::to_string(i) + ",";
  std::string everyByte;
  for (int round = 0; round < 64; ++round) {
    for (int value = 0; value < 256; ++value) everyByte += static_cast<char>(value);
  }
  const DataCase cases[] = {
      {"empty", "", 10.0},
      {"one byte", "x", 10.0},
      {"random", wqtest::RandomBytes(50000, 3), 1.01},
      {"one long run", std::string(100000, 'r'), 0.01},
      {"a run longer than the longest match", std::string(8195 * 3 + 17, '\0'), 0.01},
      {"short period, matches longer than their distance", std::string(5000, 'a') + "bcbcbcbcbcbcbcbcbcbc", 0.02},
      {"counting text", counting, 0.9},
      {"every byte value, escape included", everyByte, 0.1},
      {"far repeat needing three distance bytes",
       wqtest::RandomBytes(70000, 4) + wqtest::RandomBytes(70000, 9).substr(0, 1000) + wqtest::RandomBytes(70000, 4),
       0.55},
  };
  for (const DataCase& c : cases) {
    const std::vector<std::uint8_t> data = Bytes(c.data);
    const std::vector<std::uint8_t> packed = wqa::PackArchiveData(data);
    EXPECT_EQ(Unpacked(packed, static_cast<DWORD>(data.size())), data) << c.what;
    EXPECT_LT(static_cast<double>(packed.size() - WQA_PACKED_HEADER_SIZE), c.mostRatio * data.size() + 1) << c.what;
  }
}

TEST(LzCompressorTest, TheEscapeIsTheRarestByte) {
  std::string data(1000, 'a');
  for (int value = 0; value < 256; ++value) {
    if (value != 0x42) data += std::string(3, static_cast<char>(value));
  }
  const std::vector<std::uint8_t> packed = wqa::PackArchiveData(Bytes(data));
  EXPECT_EQ(packed[8], 0x42);
}

}  // namespace
