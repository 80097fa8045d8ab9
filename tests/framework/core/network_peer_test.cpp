// The network handles against a peer we did not write: Python's socket
// module on 127.0.0.1, speaking the length-prefixed wire format.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "network_fixture.h"

namespace {

using wqtest::MessagePattern;

// Connects to the port given first, then runs each action in turn:
// send:N a message of N pattern bytes, split:N the same with its length
// header sent in two halves, raw:HEX bytes as they are, recv:N expects one
// message of N pattern bytes, eof expects the connection to end, gone
// expects it to end or be reset (closing with unread data resets), close.
// Prints OK when every action went as expected; ends itself within 20 s.
constexpr const char kPeerScript[] = R"(import signal, socket, struct, sys, time
signal.alarm(20)
def pattern(n):
    return bytes((i * 31 + n) % 251 for i in range(n))
def recv_exact(s, n):
    data = b''
    while len(data) < n:
        chunk = s.recv(n - len(data))
        if not chunk:
            sys.exit('closed after %d of %d bytes' % (len(data), n))
        data += chunk
    return data
s = socket.create_connection(('127.0.0.1', int(sys.argv[1])), timeout=10)
for action in sys.argv[2:]:
    name, _, arg = action.partition(':')
    if name == 'send':
        s.sendall(struct.pack('<I', int(arg)) + pattern(int(arg)))
    elif name == 'split':
        header = struct.pack('<I', int(arg))
        s.sendall(header[:2])
        time.sleep(0.1)
        s.sendall(header[2:] + pattern(int(arg)))
    elif name == 'raw':
        s.sendall(bytes.fromhex(arg))
    elif name == 'recv':
        (length,) = struct.unpack('<I', recv_exact(s, 4))
        if length != int(arg):
            sys.exit('length %d where %s was expected' % (length, arg))
        if recv_exact(s, length) != pattern(length):
            sys.exit('the payload of %d bytes differs' % length)
    elif name == 'eof':
        if s.recv(1) != b'':
            sys.exit('data where the end was expected')
    elif name == 'gone':
        try:
            if s.recv(1) != b'':
                sys.exit('data where the end was expected')
        except ConnectionResetError:
            pass
    elif name == 'close':
        s.close()
print('OK')
)";

class NetWorkPeerTest : public wqtest::NetWorkFixture {
 protected:
  void TearDown() override {
    if (peer_) FinishPeer();
    NetWorkFixture::TearDown();
  }

  void StartPeer(const std::vector<std::string>& actions) {
    dir_.WriteFile("peer.py", kPeerScript);
    std::string command = "python3 '" + (dir_.path() / "peer.py").string() + "' " + std::to_string(port_);
    for (const std::string& action : actions) command += " " + action;
    peer_ = popen((command + " 2>&1").c_str(), "r");
    ASSERT_NE(peer_, nullptr);
  }

  // The peer's output; the test fails unless it ended well.
  std::string FinishPeer() {
    std::string output;
    char line[512];
    while (std::fgets(line, sizeof(line), peer_)) output += line;
    const int status = pclose(peer_);
    peer_ = nullptr;
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output, "OK\n");
    return output;
  }

  // The connection the peer opened, accepted through the listening
  // socket's event.
  NetWorkConnection* AcceptPeer() {
    if (!PumpUntil([] { return g_netWork.count == 1; })) return nullptr;
    NetWorkConnection* connection = FirstConnection();
    EXPECT_EQ(connection->acceptedSide, 1u);
    return connection;
  }

  std::FILE* peer_ = nullptr;
};

// The test closes once the payloads are in; the last empty message may
// still be unread then, and closing with unread data resets the peer.
TEST_F(NetWorkPeerTest, MessagesFromThePeerArriveWholeAndInOrder) {
  StartPeer({"send:0", "send:1", "send:100000", "split:5", "send:0", "gone"});
  NetWorkConnection* connection = AcceptPeer();
  ASSERT_NE(connection, nullptr);
  const std::string expected = MessagePattern(1) + MessagePattern(100000) + MessagePattern(5);
  std::string received;
  ASSERT_TRUE(PumpUntil([&] {
    received += TakeReceived(connection);
    return received.size() >= expected.size();
  }));
  EXPECT_TRUE(received == expected) << "the payloads differ";
  EXPECT_EQ(connection->error, 0u);
  EXPECT_EQ(connection->receiveRemaining, 0u);
  EXPECT_EQ(CloseNetWorkHandle(connection->handle), 0);
  FinishPeer();
}

TEST_F(NetWorkPeerTest, MessagesToThePeerArriveWholeAndInOrder) {
  StartPeer({"recv:1", "recv:100000", "recv:7", "eof"});
  NetWorkConnection* connection = AcceptPeer();
  ASSERT_NE(connection, nullptr);
  const int handle = connection->handle;
  Queue(connection, MessagePattern(1));
  ASSERT_EQ(SendSocket(handle), 0);
  Queue(connection, MessagePattern(100000));
  ASSERT_EQ(SendSocket(handle), 0);
  ASSERT_TRUE(PumpUntil([&] { return connection->sendRing.held == 0 && connection->sendPayloadRemaining == 0; }));
  const std::string seven = MessagePattern(7);
  Queue(connection, seven.substr(0, 3));
  Queue(connection, seven.substr(3));
  ASSERT_EQ(SendSocket(handle), 0);
  EXPECT_EQ(CloseNetWorkHandle(handle), 0);
  FinishPeer();
}

TEST_F(NetWorkPeerTest, ClosingSendsWhatIsStillQueued) {
  StartPeer({"recv:100000", "eof"});
  NetWorkConnection* connection = AcceptPeer();
  ASSERT_NE(connection, nullptr);
  Queue(connection, MessagePattern(100000));
  EXPECT_EQ(CloseNetWorkHandle(connection->handle), 0);
  EXPECT_EQ(g_netWork.count, 0);
  FinishPeer();
}

TEST_F(NetWorkPeerTest, APeerThatClosesLeavesItsDataToBeRead) {
  StartPeer({"send:100000", "close"});
  NetWorkConnection* connection = AcceptPeer();
  ASSERT_NE(connection, nullptr);
  // The per-frame processing keeps the handle while its data is unread.
  ASSERT_TRUE(PumpUntil([&] { return connection->closed != 0; }, 1));
  EXPECT_EQ(g_netWork.count, 1);
  EXPECT_TRUE(TakeReceived(connection) == MessagePattern(100000));
  ProcessNetWorkMessages(1);
  EXPECT_EQ(g_netWork.count, 0);
  FinishPeer();
}

TEST_F(NetWorkPeerTest, AHostileLengthOnlySetsTheErrorFlag) {
  StartPeer({"raw:f0ffffff" + std::string(64, 'a'), "gone"});
  NetWorkConnection* connection = AcceptPeer();
  ASSERT_NE(connection, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return connection->error != 0; }));
  EXPECT_EQ(connection->receiveRing.capacity, 0);
  EXPECT_NE(LogText().find("(データサイズ 4294967280 byte)"), std::string::npos);
  ProcessNetWorkMessages(1);
  EXPECT_EQ(g_netWork.count, 0);
  FinishPeer();
}

}  // namespace
