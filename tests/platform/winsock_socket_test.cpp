#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/kernel32.h"
#include "platform/winsock.h"
#include "support/loopback_sockets.h"

namespace {

using wqtest::ConnectToLoopback;
using wqtest::ListenOnLoopback;
using wqtest::LoopbackAddress;

class WinsockSocketTest : public testing::Test {
 protected:
  wqtest::WinsockSession session_;
};

TEST(WinsockStartupTest, GrantsTheLowerOfTheRequestAndVersionTwoTwo) {
  struct Case {
    WORD requested;
    int result;
    WORD granted;
  };
  const Case cases[] = {
      {MAKEWORD(2, 2), 0, MAKEWORD(2, 2)},
      {MAKEWORD(1, 1), 0, MAKEWORD(1, 1)},
      {MAKEWORD(2, 0), 0, MAKEWORD(2, 0)},
      {MAKEWORD(3, 0), 0, MAKEWORD(2, 2)},
      {MAKEWORD(1, 0), WSAVERNOTSUPPORTED, 0},
  };
  for (const Case& c : cases) {
    WSADATA data{};
    EXPECT_EQ(WSAStartup(c.requested, &data), c.result) << c.requested;
    if (c.result != 0) continue;
    EXPECT_EQ(data.wVersion, c.granted) << c.requested;
    EXPECT_EQ(data.wHighVersion, MAKEWORD(2, 2));
    EXPECT_EQ(WSACleanup(), 0);
  }
}

TEST(WinsockStartupTest, CallsOutsideAStartUpFailWithNotInitialised) {
  EXPECT_EQ(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
  char name[256];
  EXPECT_EQ(gethostname(name, static_cast<int>(sizeof(name))), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
  EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
  // The pure helpers need no start-up.
  EXPECT_EQ(htons(0x1234), 0x3412);
  EXPECT_EQ(ntohs(0x3412), 0x1234);
}

TEST(WinsockStartupTest, TheLastCleanupClosesTheSessionsSockets) {
  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_NE(s, INVALID_SOCKET);
  ASSERT_EQ(WSACleanup(), 0);
  EXPECT_EQ(listen(s, 1), 0) << "an inner cleanup keeps the session";
  ASSERT_EQ(WSACleanup(), 0);
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  EXPECT_EQ(closesocket(s), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  WSACleanup();
}

TEST_F(WinsockSocketTest, NumbersThatAreNotOurSocketsAreRefused) {
  // Descriptor 1 is standard output: it must never be reached through a
  // socket number.
  for (SOCKET stray : {SOCKET{0}, SOCKET{1}, SOCKET{2}, INVALID_SOCKET, SOCKET{0x7FFFFFFF}}) {
    EXPECT_EQ(closesocket(stray), SOCKET_ERROR) << stray;
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK) << stray;
    char byte = 0;
    EXPECT_EQ(send(stray, &byte, 1, 0), SOCKET_ERROR) << stray;
  }
}

TEST_F(WinsockSocketTest, UnsupportedFamiliesTypesAndFlagsAreRefused) {
  EXPECT_EQ(socket(23, SOCK_STREAM, 0), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSAEAFNOSUPPORT);
  EXPECT_EQ(socket(AF_INET, 5, 0), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSAESOCKTNOSUPPORT);

  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = LoopbackAddress(0);
  EXPECT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address) - 1), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
  address.sin_family = 23;
  EXPECT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEAFNOSUPPORT);
  char buffer[4];
  EXPECT_EQ(recv(s, buffer, -1, 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
  EXPECT_EQ(recv(s, buffer, 4, 0x1), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEOPNOTSUPP);
  EXPECT_EQ(closesocket(s), 0);
}

TEST_F(WinsockSocketTest, StreamOnLoopbackPeeksReceivesAndSeesTheEnd) {
  USHORT port = 0;
  SOCKET listener = ListenOnLoopback(&port);
  ASSERT_NE(listener, INVALID_SOCKET);
  SOCKET client = ConnectToLoopback(port);
  ASSERT_NE(client, INVALID_SOCKET);
  sockaddr_in peer{};
  int peer_length = sizeof(peer);
  SOCKET server = accept(listener, reinterpret_cast<sockaddr*>(&peer), &peer_length);
  ASSERT_NE(server, INVALID_SOCKET);
  EXPECT_EQ(peer_length, static_cast<int>(sizeof(sockaddr_in)));
  EXPECT_EQ(peer.sin_family, AF_INET);
  EXPECT_EQ(peer.sin_addr.s_addr, inet_addr("127.0.0.1"));

  ASSERT_EQ(send(client, "hello", 5, 0), 5);
  char buffer[8] = {};
  ASSERT_EQ(recv(server, buffer, 5, MSG_PEEK), 5);
  EXPECT_EQ(std::string(buffer, 5), "hello");
  std::memset(buffer, 0, sizeof(buffer));
  ASSERT_EQ(recv(server, buffer, 3, 0), 3);
  EXPECT_EQ(std::string(buffer, 3), "hel");
  ASSERT_EQ(recv(server, buffer, sizeof(buffer), 0), 2);
  EXPECT_EQ(std::string(buffer, 2), "lo");

  EXPECT_EQ(shutdown(client, SD_SEND), 0);
  EXPECT_EQ(recv(server, buffer, sizeof(buffer), 0), 0);
  EXPECT_EQ(send(client, "x", 1, 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAESHUTDOWN);
  for (SOCKET s : {server, client, listener}) EXPECT_EQ(closesocket(s), 0);
}

TEST_F(WinsockSocketTest, ConnectingToAClosedPortIsRefused) {
  USHORT port = 0;
  SOCKET listener = ListenOnLoopback(&port);
  ASSERT_NE(listener, INVALID_SOCKET);
  closesocket(listener);
  EXPECT_EQ(ConnectToLoopback(port), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSAECONNREFUSED);
}

TEST_F(WinsockSocketTest, DatagramsReportTheirSender) {
  SOCKET receiver = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  SOCKET sender = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  sockaddr_in address = LoopbackAddress(0);
  int length = sizeof(address);
  ASSERT_EQ(bind(receiver, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  ASSERT_EQ(getsockname(receiver, reinterpret_cast<sockaddr*>(&address), &length), 0);
  ASSERT_EQ(sendto(sender, "ping", 4, 0, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 4);

  char buffer[16];
  sockaddr_in from{};
  int from_length = sizeof(from);
  ASSERT_EQ(recvfrom(receiver, buffer, sizeof(buffer), 0, reinterpret_cast<sockaddr*>(&from), &from_length), 4);
  EXPECT_EQ(std::string(buffer, 4), "ping");
  EXPECT_EQ(from.sin_addr.s_addr, inet_addr("127.0.0.1"));
  sockaddr_in sender_address{};
  int sender_length = sizeof(sender_address);
  ASSERT_EQ(getsockname(sender, reinterpret_cast<sockaddr*>(&sender_address), &sender_length), 0);
  EXPECT_EQ(from.sin_port, sender_address.sin_port);

  int short_length = 4;
  EXPECT_EQ(recvfrom(receiver, buffer, sizeof(buffer), 0, reinterpret_cast<sockaddr*>(&from), &short_length),
            SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
  closesocket(receiver);
  closesocket(sender);
}

TEST(WinsockAddressTest, DottedTextBecomesANetworkOrderAddress) {
  struct Case {
    const char* text;
    ULONG address;
  };
  const Case cases[] = {
      {"127.0.0.1", 0x0100007Fu},  {"10.1.2.3", 0x0302010Au}, {"1.2.3", 0x03000201u},
      {"0x7f.1", 0x0100007Fu},     {"", INADDR_NONE},         {"256.1.1.1", INADDR_NONE},
      {"a.b.c.d", INADDR_NONE},    {"1.2.3.4.5", INADDR_NONE}, {"255.255.255.255", INADDR_NONE},
      {nullptr, INADDR_NONE},
  };
  for (const Case& c : cases) EXPECT_EQ(inet_addr(c.text), c.address) << (c.text ? c.text : "(null)");
}

TEST_F(WinsockSocketTest, HostNamesResolveToIpv4) {
  hostent* host = gethostbyname("localhost");
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->h_addrtype, AF_INET);
  EXPECT_EQ(host->h_length, 4);
  ASSERT_NE(host->h_addr_list[0], nullptr);
  bool loopback_found = false;
  for (char** entry = host->h_addr_list; *entry; ++entry) {
    ULONG address;
    std::memcpy(&address, *entry, 4);
    loopback_found |= address == inet_addr("127.0.0.1");
  }
  EXPECT_TRUE(loopback_found);

  host = gethostbyname("127.0.0.1");
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->h_addr_list[1], nullptr);

  EXPECT_EQ(gethostbyname("no-such-host.invalid"), nullptr);
  EXPECT_EQ(WSAGetLastError(), WSAHOST_NOT_FOUND);

  const ULONG loopback = inet_addr("127.0.0.1");
  host = gethostbyaddr(reinterpret_cast<const char*>(&loopback), 4, AF_INET);
  ASSERT_NE(host, nullptr);
  EXPECT_GT(std::strlen(host->h_name), 0u);
  EXPECT_EQ(gethostbyaddr(reinterpret_cast<const char*>(&loopback), 2, AF_INET), nullptr);
  EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
}

TEST_F(WinsockSocketTest, HostNameMustFitWithItsTerminator) {
  char name[256];
  ASSERT_EQ(gethostname(name, static_cast<int>(sizeof(name))), 0);
  const int length = static_cast<int>(std::strlen(name));
  ASSERT_GT(length, 0);
  char exact[256];
  EXPECT_EQ(gethostname(exact, length + 1), 0);
  EXPECT_STREQ(exact, name);
  EXPECT_EQ(gethostname(exact, length), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
}

TEST(WinsockModuleTest, RunTimeEntryPointsAreExported) {
  HMODULE module = LoadLibraryA("ws2_32.dll");
  ASSERT_NE(module, nullptr);
  for (const char* name : {"WSAGetLastError", "WSAStartup", "WSACleanup", "WSAAsyncSelect", "gethostbyaddr",
                           "gethostbyname", "gethostname", "ntohs", "htons", "connect", "socket", "send", "sendto",
                           "recvfrom", "accept", "closesocket", "shutdown", "listen", "bind", "inet_addr", "recv"}) {
    EXPECT_NE(GetProcAddress(module, name), nullptr) << name;
  }
  FreeLibrary(module);
}

}  // namespace
