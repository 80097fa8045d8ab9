// The WinSock session: start-up counting and the table of sockets this
// layer opened, so that a stray number never reaches a foreign descriptor.
#pragma once

#include "platform/winsock.h"

namespace wqplat {

// False, with WSANOTINITIALISED, outside a start-up.
bool RequireWinsockStarted();
// The descriptor of an open socket of this layer, or -1 with the WinSock
// error set (WSANOTINITIALISED, or WSAENOTSOCK for any other number).
int SocketDescriptor(SOCKET s);
SOCKET AddOpenSocket(int fd);
// Forgets the socket; false when it is not one of ours.
bool RemoveOpenSocket(SOCKET s);

}  // namespace wqplat
