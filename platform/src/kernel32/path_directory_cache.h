// Case-insensitive lookup of names in Linux directories, as Windows matches
// names. Each directory is scanned once and kept until its modification time
// changes or this process changes its entries.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wqplat {

// The on-disk (UTF-8) name in `directory` whose code page 932 form equals
// `name` ignoring ASCII case, or nothing.
std::optional<std::string> FindNameIgnoringCase(const std::string& directory, std::string_view name);

// Drops the scan of a directory whose entries this process has just changed
// (the modification time alone can miss changes within one clock tick).
void ForgetDirectoryScan(const std::string& directory);

}  // namespace wqplat
