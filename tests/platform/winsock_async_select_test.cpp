#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/windows.h"
#include "platform/winsock.h"
#include "support/loopback_sockets.h"

namespace {

using wqtest::ConnectToLoopback;
using wqtest::ListenOnLoopback;
using wqtest::LoopbackAddress;

constexpr UINT kSocketMessage = WM_USER + 261;
constexpr DWORD kEventTimeoutMs = 5000;
// How long a message that must not come is waited for.
constexpr DWORD kQuietPeriodMs = 150;

struct SocketNotice {
  SOCKET socket;
  int event;
  int error;
};

class WinsockAsyncSelectTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.lpszClassName = "SocketNoticeWindow";
    RegisterClassExA(&window_class);
    window_ = CreateWindowExA(0, "SocketNoticeWindow", "", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr, nullptr,
                              nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { DestroyWindow(window_); }

  // The next socket message of the window, waiting up to the limit.
  std::optional<SocketNotice> NextNotice(DWORD limit_ms = kEventTimeoutMs) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (!PeekMessageA(&msg, window_, kSocketMessage, kSocketMessage, PM_REMOVE)) {
      if (GetTickCount() - start > limit_ms) return std::nullopt;
      Sleep(1);
    }
    return SocketNotice{msg.wParam, WSAGETSELECTEVENT(msg.lParam), WSAGETSELECTERROR(msg.lParam)};
  }

  void ExpectNotice(SOCKET s, int event, int error = 0) {
    const auto notice = NextNotice();
    ASSERT_TRUE(notice.has_value()) << "no event " << event;
    EXPECT_EQ(notice->socket, s);
    EXPECT_EQ(notice->event, event);
    EXPECT_EQ(notice->error, error);
  }

  void ExpectQuiet() {
    const auto notice = NextNotice(kQuietPeriodMs);
    EXPECT_FALSE(notice.has_value()) << "unexpected event " << notice->event;
  }

  // A connected pair: the server side accepted with the given events.
  void Connect(LONG server_events) {
    USHORT port = 0;
    listener_ = ListenOnLoopback(&port);
    ASSERT_NE(listener_, INVALID_SOCKET);
    client_ = ConnectToLoopback(port);
    ASSERT_NE(client_, INVALID_SOCKET);
    server_ = accept(listener_, nullptr, nullptr);
    ASSERT_NE(server_, INVALID_SOCKET);
    ASSERT_EQ(WSAAsyncSelect(server_, window_, kSocketMessage, server_events), 0);
  }

  wqtest::WinsockSession session_;
  HWND window_ = nullptr;
  SOCKET listener_ = INVALID_SOCKET;
  SOCKET client_ = INVALID_SOCKET;
  SOCKET server_ = INVALID_SOCKET;
};

