// DXT block decoding (DXT1 to DXT5) into A8R8G8B8 pixels.
#pragma once

#include <cstdint>

// Bytes of one 4 x 4 block of the compressed kind (1 to 5).
inline int DxtBlockBytes(std::uint32_t kind) { return kind == 1 ? 8 : 16; }
// Blocks across a side, counting a part block at the edge.
inline std::int64_t DxtBlocksAcross(std::int64_t side) { return (side + 3) / 4; }

// Decodes one block into 16 pixels of bytes {blue, green, red, alpha},
// row-major.
void DecodeDxtBlock(std::uint32_t kind, const std::uint8_t* block, std::uint8_t pixels[16][4]);
