// Placeholders for the boss battles still to be written: the boss of those
// stages stands and fires nothing, and falls to the player's shots.
#include "routines_to_come.h"

void RunStage2Battle() {}
void RunStage3Battle() {}
