#include <gtest/gtest.h>

#include <string>

#include "network_fixture.h"
#include "core/window/window_system_state.h"

namespace {

using wqtest::MessagePattern;

class NetWorkHandlesTest : public wqtest::NetWorkFixture {};

std::string LittleEndianLength(std::uint32_t length) {
  return std::string{static_cast<char>(length), static_cast<char>(length >> 8), static_cast<char>(length >> 16),
                     static_cast<char>(length >> 24)};
}

TEST_F(NetWorkHandlesTest, HandlesCarryKindCheckAndSlot) {
  NetWorkConnection* first = NewNetWorkConnection(0);
  NetWorkConnection* second = NewNetWorkConnection(0);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->handle, 0x30000000);
  EXPECT_EQ(second->handle, 0x30010001);
  EXPECT_EQ(g_netWork.count, 2);
  EXPECT_EQ(FindNetWorkConnection(second->handle, 0), second);

  const int stale = first->handle;
  DeleteNetWorkConnection(first);
  NetWorkConnection* reused = NewNetWorkConnection(0);
  ASSERT_NE(reused, nullptr);
  EXPECT_EQ(reused->handle, 0x30020000) << "the freed slot comes back with a new check value";
  EXPECT_EQ(FindNetWorkConnection(stale, 0), nullptr);
}

TEST_F(NetWorkHandlesTest, InvalidHandlesAreRefusedAndLogged) {
  NetWorkConnection* other = NewNetWorkConnection(1);
  ASSERT_NE(other, nullptr);
  const int invalid[] = {-1, 0, 0x30000000 | 8193, 0x20000000, 0x30010000, other->handle};
  for (int handle : invalid) {
    EXPECT_EQ(RecvSocket(handle), -1) << std::hex << handle;
    EXPECT_EQ(SendSocket(handle), -1) << std::hex << handle;
    EXPECT_EQ(CloseNetWorkHandle(handle), -1) << std::hex << handle;
  }
  const std::string log = LogText();
  EXPECT_NE(log.find("有効なネットワークハンドルではありません in RecvSocket"), std::string::npos);
  EXPECT_NE(log.find("有効なネットワークハンドルではありません in SendSocket"), std::string::npos);

  g_netWork.started = 0;
  EXPECT_EQ(CloseNetWorkSocket(other->handle), -1) << "the network is not started";
  g_netWork.started = 1;
  EXPECT_EQ(CloseNetWorkSocket(other->handle), 0);
}

TEST_F(NetWorkHandlesTest, NoFreeSlotRefusesTheConnection) {
  for (int i = 0; i < 8192; ++i) ASSERT_NE(NewNetWorkConnection(0), nullptr) << i;
  EXPECT_EQ(NewNetWorkConnection(0), nullptr);
  EXPECT_EQ(g_netWork.count, 8192);
  EXPECT_EQ(g_netWork.slots[8192], nullptr);

  SOCKET peer = wqtest::ConnectToLoopback(port_);
  ASSERT_NE(peer, INVALID_SOCKET);
  EXPECT_EQ(AcceptNetWork(), -1);
  EXPECT_NE(LogText().find("空きソケットデータがなかったので accept を拒否しました"), std::string::npos);
  closesocket(peer);
}

