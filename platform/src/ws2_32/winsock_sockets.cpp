// Creating, connecting and closing sockets, and WSAAsyncSelect.
#include <cerrno>

#include "platform/user32.h"
#include "platform/winsock.h"
#include "ws2_32/posix_socket.h"
#include "ws2_32/socket_address.h"
#include "ws2_32/socket_events.h"
#include "ws2_32/winsock_session.h"
#include "ws2_32/wsa_error.h"

using namespace wqplat;

namespace {

SOCKET NoSocket(int wsa_error) {
  FailWinsockCall(wsa_error);
  return INVALID_SOCKET;
}

}  // namespace

SOCKET socket(int family, int type, int protocol) {
  if (!RequireWinsockStarted()) return INVALID_SOCKET;
  if (family != AF_INET) return NoSocket(WSAEAFNOSUPPORT);
  if (type != SOCK_STREAM && type != SOCK_DGRAM) return NoSocket(WSAESOCKTNOSUPPORT);
  const int fd = OpenSocket(type == SOCK_STREAM ? SocketKind::kStream : SocketKind::kDatagram, protocol);
  if (fd < 0) return NoSocket(WsaErrorFromErrno(-fd));
  return AddOpenSocket(fd);
}

int bind(SOCKET s, const sockaddr* name, int name_length) {
  const int fd = SocketDescriptor(s);
  Ipv4Endpoint local;
  if (fd < 0 || !ReadSocketAddress(name, name_length, &local)) return SOCKET_ERROR;
  return FinishWinsockCall(BindSocket(fd, local));
}

int getsockname(SOCKET s, sockaddr* name, int* name_length) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (!name) return FailWinsockCall(WSAEFAULT);
  Ipv4Endpoint local;
  const int result = FinishWinsockCall(LocalEndpoint(fd, &local));
  if (result < 0) return result;
  return WriteSocketAddress(local, name, name_length) ? 0 : SOCKET_ERROR;
}

int listen(SOCKET s, int backlog) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  const int result = FinishWinsockCall(ListenSocket(fd, backlog < 0 ? 0 : backlog));
  if (result == 0) RefreshSocketEvents(fd);
  return result;
}

SOCKET accept(SOCKET s, sockaddr* address, int* address_length) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return INVALID_SOCKET;
  if (address && (!address_length || *address_length < static_cast<int>(sizeof(sockaddr_in)))) {
    return NoSocket(WSAEFAULT);
  }
  Ipv4Endpoint peer;
  const int accepted = AcceptSocket(fd, &peer);
  ReenableSocketEvent(fd, FD_ACCEPT);
  if (accepted < 0) return NoSocket(WsaErrorFromErrno(-accepted));
  WriteSocketAddress(peer, address, address_length);
  if (InheritSocketEvents(fd, accepted)) MakeNonBlocking(accepted);
  return AddOpenSocket(accepted);
}

int connect(SOCKET s, const sockaddr* name, int name_length) {
  const int fd = SocketDescriptor(s);
  Ipv4Endpoint remote;
  if (fd < 0 || !ReadSocketAddress(name, name_length, &remote)) return SOCKET_ERROR;
  BeginConnectCall(fd);
  const int result = ConnectSocket(fd, remote);
  EndConnectCall(fd, result == 0 || result == -EINPROGRESS);
  return FinishWinsockCall(result);
}

int shutdown(SOCKET s, int how) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (how != SD_RECEIVE && how != SD_SEND && how != SD_BOTH) return FailWinsockCall(WSAEINVAL);
  return FinishWinsockCall(ShutdownSocket(fd, how));
}

int closesocket(SOCKET s) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (!RemoveOpenSocket(s)) return FailWinsockCall(WSAENOTSOCK);
  CancelSocketEvents(fd);
  return FinishWinsockCall(CloseSocket(fd));
}

int WSAAsyncSelect(SOCKET s, HWND window, UINT message, LONG events) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (events != 0 && !IsWindow(window)) return FailWinsockCall(WSAEINVAL);
  const int result = FinishWinsockCall(MakeNonBlocking(fd));
  if (result == 0) RequestSocketEvents(fd, window, message, events);
  return result;
}
