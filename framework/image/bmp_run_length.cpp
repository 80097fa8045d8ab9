// Run-length decoding of 4- and 8-bit BMP data.
#include <cstring>

#include "image/bmp_reader.h"

namespace {

// The write position, in file row order; writes outside the image are
// dropped.
class RunLengthTarget {
 public:
  RunLengthTarget(const BmpLayout& layout, std::uint8_t* out, std::uint32_t pitch)
      : layout_(layout), out_(out), pitch_(pitch) {}

  void Put(std::uint8_t index) {
    if (column_ < layout_.width && row_ < layout_.height) {
      int imageRow = layout_.bottomUp ? layout_.height - 1 - static_cast<int>(row_) : static_cast<int>(row_);
      out_[static_cast<std::size_t>(imageRow) * pitch_ + column_] = index;
    }
    ++column_;
  }
  void NextLine() {
    ++row_;
    column_ = 0;
  }
  void Move(int dx, int dy) {
    column_ += dx;
    row_ += dy;
  }
  bool Finished() const { return row_ >= layout_.height; }

 private:
  const BmpLayout& layout_;
  std::uint8_t* out_;
  std::uint32_t pitch_;
  std::int64_t column_ = 0;
  std::int64_t row_ = 0;
};

}  // namespace

void DecodeBmpRunLength(const BmpLayout& layout, bool nibbles, const std::uint8_t* data, std::int64_t size,
                        std::uint8_t* out, std::uint32_t pitch) {
  RunLengthTarget target(layout, out, pitch);
  std::int64_t in = 0;
  while (!target.Finished() && size - in >= 2) {
    int count = data[in], value = data[in + 1];
    in += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        target.Put(static_cast<std::uint8_t>(nibbles ? (i % 2 == 0 ? value >> 4 : value & 15) : value));
      }
      continue;
    }
    if (value == 0) {
      target.NextLine();
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      if (size - in < 2) return;
      target.Move(data[in], data[in + 1]);
      in += 2;
    } else {
      std::int64_t bytes = nibbles ? (value + 1) / 2 : value;
      bytes += bytes & 1;  // runs are padded to whole 16-bit words
      if (size - in < (nibbles ? (value + 1) / 2 : value)) return;
      for (int i = 0; i < value; ++i) {
        int byte = data[in + (nibbles ? i / 2 : i)];
        target.Put(static_cast<std::uint8_t>(nibbles ? (i % 2 == 0 ? byte >> 4 : byte & 15) : byte));
      }
      in += bytes;
    }
  }
}
