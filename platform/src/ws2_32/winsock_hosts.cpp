// Host names and addresses, and the byte-order and address-text helpers.
#include <cstring>
#include <string>
#include <vector>

#include "platform/winsock.h"
#include "ws2_32/host_lookup.h"
#include "ws2_32/winsock_session.h"
#include "ws2_32/wsa_error.h"

using namespace wqplat;

namespace {

// The hostent a thread's last host call returned, with everything it
// points to.
struct ThreadHostEntry {
  hostent entry;
  std::string name;
  std::vector<std::uint32_t> addresses;
  std::vector<char*> address_pointers;
  char* no_aliases[1];
};

hostent* NoHost(int wsa_error) {
  FailWinsockCall(wsa_error);
  return nullptr;
}

hostent* PublishHost(HostLookupResult result, HostRecord* record) {
  static constexpr int kErrors[] = {0, WSAHOST_NOT_FOUND, WSATRY_AGAIN, WSANO_RECOVERY, WSANO_DATA};
  if (result != HostLookupResult::kFound) return NoHost(kErrors[static_cast<int>(result)]);
  thread_local ThreadHostEntry host;
  host.name = std::move(record->name);
  host.addresses = std::move(record->addresses);
  host.address_pointers.clear();
  for (std::uint32_t& address : host.addresses) host.address_pointers.push_back(reinterpret_cast<char*>(&address));
  host.address_pointers.push_back(nullptr);
  host.no_aliases[0] = nullptr;
  host.entry = hostent{host.name.data(), host.no_aliases, AF_INET, sizeof(std::uint32_t), host.address_pointers.data()};
  return &host.entry;
}

}  // namespace

USHORT htons(USHORT host_short) { return static_cast<USHORT>(host_short << 8 | host_short >> 8); }

USHORT ntohs(USHORT net_short) { return htons(net_short); }

ULONG inet_addr(const char* text) {
  std::uint32_t address;
  if (!text || !ParseIpv4Text(text, &address)) return INADDR_NONE;
  return address;
}

hostent* gethostbyname(const char* name) {
  if (!RequireWinsockStarted()) return nullptr;
  std::string local_name;
  if (!name || !*name) {
    if (!ReadLocalHostName(&local_name)) return NoHost(WSANO_RECOVERY);
    name = local_name.c_str();
  }
  HostRecord record;
  return PublishHost(LookupHostByName(name, &record), &record);
}

hostent* gethostbyaddr(const char* address, int length, int type) {
  if (!RequireWinsockStarted()) return nullptr;
  if (!address || length < static_cast<int>(sizeof(std::uint32_t))) return NoHost(WSAEFAULT);
  if (type != AF_INET) return NoHost(WSAEAFNOSUPPORT);
  std::uint32_t ipv4;
  std::memcpy(&ipv4, address, sizeof(ipv4));
  HostRecord record;
  return PublishHost(LookupHostByAddress(ipv4, &record), &record);
}

int gethostname(char* name, int length) {
  if (!RequireWinsockStarted()) return SOCKET_ERROR;
  std::string local_name;
  if (!ReadLocalHostName(&local_name)) return FailWinsockCall(WSANO_RECOVERY);
  if (!name || length < 0 || local_name.size() >= static_cast<std::size_t>(length)) return FailWinsockCall(WSAEFAULT);
  std::memcpy(name, local_name.c_str(), local_name.size() + 1);
  return 0;
}
