// Folders on disk as archive trees and back. Names on disk are UTF-8,
// names in archives code page 932.
#pragma once

#include <filesystem>

#include "wqa_writer.h"

namespace wqa {

// Reads a folder with everything below it, children sorted by name. Throws
// std::runtime_error when it cannot be read.
TreeEntry ReadFolderTree(const std::filesystem::path& folder);

// The disk path below a folder of a path inside an archive, given as its
// code page 932 names. Throws std::runtime_error on a name that would leave
// the folder ("", ".", "..", or one holding a separator).
std::filesystem::path DiskPathFor(const std::filesystem::path& folder, const std::vector<std::string>& names);

}  // namespace wqa
