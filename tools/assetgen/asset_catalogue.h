// The game's data files: every path the game loads, with the maker of its
// bytes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "encoders.h"

namespace assetgen {

struct AssetFile {
  std::u8string path;  // relative to the data folder, '/'-separated, UTF-8
  std::function<Bytes()> make;
};

std::vector<AssetFile> AssetCatalogue();

}  // namespace assetgen
