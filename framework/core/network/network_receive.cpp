// Receiving a stream connection's messages into its receive ring.
#include "core/base/log_file.h"
#include "core/network/network_handles.h"
#include "core/network/network_ring_span.h"
#include "core/network/network_winsock.h"

namespace {

enum class Progress { kMore, kStop, kFailed };

// A receive that brought nothing: the end of the stream ends the
// connection, a would-block only means nothing more is there yet, anything
// else is an error.
Progress NoteReceiveFailure(NetWorkConnection* connection, int received) {
  if (received == 0) {
    connection->connected = 0;
    return Progress::kStop;
  }
  if (CallWinsock<decltype(&WSAGetLastError)>("WSAGetLastError") == WSAEWOULDBLOCK) return Progress::kStop;
  connection->error = 1;
  LogNetworkError("受信に失敗しました");
  return Progress::kFailed;
}

// Gathers the next message's length header and makes room for the message.
// The header bytes are taken as they arrive rather than peeked until all
// four are there: a peek re-arms the read event while the bytes stay, so a
// peer stopping inside a header would keep the event coming for ever.
Progress StartMessage(NetWorkConnection* connection) {
  unsigned char* header = connection->receiveHeader;
  while (connection->receiveHeaderHeld < 4) {
    const int wanted = 4 - static_cast<int>(connection->receiveHeaderHeld);
    const int received = CallWinsock<decltype(&recv)>(
        "recv", connection->socket, reinterpret_cast<char*>(header + connection->receiveHeaderHeld), wanted, 0);
    if (received <= 0) return NoteReceiveFailure(connection, received);
    connection->receiveHeaderHeld += static_cast<std::uint32_t>(received);
  }
  connection->receiveHeaderHeld = 0;
  const std::uint32_t size = header[0] | header[1] << 8 | header[2] << 16 | static_cast<std::uint32_t>(header[3]) << 24;
  if (size > kMaxNetWorkMessageSize) {
    connection->error = 1;
    LogWriteFormat("受信データのサイズが上限を超えています(データサイズ %u byte)", size);
    return Progress::kFailed;
  }
  if (RingBufferReserve(&connection->receiveRing, static_cast<int>(size)) != 0) {
    connection->error = 1;
    LogWriteFormat("受信データを保存するリングバッファのリサイズに失敗しました(データサイズ %u byte)", size);
    return Progress::kFailed;
  }
  connection->receiveMessageSize = size;
  connection->receiveRemaining = size;
  return Progress::kMore;
}

// Receives what is there of the current message into the free space at the
// ring's write offset (twice when that space wraps); never more than the
// message still wants, which the ring has room for.
Progress ReceivePayload(NetWorkConnection* connection) {
  RingBuffer* ring = &connection->receiveRing;
  for (int piece = 0; piece < 2 && connection->receiveRemaining > 0; ++piece) {
    const int wanted = std::min(RingFreeRun(ring), static_cast<int>(connection->receiveRemaining));
    const int received = CallWinsock<decltype(&recv)>(
        "recv", connection->socket, reinterpret_cast<char*>(ring->data + ring->writeOffset), wanted, 0);
    if (received <= 0) return NoteReceiveFailure(connection, received);
    CommitRingWrite(ring, received);
    connection->receiveRemaining -= static_cast<std::uint32_t>(received);
    if (received < wanted) break;
  }
  if (connection->receiveRemaining > 0) return Progress::kStop;
  connection->receivedComplete += connection->receiveMessageSize;
  return Progress::kMore;
}

int ReceiveMessages(NetWorkConnection* connection) {
  while (connection->connected) {
    if (connection->receiveRemaining == 0) {
      const Progress started = StartMessage(connection);
      if (started != Progress::kMore) return started == Progress::kFailed ? -1 : 0;
    }
    const Progress received = ReceivePayload(connection);
    if (received != Progress::kMore) return received == Progress::kFailed ? -1 : 0;
  }
  return 0;
}

}  // namespace

int RecvSocket(int handle) {
  return RunStreamTransfer(handle, &NetWorkConnection::receiving, ReceiveMessages,
                           "有効なネットワークハンドルではありません in RecvSocket\n",
                           "このネットワークハンドルにはエラーが発生しています in RecvSocket\n");
}
