#include "support/loopback_sockets.h"

namespace wqtest {

WinsockSession::WinsockSession() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
}

WinsockSession::~WinsockSession() { WSACleanup(); }

sockaddr_in LoopbackAddress(USHORT port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = inet_addr("127.0.0.1");
  return address;
}

SOCKET ListenOnLoopback(USHORT* port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = LoopbackAddress(0);
  int length = sizeof(address);
  if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(s, 8) != 0 || getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  *port = ntohs(address.sin_port);
  return s;
}

SOCKET ConnectToLoopback(USHORT port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  const sockaddr_in address = LoopbackAddress(port);
  if (s == INVALID_SOCKET || connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  return s;
}

}  // namespace wqtest
