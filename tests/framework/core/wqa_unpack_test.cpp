#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/files/wqa_format.h"

namespace {

constexpr BYTE kEscape = 0xE5;

// A packed block: the 9-byte header, then the codes.
std::vector<BYTE> Packed(DWORD unpackedSize, std::vector<BYTE> codes) {
  const WqaPackedHeader header{unpackedSize, static_cast<DWORD>(WQA_PACKED_HEADER_SIZE + codes.size()), kEscape};
  codes.insert(codes.begin(), WQA_PACKED_HEADER_SIZE, 0);
  std::memcpy(codes.data(), &header, sizeof(header));
  return codes;
}

int Unpack(const std::vector<BYTE>& packed, std::vector<BYTE>& out) {
  DWORD size = 0;
  return UnpackArchiveData(packed.data(), static_cast<DWORD>(packed.size()), out.data(),
                           static_cast<DWORD>(out.size()), &size);
}

struct GoodCase {
  const char* what;
  DWORD unpackedSize;
  std::vector<BYTE> codes;
  std::vector<BYTE> expected;
};

TEST(UnpackArchiveDataTest, DecodesLiteralsEscapesAndMatches) {
  const GoodCase cases[] = {
      {"escape twice is one escape byte", 3, {'a', kEscape, kEscape, 'b'}, {'a', kEscape, 'b'}},
      {"length field 0 copies 4 bytes", 8, {'w', 'x', 'y', 'z', kEscape, 0x00, 3}, {'w', 'x', 'y', 'z', 'w', 'x', 'y', 'z'}},
      {"distance field 0 repeats the last byte", 7, {'q', 'r', kEscape, 0x08, 0}, {'q', 'r', 'r', 'r', 'r', 'r', 'r'}},
      {"a match longer than its distance repeats", 9, {'a', 'b', 'c', kEscape, 0x10, 2}, {'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c'}},
      {"two distance bytes", 7, {'m', 'n', 'o', kEscape, 0x01, 2, 0}, {'m', 'n', 'o', 'm', 'n', 'o', 'm'}},
      // Code 0xE9 lies above the escape, so it stands for 0xE8: length
      // field 29 + 4 = 33, one distance byte.
      {"code bytes above the escape are one less", 34, {'z', kEscape, 0xE9, 0}, std::vector<BYTE>(34, 'z')},
  };
  for (const GoodCase& c : cases) {
    std::vector<BYTE> out(c.expected.size());
    EXPECT_EQ(Unpack(Packed(c.unpackedSize, c.codes), out), 0) << c.what;
    EXPECT_EQ(out, c.expected) << c.what;
  }
}

TEST(UnpackArchiveDataTest, ExtendedLengthAndThreeDistanceBytes) {
  // Length field (1 << 5) | 3 = 35, + 4 = 39 bytes, distance field 0 in
  // three bytes.
  std::vector<BYTE> out(40);
  ASSERT_EQ(Unpack(Packed(40, {'k', kEscape, (3 << 3) | 4 | 2, 1, 0, 0, 0}), out), 0);
  EXPECT_EQ(out, std::vector<BYTE>(40, 'k'));
}

TEST(UnpackArchiveDataTest, ANullDestinationGivesTheSize) {
  const std::vector<BYTE> packed = Packed(1234, {});
  DWORD size = 0;
  EXPECT_EQ(UnpackArchiveData(packed.data(), static_cast<DWORD>(packed.size()), nullptr, 0, &size), 0);
  EXPECT_EQ(size, 1234u);
}

struct BadCase {
  const char* what;
  std::vector<BYTE> packed;
  DWORD capacity;
};

// Every damaged block is refused without a write outside the output: the
// output buffer is exactly the capacity, so AddressSanitizer sees any
// overrun.
TEST(UnpackArchiveDataTest, RefusesDamagedCodes) {
  std::vector<BYTE> truncatedHeader = Packed(4, {'a', 'b', 'c', 'd'});
  truncatedHeader.resize(8);
  std::vector<BYTE> packedSizeTooLarge = Packed(4, {'a', 'b', 'c', 'd'});
  packedSizeTooLarge[4] = 200;
  std::vector<BYTE> packedSizeTooSmall = Packed(0, {});
  packedSizeTooSmall[4] = 3;
  const BadCase cases[] = {
      {"header cut short", truncatedHeader, 4},
      {"packed size beyond the bytes given", packedSizeTooLarge, 4},
      {"packed size below its header", packedSizeTooSmall, 4},
      {"unpacked size beyond the capacity", Packed(5, {'a', 'b', 'c', 'd', 'e'}), 4},
      {"more literals than the unpacked size", Packed(2, {'a', 'b', 'c'}), 2},
      {"fewer bytes than the unpacked size", Packed(4, {'a', 'b'}), 4},
      {"distance before the start", Packed(6, {'a', 'b', kEscape, 0x00, 2}), 6},
      {"match from an empty output", Packed(4, {kEscape, 0x00, 0}), 4},
      {"match past the unpacked size", Packed(4, {'a', kEscape, 0x00, 0}), 4},
      {"escape at the end", Packed(1, {'a', kEscape}), 1},
      {"length extension missing", Packed(40, {'a', kEscape, 0x04}), 40},
      {"distance bytes missing", Packed(8, {'a', 'b', kEscape, 0x01, 0}), 8},
      {"distance size code 3", Packed(8, {'a', kEscape, 0x03, 0, 0, 0, 0}), 8},
  };
  for (const BadCase& c : cases) {
    std::vector<BYTE> out(c.capacity);
    EXPECT_EQ(Unpack(c.packed, out), -1) << c.what;
  }
}

}  // namespace
