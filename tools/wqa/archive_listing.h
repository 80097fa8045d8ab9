// Walks an archive opened by the framework's reader, depth first, in
// archive order.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/files/archive_reader.h"

namespace wqa {

struct ArchiveItem {
  std::vector<std::string> names;  // from the root, code page 932, as written
  bool directory;
  const WqaFileRecord* record;     // files only
};

// Throws std::runtime_error when the archive's tables are damaged.
void ForEachArchiveItem(ArchiveState* archive, const std::function<void(const ArchiveItem&)>& visit);

// The unpacked data of a file; throws std::runtime_error when damaged.
std::vector<std::uint8_t> ReadArchiveItem(ArchiveState* archive, const ArchiveItem& item);

}  // namespace wqa