TEST_F(WinsockAsyncSelectTest, ReadIsPostedOnceUntilTheNextReceive) {
  Connect(FD_READ | FD_CLOSE);
  ExpectQuiet();
  ASSERT_EQ(send(client_, "abc", 3, 0), 3);
  ExpectNotice(server_, FD_READ);
  ASSERT_EQ(send(client_, "def", 3, 0), 3);
  ExpectQuiet();

  char buffer[16];
  ASSERT_EQ(recv(server_, buffer, 2, 0), 2);
  ExpectNotice(server_, FD_READ);  // data is left
  ASSERT_EQ(recv(server_, buffer, sizeof(buffer), 0), 4);
  ExpectQuiet();
  EXPECT_EQ(recv(server_, buffer, sizeof(buffer), 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
}

TEST_F(WinsockAsyncSelectTest, CloseComesOnlyAfterTheDataBeforeItWasRead) {
  Connect(FD_READ | FD_CLOSE);
  ASSERT_EQ(send(client_, "last words", 10, 0), 10);
  ASSERT_EQ(closesocket(client_), 0);
  ExpectNotice(server_, FD_READ);
  ExpectQuiet();
  char buffer[16];
  ASSERT_EQ(recv(server_, buffer, sizeof(buffer), 0), 10);
  ExpectNotice(server_, FD_CLOSE, 0);
  EXPECT_EQ(recv(server_, buffer, sizeof(buffer), 0), 0);
  ExpectQuiet();
}

TEST_F(WinsockAsyncSelectTest, CloseAloneIsReportedWithoutReading) {
  Connect(FD_CLOSE);
  ASSERT_EQ(send(client_, "unread", 6, 0), 6);
  ASSERT_EQ(closesocket(client_), 0);
  ExpectNotice(server_, FD_CLOSE, 0);
  ExpectQuiet();
}

TEST_F(WinsockAsyncSelectTest, AResetIsReportedAsCloseWithItsError) {
  Connect(FD_READ | FD_CLOSE);
  // A peer that closes with data it never read resets the connection.
  ASSERT_EQ(send(server_, "unread", 6, 0), 6);
  char byte;
  ASSERT_EQ(recv(client_, &byte, 1, MSG_PEEK), 1);
  ASSERT_EQ(closesocket(client_), 0);
  ExpectNotice(server_, FD_CLOSE, WSAECONNRESET);
  ExpectQuiet();
}

TEST_F(WinsockAsyncSelectTest, WriteIsPostedAtFirstAndAfterASendThatWouldBlock) {
  Connect(FD_WRITE);
  ExpectNotice(server_, FD_WRITE);
  ExpectQuiet();

  const std::vector<char> block(64 * 1024, 'x');
  int result;
  while ((result = send(server_, block.data(), static_cast<int>(block.size()), 0)) > 0) {
  }
  ASSERT_EQ(result, SOCKET_ERROR);
  ASSERT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
  ExpectQuiet();

  std::vector<char> sink(256 * 1024);
  std::optional<SocketNotice> notice;
  while (!(notice = NextNotice(10))) {
    ASSERT_GT(recv(client_, sink.data(), static_cast<int>(sink.size()), 0), 0);
  }
  EXPECT_EQ(notice->socket, server_);
  EXPECT_EQ(notice->event, FD_WRITE);
}

TEST_F(WinsockAsyncSelectTest, AcceptedSocketsTakeOverTheListeningRequest) {
  USHORT port = 0;
  listener_ = ListenOnLoopback(&port);
  ASSERT_EQ(WSAAsyncSelect(listener_, window_, kSocketMessage, FD_ACCEPT | FD_READ | FD_WRITE), 0);
  SOCKET first = ConnectToLoopback(port);
  ExpectNotice(listener_, FD_ACCEPT);
  SOCKET second = ConnectToLoopback(port);
  ExpectQuiet();  // not again before accept

  SOCKET accepted = accept(listener_, nullptr, nullptr);
  ASSERT_NE(accepted, INVALID_SOCKET);
  // The second pending connection and the accepted socket's writability.
  std::vector<int> seen;
  for (int i = 0; i < 2; ++i) {
    const auto notice = NextNotice();
    ASSERT_TRUE(notice.has_value());
    seen.push_back(notice->socket == listener_ ? notice->event : notice->event << 8);
  }
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<int>{FD_ACCEPT, FD_WRITE << 8}));
  char buffer[4];
  EXPECT_EQ(recv(accepted, buffer, sizeof(buffer), 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK) << "accepted socket is not non-blocking";
  for (SOCKET s : {first, second, accepted}) closesocket(s);
}

TEST_F(WinsockAsyncSelectTest, NonBlockingConnectReportsItsOutcome) {
  USHORT port = 0;
  listener_ = ListenOnLoopback(&port);
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_EQ(WSAAsyncSelect(s, window_, kSocketMessage, FD_CONNECT | FD_WRITE), 0);
  sockaddr_in address = LoopbackAddress(port);
  const int result = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  if (result == SOCKET_ERROR) {
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
  }
  ExpectNotice(s, FD_CONNECT, 0);
  ExpectNotice(s, FD_WRITE);
  closesocket(s);

  closesocket(listener_);
  listener_ = INVALID_SOCKET;
  s = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_EQ(WSAAsyncSelect(s, window_, kSocketMessage, FD_CONNECT | FD_WRITE), 0);
  connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  ExpectNotice(s, FD_CONNECT, WSAECONNREFUSED);
  ExpectQuiet();
  closesocket(s);
}

TEST_F(WinsockAsyncSelectTest, NoEventsCancelTheRequest) {
  Connect(FD_READ);
  ASSERT_EQ(WSAAsyncSelect(server_, window_, 0, 0), 0);
  ASSERT_EQ(send(client_, "x", 1, 0), 1);
  ExpectQuiet();
  // The socket stays non-blocking.
  char buffer[4];
  EXPECT_EQ(recv(server_, buffer, sizeof(buffer), 0), 1);
  EXPECT_EQ(recv(server_, buffer, sizeof(buffer), 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
}

TEST_F(WinsockAsyncSelectTest, AWindowIsRequiredForEvents) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  EXPECT_EQ(WSAAsyncSelect(s, nullptr, kSocketMessage, FD_READ), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
  closesocket(s);
}

}  // namespace
