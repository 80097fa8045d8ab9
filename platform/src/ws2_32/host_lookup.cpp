#include "ws2_32/host_lookup.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <climits>
#include <memory>

namespace wqplat {
namespace {

HostLookupResult FromResolverError(int error) {
  switch (error) {
    case 0: return HostLookupResult::kFound;
    case EAI_AGAIN: return HostLookupResult::kTryAgain;
    case EAI_NODATA:
    case EAI_ADDRFAMILY: return HostLookupResult::kNoData;
    case EAI_NONAME: return HostLookupResult::kNotFound;
    default: return HostLookupResult::kNoRecovery;
  }
}

}  // namespace

HostLookupResult LookupHostByName(const char* name, HostRecord* host) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_CANONNAME;
  addrinfo* found = nullptr;
  const HostLookupResult result = FromResolverError(getaddrinfo(name, nullptr, &hints, &found));
  if (result != HostLookupResult::kFound) return result;
  std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owner(found, freeaddrinfo);
  host->name = found->ai_canonname ? found->ai_canonname : name;
  host->addresses.clear();
  for (const addrinfo* entry = found; entry; entry = entry->ai_next) {
    host->addresses.push_back(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr);
  }
  return HostLookupResult::kFound;
}

HostLookupResult LookupHostByAddress(std::uint32_t address, HostRecord* host) {
  sockaddr_in socket_address{};
  socket_address.sin_family = AF_INET;
  socket_address.sin_addr.s_addr = address;
  char name[NI_MAXHOST];
  const int error = getnameinfo(reinterpret_cast<const sockaddr*>(&socket_address), sizeof(socket_address),
                                name, sizeof(name), nullptr, 0, NI_NAMEREQD);
  const HostLookupResult result = FromResolverError(error);
  if (result != HostLookupResult::kFound) return result;
  host->name = name;
  host->addresses.assign(1, address);
  return HostLookupResult::kFound;
}

bool ReadLocalHostName(std::string* name) {
  char buffer[HOST_NAME_MAX + 1];
  if (gethostname(buffer, sizeof(buffer)) != 0) return false;
  buffer[HOST_NAME_MAX] = '\0';
  *name = buffer;
  return true;
}

bool ParseIpv4Text(const char* text, std::uint32_t* address) {
  in_addr parsed{};
  if (inet_aton(text, &parsed) == 0) return false;
  *address = parsed.s_addr;
  return true;
}

}  // namespace wqplat
