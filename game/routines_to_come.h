// The scene routines whose real bodies are still to be written: the boss
// battles of stages 2 to 6. Each is replaced by its real routine in a file
// of its own; until then the boss of those stages fires nothing.
#pragma once

void RunStage2Battle();
void RunStage3Battle();
