#include "ws2_32/winsock_session.h"

#include <cstring>
#include <mutex>
#include <set>
#include <vector>

#include "ws2_32/posix_socket.h"
#include "ws2_32/socket_events.h"
#include "ws2_32/wsa_error.h"

namespace wqplat {
namespace {

struct Session {
  std::mutex mutex;
  int startups = 0;
  std::set<int> sockets;
};

Session& TheSession() {
  static Session session;
  return session;
}

constexpr WORD kHighestVersion = MAKEWORD(2, 2);

}  // namespace

bool RequireWinsockStarted() {
  Session& session = TheSession();
  std::lock_guard lock(session.mutex);
  if (session.startups > 0) return true;
  FailWinsockCall(WSANOTINITIALISED);
  return false;
}

int SocketDescriptor(SOCKET s) {
  Session& session = TheSession();
  std::lock_guard lock(session.mutex);
  if (session.startups == 0) return FailWinsockCall(WSANOTINITIALISED);
  const auto found = s <= static_cast<SOCKET>(INT32_MAX) ? session.sockets.find(static_cast<int>(s))
                                                          : session.sockets.end();
  if (found == session.sockets.end()) return FailWinsockCall(WSAENOTSOCK);
  return *found;
}

SOCKET AddOpenSocket(int fd) {
  Session& session = TheSession();
  std::lock_guard lock(session.mutex);
  session.sockets.insert(fd);
  return static_cast<SOCKET>(fd);
}

bool RemoveOpenSocket(SOCKET s) {
  Session& session = TheSession();
  std::lock_guard lock(session.mutex);
  return s <= static_cast<SOCKET>(INT32_MAX) && session.sockets.erase(static_cast<int>(s)) == 1;
}

}  // namespace wqplat

using namespace wqplat;

int WSAStartup(WORD version_requested, LPWSADATA data) {
  // Versions compare as major.minor; the lower of the request and 2.2 is
  // granted.
  const auto ordinal = [](WORD version) { return (version & 0xFF) << 8 | version >> 8; };
  if (ordinal(version_requested) < ordinal(MAKEWORD(1, 1))) return WSAVERNOTSUPPORTED;
  if (!data) return WSAEFAULT;
  *data = WSADATA{};
  data->wVersion = ordinal(version_requested) > ordinal(kHighestVersion) ? kHighestVersion : version_requested;
  data->wHighVersion = kHighestVersion;
  std::strcpy(data->szDescription, "WinSock 2.0");
  std::strcpy(data->szSystemStatus, "Running");
  Session& session = TheSession();
  std::lock_guard lock(session.mutex);
  ++session.startups;
  return 0;
}

int WSACleanup() {
  Session& session = TheSession();
  std::vector<int> orphans;
  {
    std::lock_guard lock(session.mutex);
    if (session.startups == 0) return FailWinsockCall(WSANOTINITIALISED);
    if (--session.startups > 0) return 0;
    orphans.assign(session.sockets.begin(), session.sockets.end());
    session.sockets.clear();
  }
  // The last cleanup ends the session: its sockets are closed, as Windows
  // resets them.
  StopSocketEvents();
  for (int fd : orphans) CloseSocket(fd);
  return 0;
}
