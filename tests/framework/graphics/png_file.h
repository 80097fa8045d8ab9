// PNG files for the draw tests: the pictures the tests load (RGBA, made by
// the test itself) and, for review, the frames they draw.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wqtest {

// pixels are 0xAARRGGBB row by row; alpha false writes RGB. An empty
// result means the encoder failed.
std::string EncodePng(const std::vector<std::uint32_t>& pixels, int width, int height, bool alpha);

}  // namespace wqtest
