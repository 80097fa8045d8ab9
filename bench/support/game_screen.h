// The game's screen size: the benchmarks that draw whole screens draw at
// it, so that they measure the work of one of the game's frames.
#pragma once

namespace wqbench {

inline constexpr int kScreenWidth = 882;
inline constexpr int kScreenHeight = 820;

}  // namespace wqbench
