// Sending and receiving. Each call re-arms the WSAAsyncSelect event it
// consumes: a receive re-arms FD_READ, a send that would block FD_WRITE.
#include <cerrno>

#include "platform/winsock.h"
#include "ws2_32/posix_socket.h"
#include "ws2_32/socket_address.h"
#include "ws2_32/socket_events.h"
#include "ws2_32/winsock_session.h"
#include "ws2_32/wsa_error.h"

using namespace wqplat;

namespace {

// Only MSG_PEEK is offered for receiving and no flag for sending.
int CheckedDescriptor(SOCKET s, const void* buffer, int length, int flags, int allowed_flags) {
  const int fd = SocketDescriptor(s);
  if (fd < 0) return -1;
  if (flags & ~allowed_flags) return FailWinsockCall(WSAEOPNOTSUPP);
  if (length < 0 || (!buffer && length > 0)) return FailWinsockCall(WSAEFAULT);
  return fd;
}

int Send(SOCKET s, const char* buffer, int length, int flags, const Ipv4Endpoint* destination) {
  const int fd = CheckedDescriptor(s, buffer, length, flags, 0);
  if (fd < 0) return SOCKET_ERROR;
  const int result = SendBytes(fd, buffer, static_cast<std::size_t>(length), destination);
  if (result == -EAGAIN) ReenableSocketEvent(fd, FD_WRITE);
  return FinishWinsockCall(result);
}

int Receive(SOCKET s, char* buffer, int length, int flags, Ipv4Endpoint* source) {
  const int fd = CheckedDescriptor(s, buffer, length, flags, MSG_PEEK);
  if (fd < 0) return SOCKET_ERROR;
  const int result = ReceiveBytes(fd, buffer, static_cast<std::size_t>(length), (flags & MSG_PEEK) != 0, source);
  ReenableSocketEvent(fd, FD_READ);
  return FinishWinsockCall(result);
}

}  // namespace

int send(SOCKET s, const char* buffer, int length, int flags) { return Send(s, buffer, length, flags, nullptr); }

int recv(SOCKET s, char* buffer, int length, int flags) { return Receive(s, buffer, length, flags, nullptr); }

int sendto(SOCKET s, const char* buffer, int length, int flags, const sockaddr* to, int to_length) {
  if (!to) return send(s, buffer, length, flags);
  Ipv4Endpoint destination;
  if (!ReadSocketAddress(to, to_length, &destination)) return SOCKET_ERROR;
  return Send(s, buffer, length, flags, &destination);
}

int recvfrom(SOCKET s, char* buffer, int length, int flags, sockaddr* from, int* from_length) {
  if (from && (!from_length || *from_length < static_cast<int>(sizeof(sockaddr_in)))) {
    return FailWinsockCall(WSAEFAULT);
  }
  Ipv4Endpoint source{};
  const int result = Receive(s, buffer, length, flags, &source);
  if (result >= 0) WriteSocketAddress(source, from, from_length);
  return result;
}
