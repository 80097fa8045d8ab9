#include <cstdio>

#include "core/base/log_file.h"
#include "core/network/network_handles.h"
#include "core/network/network_winsock.h"
#include "core/base/string_utils.h"
#include "core/base/tracked_allocator.h"

NetWorkTable g_netWork;

namespace {

constexpr int kHandleKind = 0x30000000;
constexpr int kHandleKindMask = 0x78000000;
constexpr std::uint32_t kCheckMask = 0x7FF;
constexpr int kIndexMask = 0xFFFF;
// The last slot is never handed out.
constexpr int kUsableSlots = kNetWorkSlotCount - 1;

void EnsureListLinked() {
  if (g_netWork.head.next == nullptr) InitLinkedList(&g_netWork.head, &g_netWork.end);
}

}  // namespace

NetWorkConnection* FindNetWorkConnection(int handle, int streamKind) {
  if (!g_netWork.started || handle < 0 || (handle & kHandleKindMask) != kHandleKind) return nullptr;
  const int index = handle & kIndexMask;
  if (index >= kNetWorkSlotCount) return nullptr;
  NetWorkConnection* connection = g_netWork.slots[index];
  if (connection == nullptr || connection->check != ((static_cast<std::uint32_t>(handle) >> 16) & kCheckMask)) {
    return nullptr;
  }
  if ((connection->kind == 0) != (streamKind == 0)) return nullptr;
  return connection;
}

NetWorkConnection* NewNetWorkConnection(std::uint32_t kind) {
  int index = 0;
  while (index < kUsableSlots && g_netWork.slots[index] != nullptr) ++index;
  if (index == kUsableSlots) {
    LogWrite("空きソケットデータがなかったので accept を拒否しました \n");
    return nullptr;
  }
  auto* connection =
      static_cast<NetWorkConnection*>(TrackedAllocZero(sizeof(NetWorkConnection), "", 0));
  if (connection == nullptr) {
    LogWrite("ソケット用のメモリの確保に失敗しました\n");
    return nullptr;
  }
  EnsureListLinked();
  AppendListNode(g_netWork.end.prev, &connection->node, static_cast<std::uint32_t>(index), connection);
  connection->kind = kind;
  connection->valid = 1;
  connection->socket = INVALID_SOCKET;
  connection->check = g_netWork.nextCheck++ & kCheckMask;
  connection->handle = static_cast<int>((connection->check | 0x3000) << 16) | index;
  g_netWork.slots[index] = connection;
  ++g_netWork.count;
  return connection;
}

int AttachNetWorkSocket(NetWorkConnection* connection, SOCKET socket) {
  connection->socket = socket;
  connection->connected = 1;
  const int result = CallWinsock<decltype(&WSAAsyncSelect)>("WSAAsyncSelect", socket, g_netWork.window,
                                                            kSocketEventMessage, LONG{FD_READ | FD_WRITE | FD_CLOSE});
  return result == SOCKET_ERROR ? -1 : 0;
}

void DeleteNetWorkConnection(NetWorkConnection* connection) {
  RingBufferFree(&connection->receiveRing);
  RingBufferFree(&connection->sendRing);
  RemoveListNode(&connection->node);
  g_netWork.slots[connection->handle & kIndexMask] = nullptr;
  --g_netWork.count;
  TrackedFree(connection);
}

int RunStreamTransfer(int handle, std::uint32_t NetWorkConnection::*guard, int (*transfer)(NetWorkConnection*),
                      const char* invalidLog, const char* errorLog) {
  NetWorkConnection* connection = FindNetWorkConnection(handle, 0);
  if (connection == nullptr) return LogWrite(invalidLog);
  if (connection->error) return LogWrite(errorLog);
  if (connection->*guard) return 0;
  connection->*guard = 1;
  ProcessNetWorkMessages(0);
  const int result = transfer(connection);
  connection->*guard = 0;
  return result;
}

int LogNetworkError(const char* format, ...) {
  char text[2048];
  va_list args;
  va_start(args, format);
  FormatStringV(text, sizeof(text), format, args);
  va_end(args);
  const int lastError = CallWinsock<decltype(&WSAGetLastError)>("WSAGetLastError");
  return LogWriteFormat("ネットワークログ。%s[%d]", text, lastError);
}
