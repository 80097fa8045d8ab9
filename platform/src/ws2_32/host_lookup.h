// Host names and IPv4 addresses through the system resolver, behind an
// interface free of the POSIX declarations (see posix_socket.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wqplat {

enum class HostLookupResult { kFound, kNotFound, kTryAgain, kNoRecovery, kNoData };

struct HostRecord {
  std::string name;
  std::vector<std::uint32_t> addresses;  // network byte order
};

HostLookupResult LookupHostByName(const char* name, HostRecord* host);
HostLookupResult LookupHostByAddress(std::uint32_t address, HostRecord* host);
// This machine's name; false when it cannot be read.
bool ReadLocalHostName(std::string* name);
// Dotted text in the forms inet_aton accepts; false for anything else.
bool ParseIpv4Text(const char* text, std::uint32_t* address);

}  // namespace wqplat
