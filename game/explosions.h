// The explosion effects: started where the boss loses a stock or falls,
// ticked and drawn by stage 1's battle frame.
#pragma once

// Starts an explosion centred at (x, y) in the first free record; dropped
// when all are alive.
void SpawnExplosion(double x, double y);
// Draws every live explosion at one and a half times its frame's size.
void DrawExplosions();
