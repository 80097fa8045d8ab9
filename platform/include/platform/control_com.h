// Controls of the COM class table, for tests and tools (part of control.h).
#pragma once

#include "platform/wintypes.h"

// While absent, CoCreateInstance of the class fails with
// REGDB_E_CLASSNOTREG, as for a class that is not installed.
void WqControlSetComClassAbsent(const GUID& clsid, bool absent);
