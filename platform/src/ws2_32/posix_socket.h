// The POSIX socket calls behind ws2_32. The Windows and POSIX declarations
// share names (sockaddr, socket, htons...), so this interface uses neither:
// descriptors are ints, addresses plain IPv4 endpoints, and every failure
// is returned as -errno.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wqplat {

// Both fields in network byte order.
struct Ipv4Endpoint {
  std::uint32_t address;
  std::uint16_t port;
};

enum class SocketKind { kStream, kDatagram };

enum class SocketRole { kListening, kConnected, kUnconnected };

int OpenSocket(SocketKind kind, int protocol);
int BindSocket(int fd, const Ipv4Endpoint& local);
int ListenSocket(int fd, int backlog);
// The new descriptor (blocking), and the peer's endpoint.
int AcceptSocket(int fd, Ipv4Endpoint* peer);
int ConnectSocket(int fd, const Ipv4Endpoint& remote);
// Never raises SIGPIPE. A null destination sends on the connection.
int SendBytes(int fd, const void* data, std::size_t length, const Ipv4Endpoint* destination);
// A non-null source receives the sender's endpoint.
int ReceiveBytes(int fd, void* buffer, std::size_t length, bool peek, Ipv4Endpoint* source);
// how: 0 receive, 1 send, 2 both.
int ShutdownSocket(int fd, int how);
int CloseSocket(int fd);
int MakeNonBlocking(int fd);

// Without waiting: 1 when data is pending, 0 at the end of the stream,
// -errno otherwise (-EAGAIN when nothing is there yet).
int PeekPendingInput(int fd);
// Takes the error of a finished non-blocking connect (0 on success) as an
// errno value.
int TakePendingError(int fd);
// Datagram sockets count as connected: they can always send and receive.
SocketRole QuerySocketRole(int fd);

// A bound datagram or stream socket's local endpoint.
int LocalEndpoint(int fd, Ipv4Endpoint* local);

}  // namespace wqplat
