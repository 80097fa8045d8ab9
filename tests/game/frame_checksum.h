// Checksums of captured frames: FNV-1a over the decoded RGB pixels, so that
// a frame compares by what it shows, not by how its PNG was compressed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace gametest {

// The checksum of the picture, or nothing when the file is not a readable
// PNG of `width` x `height`.
std::optional<std::uint64_t> FrameChecksum(const std::filesystem::path& png, int width, int height);

}  // namespace gametest
