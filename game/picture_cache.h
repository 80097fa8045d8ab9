// Pictures are loaded once per run: the scenes load their pictures again
// every time they run (every stage load, every game over) and never delete
// them, which would fill the framework's graph table after many games.
#pragma once

// The graph of `fileName`, loaded with LoadGraph(fileName, 0) on the first
// request and the same handle on every later one (also a failed load's -1,
// so a missing file is reported once).
int LoadPicture(const char* fileName);