TEST_F(NetWorkHandlesTest, AcceptFailuresLeaveNoHandle) {
  const SOCKET listener = g_netWork.listenSocket;
  g_netWork.listenSocket = INVALID_SOCKET;
  EXPECT_EQ(AcceptNetWork(), -1) << "no listening socket";
  g_netWork.listenSocket = listener;

  EXPECT_EQ(AcceptNetWork(), -1) << "nothing is pending";
  EXPECT_NE(LogText().find("ネットワークログ。acceptに失敗しました[10035]"), std::string::npos);
  EXPECT_EQ(g_netWork.count, 0);

  SOCKET peer = wqtest::ConnectToLoopback(port_);
  ASSERT_NE(peer, INVALID_SOCKET);
  g_netWork.window = nullptr;  // nowhere to post the accepted socket's events
  EXPECT_EQ(AcceptNetWork(), -1);
  g_netWork.window = window_;
  EXPECT_NE(LogText().find("ネットワークログ。WSAAsyncSelectのエラー in AcceptNetWork[10022]"), std::string::npos);
  EXPECT_EQ(g_netWork.count, 0);
  EXPECT_EQ(g_netWork.slots[0], nullptr);
  // The accepted socket was closed: the peer sees the end.
  ASSERT_EQ(WSAAsyncSelect(peer, window_, 0, 0), 0);
  char byte;
  int received;
  const DWORD start = GetTickCount();
  while ((received = recv(peer, &byte, 1, 0)) == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK &&
         GetTickCount() - start < 5000) {
    Sleep(1);
  }
  EXPECT_EQ(received, 0);
  closesocket(peer);
}

TEST_F(NetWorkHandlesTest, ConnectAndCloseEventsSetTheConnectedState) {
  struct Case {
    LPARAM event;
    std::uint32_t connectedBefore;
    std::uint32_t connected;
    std::uint32_t closed;
  };
  const Case cases[] = {
      {WSAMAKESELECTREPLY(FD_CONNECT, 0), 0, 1, 0},
      {WSAMAKESELECTREPLY(FD_CONNECT, WSAECONNREFUSED), 0, 0, 0},
      {WSAMAKESELECTREPLY(FD_CLOSE, 0), 1, 0, 1},
  };
  constexpr SOCKET kSocket = 4242;
  for (const Case& c : cases) {
    NetWorkConnection* connection = NewNetWorkConnection(0);
    ASSERT_NE(connection, nullptr);
    connection->socket = kSocket;
    connection->connected = c.connectedBefore;
    EXPECT_EQ(HandleSocketEvent(c.event, kSocket), 1) << std::hex << c.event;
    EXPECT_EQ(connection->connected, c.connected) << std::hex << c.event;
    EXPECT_EQ(connection->closed, c.closed) << std::hex << c.event;
    DeleteNetWorkConnection(connection);
  }
}

// Closing a connection whose peer never reads gives up on what is queued
// once the drain time is over, also when the millisecond clock wraps
// meanwhile, and does not wait at all while the program is quitting.
TEST_F(NetWorkHandlesTest, ClosingGivesUpOnAPeerThatNeverReads) {
  struct Case {
    std::uint64_t msBeforeClockWrap;
    int quitting;
    std::uint64_t minMs;
    std::uint64_t maxMs;
  };
  const Case cases[] = {
      {600000, 0, 1000, 1100},
      {200, 0, 1000, 1100},
      {600000, 1, 0, 10},
  };
  WqControlEnableVirtualClock(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.msBeforeClockWrap << " ms before the wrap, quitting " << c.quitting);
    SOCKET peer;
    NetWorkConnection* connection = AttachLoopbackPeer(0, &peer);
    ASSERT_NE(connection, nullptr);
    Queue(connection, std::string(32 << 20, 'q'));  // more than both socket buffers hold

    constexpr std::uint64_t kWrapMs = std::uint64_t{1} << 31;
    const std::uint64_t nowMs = WqControlGetVirtualClockUs() / 1000;
    std::uint64_t targetMs = (nowMs / kWrapMs + 1) * kWrapMs - c.msBeforeClockWrap;
    if (targetMs < nowMs) targetMs += kWrapMs;
    WqControlAdvanceVirtualClock((targetMs - nowMs) * 1000);

    WindowSystem().quit = c.quitting;
    const std::uint64_t startUs = WqControlGetVirtualClockUs();
    EXPECT_EQ(CloseNetWorkHandle(connection->handle), 0);
    const std::uint64_t elapsedMs = (WqControlGetVirtualClockUs() - startUs) / 1000;
    WindowSystem().quit = 0;
    EXPECT_GE(elapsedMs, c.minMs);
    EXPECT_LE(elapsedMs, c.maxMs);
    EXPECT_EQ(g_netWork.count, 0);
    closesocket(peer);
  }
}

