// The game's sounds: synthesised effects (WAV) and music (one WAV piece,
// the rest Ogg Vorbis, one of them long enough to be streamed).
#pragma once

#include <vector>

#include "asset_catalogue.h"

namespace assetgen {

std::vector<AssetFile> SoundFiles();

}  // namespace assetgen
