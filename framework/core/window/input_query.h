// What every input query does first.
#pragma once

// Waits while the window is inactive; starts input on first use. False
// when the query is to return `*result` at once (input was just started,
// and nothing read); true when it may read (also after a close request,
// from the window system's state).
bool PrepareInputQuery(int* result);
