#include "ws2_32/posix_socket.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace wqplat {
namespace {

int Result(long value) { return value < 0 ? -errno : static_cast<int>(value); }

sockaddr_in ToSockaddr(const Ipv4Endpoint& endpoint) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = endpoint.port;
  address.sin_addr.s_addr = endpoint.address;
  return address;
}

void FromSockaddr(const sockaddr_in& address, Ipv4Endpoint* endpoint) {
  if (!endpoint) return;
  endpoint->address = address.sin_addr.s_addr;
  endpoint->port = address.sin_port;
}

int SocketOption(int fd, int option, int* value) {
  socklen_t length = sizeof(*value);
  return Result(getsockopt(fd, SOL_SOCKET, option, value, &length));
}

}  // namespace

int OpenSocket(SocketKind kind, int protocol) {
  const int type = kind == SocketKind::kStream ? SOCK_STREAM : SOCK_DGRAM;
  return Result(socket(AF_INET, type | SOCK_CLOEXEC, protocol));
}

int BindSocket(int fd, const Ipv4Endpoint& local) {
  const sockaddr_in address = ToSockaddr(local);
  return Result(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)));
}

int ListenSocket(int fd, int backlog) { return Result(listen(fd, backlog)); }

int AcceptSocket(int fd, Ipv4Endpoint* peer) {
  sockaddr_in address{};
  socklen_t length = sizeof(address);
  const int result = Result(accept4(fd, reinterpret_cast<sockaddr*>(&address), &length, SOCK_CLOEXEC));
  if (result >= 0) FromSockaddr(address, peer);
  return result;
}

int ConnectSocket(int fd, const Ipv4Endpoint& remote) {
  const sockaddr_in address = ToSockaddr(remote);
  return Result(connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)));
}

int SendBytes(int fd, const void* data, std::size_t length, const Ipv4Endpoint* destination) {
  if (!destination) return Result(send(fd, data, length, MSG_NOSIGNAL));
  const sockaddr_in address = ToSockaddr(*destination);
  return Result(sendto(fd, data, length, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&address),
                       sizeof(address)));
}

int ReceiveBytes(int fd, void* buffer, std::size_t length, bool peek, Ipv4Endpoint* source) {
  sockaddr_in address{};
  socklen_t address_length = sizeof(address);
  const int result = Result(recvfrom(fd, buffer, length, peek ? MSG_PEEK : 0,
                                     reinterpret_cast<sockaddr*>(&address), &address_length));
  if (result >= 0) FromSockaddr(address, source);
  return result;
}

int ShutdownSocket(int fd, int how) {
  static constexpr int kHow[] = {SHUT_RD, SHUT_WR, SHUT_RDWR};
  if (how < 0 || how > 2) return -EINVAL;
  return Result(shutdown(fd, kHow[how]));
}

int CloseSocket(int fd) { return Result(close(fd)); }

int MakeNonBlocking(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0) return -errno;
  return Result(fcntl(fd, F_SETFL, flags | O_NONBLOCK));
}

int PeekPendingInput(int fd) {
  char byte;
  const long result = recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  if (result < 0) return -errno;
  return result > 0 ? 1 : 0;
}

int TakePendingError(int fd) {
  int error = 0;
  const int result = SocketOption(fd, SO_ERROR, &error);
  return result < 0 ? -result : error;
}

SocketRole QuerySocketRole(int fd) {
  int value = 0;
  if (SocketOption(fd, SO_ACCEPTCONN, &value) == 0 && value) return SocketRole::kListening;
  if (SocketOption(fd, SO_TYPE, &value) == 0 && value == SOCK_DGRAM) return SocketRole::kConnected;
  sockaddr_in peer{};
  socklen_t length = sizeof(peer);
  return getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) == 0 ? SocketRole::kConnected
                                                                            : SocketRole::kUnconnected;
}

int LocalEndpoint(int fd, Ipv4Endpoint* local) {
  sockaddr_in address{};
  socklen_t length = sizeof(address);
  const int result = Result(getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length));
  if (result >= 0) FromSockaddr(address, local);
  return result;
}

}  // namespace wqplat
