// Network handles: TCP connections whose sockets report their events as
// window messages to the network window, and whose data travels as
// length-prefixed messages (u32 little-endian length, then the payload)
// through a receive and a send ring.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "WqLib.h"
#include "core/base/linked_list.h"
#include "platform/windows.h"
#include "platform/winsock.h"
#include "core/base/ring_buffer.h"

// The window message a network socket's events arrive as.
constexpr UINT kSocketEventMessage = WM_USER + 261;

constexpr int kNetWorkSlotCount = 8193;
// The largest message a peer may announce; a larger length is hostile or
// broken and puts the connection in error instead of allocating it.
constexpr std::uint32_t kMaxNetWorkMessageSize = 64u * 1024 * 1024;

struct NetWorkConnection {
  std::uint32_t kind;  // 0: a stream connection with rings; else readiness flags only
  std::uint32_t valid;
  std::uint32_t error;
  std::uint32_t connected;
  std::uint32_t closed;        // the peer closed
  std::uint32_t acceptedSide;  // made by AcceptNetWork
  std::uint32_t check;         // bits 16 to 26 of the handle
  SOCKET socket;
  // Receiving: payload bytes only; a message is complete when nothing of
  // it remains to be received. The length header is gathered as it comes.
  unsigned char receiveHeader[4];
  std::uint32_t receiveHeaderHeld;
  std::uint32_t receiveRemaining;
  RingBuffer receiveRing;
  std::uint32_t receiveMessageSize;
  std::uint32_t receivedComplete;  // bytes of complete messages in the ring
  // Sending: everything queued when a message starts is that message.
  RingBuffer sendRing;
  std::uint32_t sendMessageLength;
  std::uint32_t sendPayloadRemaining;
  std::uint32_t sendHeaderRemaining;
  // The other kind: what the last events reported.
  std::uint32_t readable;
  std::uint32_t writable;
  int handle;
  ListNode node;
  // RecvSocket and SendSocket are not re-entered (dispatching inside them
  // can deliver the same socket's next event).
  std::uint32_t receiving;
  std::uint32_t sending;
};

struct NetWorkTable {
  NetWorkConnection* slots[kNetWorkSlotCount] = {};
  int count = 0;
  int started = 0;
  HWND window = nullptr;  // the hidden window the socket events are posted to
  SOCKET listenSocket = INVALID_SOCKET;
  std::uint32_t nextCheck = 0;
  ListNode head = {};  // linked on first use
  ListNode end = {};
};

// Set up by whoever opens the network side (nothing in this system does):
// the started flag, the network window and the listening socket.
extern NetWorkTable g_netWork;

// The record of a valid handle, or null. kind 0 asks for a stream
// connection, any other value for the other kind.
NetWorkConnection* FindNetWorkConnection(int handle, int streamKind);
// Takes a free slot and links a new empty record (logging why when it
// cannot); null on failure.
NetWorkConnection* NewNetWorkConnection(std::uint32_t kind);
// Gives the record its connected socket and asks for read, write and close
// events on the network window; -1 when that request fails.
int AttachNetWorkSocket(NetWorkConnection* connection, SOCKET socket);
// Frees the record and its rings and empties its slot; the socket is left
// to the caller.
void DeleteNetWorkConnection(NetWorkConnection* connection);
// Closes every handle the predicate picks, each the way its kind closes.
void CloseNetWorkConnections(bool (*which)(const NetWorkConnection* connection));

// What RecvSocket and SendSocket share: the handle and error checks with
// their log lines, the guard against re-entry (dispatching can deliver the
// same socket's next event) and the dispatch before the transfer.
int RunStreamTransfer(int handle, std::uint32_t NetWorkConnection::*guard, int (*transfer)(NetWorkConnection*),
                      const char* invalidLog, const char* errorLog);

// Formats the text (at most 2 KB) and logs it with the WinSock last error;
// returns -1.
int LogNetworkError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Dispatches the network window's pending messages; with closeFlag 1 it
// first closes every handle that is disconnected and drained, or in error.
int ProcessNetWorkMessages(int closeFlag);
// The socket event message: lParam the event word, wParam the socket.
// 1, or 0 when no handle owns the socket.
LRESULT HandleSocketEvent(LPARAM eventWord, WPARAM socket);
// Closes every handle, the network window and the WinSock session.
int ShutdownNetWork();
