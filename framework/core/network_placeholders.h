// Network entry points, standing until network handles are built.
#pragma once

#include "platform/windows.h"

int ShutdownNetWork();
int ProcessNetWorkMessages(int closeFlag);
LRESULT HandleSocketEvent(LPARAM eventWord, WPARAM socket);
