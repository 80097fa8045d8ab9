// Image files of every layout, written once per test process by the
// fixture script (independent encoders: Python's standard library, cjpeg),
// each with the pixels its reader must produce.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "WqLib.h"
#include "image/image_reader.h"

namespace wqtest {

struct ImageFixture {
  std::string name;
  std::string extension;
  int bytesPerPixel;
  std::uint32_t pitch;
  int tolerance;      // per channel
  bool alphaChecked;  // the decoded image carries the file's alpha
  int width;
  int height;
  std::vector<std::uint8_t> rgba;  // expected pixels, top-down
  std::string path;                // on disk
  std::string bytes;               // the file
};

// Every fixture, or those of one extension.
const std::vector<ImageFixture>& AllImageFixtures();
std::vector<ImageFixture> ImageFixturesOf(const std::string& extension);
const ImageFixture& ImageFixtureNamed(const std::string& name);

// Runs one reader over bytes held in a memory stream.
int ReadImageBytes(ImageReader reader, const std::string& bytes, BaseImage* image);

// Compares every pixel (through GetBaseImagePixel) with the expected ones.
void ExpectImagePixels(BaseImage* image, const ImageFixture& fixture);

// A little-endian byte string builder for hand-made headers.
class ByteWriter {
 public:
  ByteWriter& U8(int v) {
    bytes_.push_back(static_cast<char>(v));
    return *this;
  }
  ByteWriter& U16(int v) { return U8(v & 255).U8(v >> 8 & 255); }
  ByteWriter& U32(std::uint32_t v) { return U16(static_cast<int>(v & 0xFFFF)).U16(static_cast<int>(v >> 16)); }
  ByteWriter& Text(const std::string& text) {
    bytes_ += text;
    return *this;
  }
  ByteWriter& Fill(std::size_t count, int v) {
    bytes_.append(count, static_cast<char>(v));
    return *this;
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace wqtest
