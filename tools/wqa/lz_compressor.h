// The LZ compressor for archive data: the inverse of the framework's
// UnpackArchiveData, producing its 9-byte header and its codes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace wqa {

std::vector<std::uint8_t> PackArchiveData(std::span<const std::uint8_t> data);

}  // namespace wqa