TEST_F(NetWorkHandlesTest, ALengthBeyondTheLimitSetsTheErrorFlagOnly) {
  SOCKET peer;
  NetWorkConnection* connection = AttachLoopbackPeer(0, &peer);
  ASSERT_NE(connection, nullptr);
  const std::string hostile = LittleEndianLength(kMaxNetWorkMessageSize + 1) + "payload";
  ASSERT_EQ(send(peer, hostile.data(), static_cast<int>(hostile.size()), 0), static_cast<int>(hostile.size()));
  ASSERT_TRUE(PumpUntil([&] { return connection->error != 0; }));
  EXPECT_EQ(connection->receiveRing.capacity, 0) << "nothing was allocated for the hostile length";
  EXPECT_EQ(connection->receivedComplete, 0u);
  EXPECT_EQ(RecvSocket(connection->handle), -1);
  const std::string log = LogText();
  EXPECT_NE(log.find("受信データのサイズが上限を超えています(データサイズ 67108865 byte)"), std::string::npos);
  EXPECT_NE(log.find("このネットワークハンドルにはエラーが発生しています in RecvSocket"), std::string::npos);

  ProcessNetWorkMessages(1);
  EXPECT_EQ(g_netWork.count, 0) << "a handle in error is closed by the per-frame processing";
  closesocket(peer);
}

TEST_F(NetWorkHandlesTest, AMessageOfExactlyTheLimitIsAccepted) {
  SOCKET peer;
  NetWorkConnection* connection = AttachLoopbackPeer(0, &peer);
  ASSERT_NE(connection, nullptr);
  const std::string header = LittleEndianLength(kMaxNetWorkMessageSize);
  ASSERT_EQ(send(peer, header.data(), 4, 0), 4);
  ASSERT_TRUE(PumpUntil([&] { return connection->receiveRemaining == kMaxNetWorkMessageSize; }));
  EXPECT_EQ(connection->error, 0u);
  EXPECT_GE(connection->receiveRing.capacity, static_cast<int>(kMaxNetWorkMessageSize));
  closesocket(peer);
}

TEST_F(NetWorkHandlesTest, APeerStoppingInsideAHeaderDoesNotHoldUpDispatching) {
  SOCKET peer;
  NetWorkConnection* connection = AttachLoopbackPeer(0, &peer);
  ASSERT_NE(connection, nullptr);
  const std::string message = LittleEndianLength(3) + "xyz";
  ASSERT_EQ(send(peer, message.data(), 2, 0), 2);
  ASSERT_TRUE(PumpUntil([&] { return connection->receiveHeaderHeld == 2; }));
  // Nothing more arrives: each pass returns at once.
  for (int i = 0; i < 20; ++i) EXPECT_EQ(ProcessNetWorkMessages(0), 0);

  ASSERT_EQ(send(peer, message.data() + 2, 5, 0), 5);
  ASSERT_TRUE(PumpUntil([&] { return connection->receivedComplete == 3; }));
  EXPECT_EQ(TakeReceived(connection), "xyz");

  // A peer that leaves in the middle of a header is closed with nothing
  // to read.
  ASSERT_EQ(send(peer, message.data(), 1, 0), 1);
  ASSERT_EQ(closesocket(peer), 0);
  ASSERT_TRUE(PumpUntil([] { return g_netWork.count == 0; }, 1));
}

