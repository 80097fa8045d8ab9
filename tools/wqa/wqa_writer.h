// Builds keyed WQA archive images from a tree of files in memory, and
// writes files so that a failed write never replaces a good one.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/files/wqa_format.h"

namespace wqa {

struct TreeEntry {
  std::string name;  // as written, in code page 932
  bool directory = false;
  std::uint64_t creationTime = 0;  // FILETIME ticks
  std::uint64_t writeTime = 0;
  std::vector<std::uint8_t> data;    // files
  std::vector<TreeEntry> children;   // directories, in archive order
};

using ArchiveKey = std::array<std::uint8_t, WQA_KEY_SIZE>;

// The prepared key of a key string; an empty string means no key string,
// which the tool writes under the fixed fall-back key that every reader
// tries.
ArchiveKey KeyForArchive(const std::string& keyString);

struct WriteOptions {
  ArchiveKey key{};
  std::uint32_t version = WQA_HIGHEST_VERSION;  // 1, 3 or 4
  bool pack = true;  // versions 2 and later; only where it saves space
};

// The root's own name is not stored. Throws std::runtime_error with a
// message fit for the user on a name that cannot be stored or an archive
// too large for the format.
std::vector<std::uint8_t> BuildArchiveImage(const TreeEntry& root, const WriteOptions& options);

// Writes to a temporary file beside the target, then renames it over the
// target; on any failure the temporary file is removed and the target is
// left as it was. Throws std::runtime_error.
void WriteFileReplacing(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

}  // namespace wqa
