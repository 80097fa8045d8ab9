// Angles in the game are radians, 0 pointing right and a quarter turn
// pointing down (y grows downward). Every angle constant is a fraction of
// this rounded pi, never of the exact one, so patterns land where they
// always have.
#pragma once

inline constexpr double PI_APPROX = 3.14159;

// The fraction num/den of the rounded half-turn.
inline constexpr double PiFraction(int num, int den) { return PI_APPROX * num / den; }
