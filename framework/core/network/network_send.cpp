// Sending a stream connection's queued bytes as length-prefixed messages.
#include "core/base/log_file.h"
#include "core/network/network_handles.h"
#include "core/network/network_ring_span.h"
#include "core/network/network_winsock.h"

namespace {

enum class Progress { kMore, kBlocked, kFailed };

// Sends what it can of the bytes; counts what went out.
Progress SendPiece(NetWorkConnection* connection, const unsigned char* bytes, int length, int* sent) {
  *sent = CallWinsock<decltype(&send)>("send", connection->socket, reinterpret_cast<const char*>(bytes), length, 0);
  if (*sent >= 0) return Progress::kMore;
  *sent = 0;
  if (CallWinsock<decltype(&WSAGetLastError)>("WSAGetLastError") == WSAEWOULDBLOCK) return Progress::kBlocked;
  // A broken connection is not a message sent: the error is kept.
  connection->error = 1;
  LogNetworkError("送信に失敗しました");
  return Progress::kFailed;
}

Progress SendHeader(NetWorkConnection* connection) {
  const std::uint32_t length = connection->sendMessageLength;
  const unsigned char header[4] = {static_cast<unsigned char>(length), static_cast<unsigned char>(length >> 8),
                                   static_cast<unsigned char>(length >> 16), static_cast<unsigned char>(length >> 24)};
  int sent;
  const int remaining = static_cast<int>(connection->sendHeaderRemaining);
  const Progress progress = SendPiece(connection, header + 4 - remaining, remaining, &sent);
  connection->sendHeaderRemaining -= static_cast<std::uint32_t>(sent);
  return progress;
}

Progress SendPayload(NetWorkConnection* connection) {
  RingBuffer* ring = &connection->sendRing;
  const int length = std::min(RingHeldRun(ring), static_cast<int>(connection->sendPayloadRemaining));
  int sent;
  const Progress progress = SendPiece(connection, ring->data + ring->readOffset, length, &sent);
  ConsumeRingRead(ring, sent);
  connection->sendPayloadRemaining -= static_cast<std::uint32_t>(sent);
  return progress;
}

bool HasUnsentData(const NetWorkConnection* connection) {
  return connection->sendHeaderRemaining > 0 || connection->sendPayloadRemaining > 0 ||
         connection->sendRing.held > 0;
}

int SendMessages(NetWorkConnection* connection) {
  // A short send is tried again until the socket would block: only that
  // re-arms the write event that resumes sending.
  while (connection->connected && HasUnsentData(connection)) {
    if (connection->sendHeaderRemaining == 0 && connection->sendPayloadRemaining == 0) {
      connection->sendMessageLength = static_cast<std::uint32_t>(connection->sendRing.held);
      connection->sendPayloadRemaining = connection->sendMessageLength;
      connection->sendHeaderRemaining = 4;
    }
    const Progress progress =
        connection->sendHeaderRemaining > 0 ? SendHeader(connection) : SendPayload(connection);
    if (progress == Progress::kFailed) return -1;
    if (progress == Progress::kBlocked) return 0;
  }
  return 0;
}

}  // namespace

int SendSocket(int handle) {
  return RunStreamTransfer(handle, &NetWorkConnection::sending, SendMessages,
                           "有効なネットワークハンドルではありません in SendSocket\n",
                           "このネットワークハンドルにはエラーが発生しています in SendSocket\n");
}
