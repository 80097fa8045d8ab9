#include "ws2_32/socket_address.h"

#include <cstring>

#include "ws2_32/wsa_error.h"

namespace wqplat {
namespace {

bool Refuse(int wsa_error) {
  FailWinsockCall(wsa_error);
  return false;
}

}  // namespace

bool ReadSocketAddress(const sockaddr* name, int length, Ipv4Endpoint* endpoint) {
  if (!name || length < static_cast<int>(sizeof(sockaddr_in))) return Refuse(WSAEFAULT);
  sockaddr_in address;
  std::memcpy(&address, name, sizeof(address));
  if (address.sin_family != AF_INET) return Refuse(WSAEAFNOSUPPORT);
  endpoint->address = address.sin_addr.s_addr;
  endpoint->port = address.sin_port;
  return true;
}

bool WriteSocketAddress(const Ipv4Endpoint& endpoint, sockaddr* name, int* length) {
  if (!name) return true;
  if (!length || *length < static_cast<int>(sizeof(sockaddr_in))) return Refuse(WSAEFAULT);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = endpoint.port;
  address.sin_addr.s_addr = endpoint.address;
  std::memcpy(name, &address, sizeof(address));
  *length = sizeof(address);
  return true;
}

}  // namespace wqplat
