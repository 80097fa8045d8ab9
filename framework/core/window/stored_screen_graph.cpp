// The stored picture shown in the window while the program is inactive.
// Nothing in this program stores one, so only its answers without a picture
// are here.
#include "core/window/main_window.h"
#include "core/window/window_system_state.h"

int DrawStoredScreenGraph(HDC) {
  if (WindowSystem().ending) return 0;
  return -1;
}
