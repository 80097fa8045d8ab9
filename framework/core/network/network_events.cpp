// Socket events as window messages: accepting, dispatching and the event
// handler of the network window.
#include "core/base/log_file.h"
#include "core/network/network_handles.h"
#include "core/network/network_winsock.h"

namespace {

NetWorkConnection* FindBySocket(SOCKET socket) {
  if (g_netWork.head.next == nullptr) return nullptr;
  for (ListNode* node = g_netWork.head.next; node != &g_netWork.end; node = node->next) {
    auto* connection = static_cast<NetWorkConnection*>(node->owner);
    if (connection->socket == socket) return connection;
  }
  return nullptr;
}

bool IsFinished(const NetWorkConnection* connection) {
  const bool drained = connection->kind != 0 || connection->receivedComplete == 0;
  return connection->error || (!connection->connected && drained);
}

}  // namespace

int AcceptNetWork() {
  if (!g_netWork.started || g_netWork.listenSocket == INVALID_SOCKET) return -1;
  NetWorkConnection* connection = NewNetWorkConnection(0);
  if (connection == nullptr) return -1;
  const SOCKET socket = CallWinsock<decltype(&accept)>("accept", g_netWork.listenSocket, nullptr, nullptr);
  if (socket == INVALID_SOCKET) {
    DeleteNetWorkConnection(connection);
    return LogNetworkError("acceptに失敗しました");
  }
  connection->acceptedSide = 1;
  if (AttachNetWorkSocket(connection, socket) != 0) {
    LogNetworkError("WSAAsyncSelectのエラー in AcceptNetWork");
    CallWinsock<decltype(&closesocket)>("closesocket", socket);
    DeleteNetWorkConnection(connection);
    return -1;
  }
  return connection->handle;
}

int ProcessNetWorkMessages(int closeFlag) {
  if (!g_netWork.started) return 0;
  if (closeFlag == 1) CloseNetWorkConnections(IsFinished);
  MSG msg;
  while (g_netWork.window != nullptr && PeekMessageA(&msg, g_netWork.window, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

LRESULT HandleSocketEvent(LPARAM eventWord, WPARAM socket) {
  const int event = WSAGETSELECTEVENT(eventWord);
  // The listening socket belongs to the table, not to a record.
  if (socket == g_netWork.listenSocket && event == FD_ACCEPT) {
    AcceptNetWork();
    return 1;
  }
  NetWorkConnection* connection = FindBySocket(socket);
  if (connection == nullptr) {
    LogWrite("通信エラー No.1\n");
    return 0;
  }
  if (connection->kind != 0) {
    if (event == FD_READ) connection->readable = 1;
    if (event == FD_WRITE) connection->writable = 1;
    return 1;
  }
  switch (event) {
    case FD_READ: RecvSocket(connection->handle); break;
    case FD_WRITE: SendSocket(connection->handle); break;
    case FD_ACCEPT: AcceptNetWork(); break;
    case FD_CONNECT:
      if (WSAGETSELECTERROR(eventWord) == 0) connection->connected = 1;
      break;
    case FD_CLOSE:
      connection->connected = 0;
      connection->closed = 1;
      break;
    default: break;
  }
  return 1;
}
