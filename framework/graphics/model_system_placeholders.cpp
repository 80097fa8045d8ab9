#include "graphics/model_system_placeholders.h"

int InitModelSystem() { return 0; }
int TerminateModelSystem() { return 0; }
