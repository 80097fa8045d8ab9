// Generated: the packed archive holding an empty shader pack.
#include "graphics/shader_pack_block.h"

const std::uint8_t kShaderPackBlock[] = {0};
const std::uint32_t kShaderPackBlockSize = 0;
