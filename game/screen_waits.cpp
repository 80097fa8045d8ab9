#include "screen_waits.h"

#include <WqLib.h>

void ShowAndWaitAnyKey() {
  PresentScreen();
  WaitAnyKey();
}

void ShowAndWaitMilliseconds(int ms) {
  PresentScreen();
  WaitMilliseconds(ms);
}
