#include "WqLib.h"

int WriteThroughTheLibrary() { return LogWrite("probe\n"); }
