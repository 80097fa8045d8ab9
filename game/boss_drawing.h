// The boss as battle and dialogue scenes show it.
#pragma once

// Draws the live boss centred on its centre and, in a battle scene, the
// red "*ENEMY*" marker below the playfield under it.
void DrawBoss();
