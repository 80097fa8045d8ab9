// Windows socket addresses to and from the layer's IPv4 endpoints.
#pragma once

#include "platform/winsock.h"
#include "ws2_32/posix_socket.h"

namespace wqplat {

// False, with WSAEFAULT (missing or short) or WSAEAFNOSUPPORT (not IPv4).
bool ReadSocketAddress(const sockaddr* name, int length, Ipv4Endpoint* endpoint);
// A null name asks for nothing; false, with WSAEFAULT, when the length is
// missing or short.
bool WriteSocketAddress(const Ipv4Endpoint& endpoint, sockaddr* name, int* length);

}  // namespace wqplat
