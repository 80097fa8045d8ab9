// Checksums of captured frames: FNV-1a over the decoded RGB pixels, so that
// a frame compares by what it shows, not by how its PNG was compressed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace gametest {

// The picture's RGB bytes, row by row, or nothing when the file is not a
// readable PNG of `width` x `height`.
std::optional<std::vector<std::uint8_t>> FramePixels(const std::filesystem::path& png, int width, int height);

// The checksum of the picture, or nothing as above.
std::optional<std::uint64_t> FrameChecksum(const std::filesystem::path& png, int width, int height);

}  // namespace gametest
