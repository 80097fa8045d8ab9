// Controls of the filter graph manager, for tests (part of control.h).
#pragma once

// While set, every filter graph's method of that name fails with E_FAIL
// before it does anything: "AddFilter", "Run" or "WaitForCompletion".
void WqControlSetFilterGraphCallFails(const char* method, bool fails);
