// WinSock helpers for tests: a start-up for the test's lifetime and TCP
// sockets on 127.0.0.1 (nothing leaves the machine).
#pragma once

#include "platform/winsock.h"

namespace wqtest {

class WinsockSession {
 public:
  WinsockSession();
  ~WinsockSession();
  WinsockSession(const WinsockSession&) = delete;
  WinsockSession& operator=(const WinsockSession&) = delete;
};

sockaddr_in LoopbackAddress(USHORT port);
// Listens on a port the system chose; INVALID_SOCKET on failure.
SOCKET ListenOnLoopback(USHORT* port);
// A blocking connection to the port; INVALID_SOCKET on failure.
SOCKET ConnectToLoopback(USHORT port);

}  // namespace wqtest
