// Closing network handles, with a drain of what is still in transit, and
// the shutdown of the network side.
#include "core/base/log_file.h"
#include "core/network/network_handles.h"
#include "core/network/network_winsock.h"
#include "core/window/window_system_state.h"

namespace {

// How long closing keeps receiving and sending what is still in transit.
constexpr int kDrainMs = 1000;

bool IsReceivingMessage(const NetWorkConnection* connection) {
  return connection->receiveHeaderHeld > 0 || connection->receiveRemaining > 0;
}

bool IsSending(const NetWorkConnection* connection) {
  return connection->sendRing.held > 0 || connection->sendHeaderRemaining > 0;
}

// GetTimeMs counts in 31 bits: the difference is taken modulo its wrap, or
// a drain begun just before the wrap would wait for weeks.
int MsSince(int start) { return (GetTimeMs() - start) & 0x7FFFFFFF; }

// Repeats the transfer while the condition holds, the connection can carry
// data, the time allows and the program is not quitting.
template <class Condition>
void Drain(NetWorkConnection* connection, Condition condition, int (*transfer)(int)) {
  const int start = GetTimeMs();
  while (condition(connection) && connection->connected && !connection->error && MsSince(start) < kDrainMs &&
         !GetQuitFlag()) {
    transfer(connection->handle);
    if (condition(connection)) Sleep(1);
  }
}

void CloseConnection(NetWorkConnection* connection) {
  CallWinsock<decltype(&WSAAsyncSelect)>("WSAAsyncSelect", connection->socket, g_netWork.window, 0u, LONG{0});
  CallWinsock<decltype(&closesocket)>("closesocket", connection->socket);
  DeleteNetWorkConnection(connection);
}

}  // namespace

int CloseNetWorkHandle(int handle) {
  NetWorkConnection* connection = FindNetWorkConnection(handle, 0);
  if (connection == nullptr) return -1;
  ProcessNetWorkMessages(0);
  Drain(connection, IsReceivingMessage, RecvSocket);
  Drain(connection, IsSending, SendSocket);
  CloseConnection(connection);
  return 0;
}

int CloseNetWorkSocket(int handle) {
  NetWorkConnection* connection = FindNetWorkConnection(handle, 1);
  if (connection == nullptr) return -1;
  CloseConnection(connection);
  return 0;
}

void CloseNetWorkConnections(bool (*which)(const NetWorkConnection* connection)) {
  if (g_netWork.head.next == nullptr) return;
  ListNode* node = g_netWork.head.next;
  while (node != &g_netWork.end) {
    auto* connection = static_cast<NetWorkConnection*>(node->owner);
    node = node->next;
    if (!which(connection)) continue;
    if (connection->kind == 0) {
      CloseNetWorkHandle(connection->handle);
    } else {
      CloseNetWorkSocket(connection->handle);
    }
  }
}

int ShutdownNetWork() {
  if (!g_netWork.started) return 0;
  LogWrite("ネットワーク関連の終了処理を行います \n");
  CloseNetWorkConnections([](const NetWorkConnection*) { return true; });
  if (g_netWork.window != nullptr) {
    PostMessageA(g_netWork.window, WM_CLOSE, 0, 0);
    // Until the window is gone, or has nothing left to handle.
    MSG msg;
    while (IsWindow(g_netWork.window) && PeekMessageA(&msg, g_netWork.window, 0, 0, PM_REMOVE)) {
      DispatchMessageA(&msg);
    }
  }
  g_netWork = NetWorkTable{};
  CallWinsock<decltype(&WSACleanup)>("WSACleanup");
  LogWrite("ネットワーク関連の終了処理は完了しました\n");
  return 0;
}
