#include "network_placeholders.h"

int ShutdownNetWork() { return 0; }
int ProcessNetWorkMessages(int) { return 0; }
LRESULT HandleSocketEvent(LPARAM, WPARAM) { return 0; }