TEST_F(NetWorkHandlesTest, ASendErrorSetsTheErrorFlagAndFails) {
  SOCKET peer;
  NetWorkConnection* connection = AttachLoopbackPeer(0, &peer);
  ASSERT_NE(connection, nullptr);
  ASSERT_EQ(shutdown(connection->socket, SD_SEND), 0);
  Queue(connection, "lost");
  EXPECT_EQ(SendSocket(connection->handle), -1);
  EXPECT_EQ(connection->error, 1u);
  EXPECT_NE(LogText().find("ネットワークログ。送信に失敗しました[10058]"), std::string::npos);
  EXPECT_EQ(SendSocket(connection->handle), -1);
  EXPECT_NE(LogText().find("このネットワークハンドルにはエラーが発生しています in SendSocket"), std::string::npos);
  closesocket(peer);
}

TEST_F(NetWorkHandlesTest, EverythingQueuedGoesAsOneMessage) {
  SOCKET peer;
  NetWorkConnection* connection = AttachLoopbackPeer(0, &peer);
  ASSERT_NE(connection, nullptr);
  Queue(connection, "abc");
  Queue(connection, "defg");
  ASSERT_EQ(SendSocket(connection->handle), 0);
  EXPECT_EQ(connection->sendRing.held, 0);
  EXPECT_EQ(SendSocket(connection->handle), 0) << "an empty queue sends nothing";

  char buffer[32];
  int received = 0;
  while (received < 11) {
    const int got = recv(peer, buffer + received, static_cast<int>(sizeof(buffer)) - received, 0);
    ASSERT_GT(got, 0);
    received += got;
  }
  EXPECT_EQ(std::string(buffer, 11), LittleEndianLength(7) + "abcdefg");
  closesocket(peer);
}

TEST_F(NetWorkHandlesTest, TheOtherKindRecordsReadiness) {
  SOCKET peer;
  NetWorkConnection* connection = AttachLoopbackPeer(1, &peer);
  ASSERT_NE(connection, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return connection->writable != 0; }));
  ASSERT_EQ(send(peer, "x", 1, 0), 1);
  ASSERT_TRUE(PumpUntil([&] { return connection->readable != 0; }));
  EXPECT_EQ(connection->receiveRing.held, 0) << "this kind keeps no data";

  EXPECT_EQ(RecvSocket(connection->handle), -1);
  EXPECT_EQ(CloseNetWorkHandle(connection->handle), -1);
  EXPECT_EQ(CloseNetWorkSocket(connection->handle), 0);
  EXPECT_EQ(g_netWork.count, 0);
  closesocket(peer);
}

TEST_F(NetWorkHandlesTest, AnEventForAnUnknownSocketIsLogged) {
  EXPECT_EQ(HandleSocketEvent(WSAMAKESELECTREPLY(FD_READ, 0), 12345), 0);
  EXPECT_NE(LogText().find("通信エラー No.1"), std::string::npos);
}

TEST_F(NetWorkHandlesTest, ShutdownClosesEverythingAndEndsTheSession) {
  SOCKET peers[2];
  ASSERT_NE(AttachLoopbackPeer(0, &peers[0]), nullptr);
  ASSERT_NE(AttachLoopbackPeer(1, &peers[1]), nullptr);
  // A start-up of the test's own keeps the peers' sockets open.
  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  EXPECT_EQ(ShutdownNetWork(), 0);
  EXPECT_EQ(g_netWork.count, 0);
  EXPECT_EQ(g_netWork.started, 0);
  EXPECT_FALSE(IsWindow(window_));
  for (SOCKET peer : peers) {
    char byte;
    EXPECT_EQ(recv(peer, &byte, 1, 0), 0) << "the peer sees the close";
  }
  const std::string log = LogText();
  EXPECT_NE(log.find("ネットワーク関連の終了処理を行います"), std::string::npos);
  EXPECT_NE(log.find("ネットワーク関連の終了処理は完了しました"), std::string::npos);
  for (SOCKET peer : peers) closesocket(peer);
  EXPECT_EQ(WSACleanup(), 0);
  EXPECT_EQ(WSACleanup(), SOCKET_ERROR) << "the network's own start-up was ended";

  EXPECT_EQ(ShutdownNetWork(), 0) << "a second shutdown does nothing";
}

}  // namespace
