// The runtime start-up: hands control to WinMain, as on Windows.
#include "game_entry.h"

int main() { return WinMain(nullptr, nullptr, nullptr, 0); }
