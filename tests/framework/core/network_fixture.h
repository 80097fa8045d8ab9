// The network side opened the way its records expect (nothing in the
// framework opens it): run-time ws2_32 entry points, a WinSock start-up, a
// hidden network window routing socket events to HandleSocketEvent, and a
// listening socket on 127.0.0.1 that reports pending connections.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "log_capture.h"
#include "core/network/network_handles.h"
#include "platform/control.h"
#include "core/startup/runtime_libraries.h"
#include "support/loopback_sockets.h"

namespace wqtest {

// Distinct payloads for messages of different sizes.
inline std::string MessagePattern(int size) {
  std::string bytes(static_cast<std::size_t>(size), '\0');
  for (int i = 0; i < size; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>((i * 31 + size) % 251);
  return bytes;
}

inline LRESULT NetWorkWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kSocketEventMessage) return HandleSocketEvent(lparam, wparam);
  return DefWindowProcA(window, message, wparam, lparam);
}

class NetWorkFixture : public LogCapture {
 protected:
  void SetUp() override {
    LogCapture::SetUp();
    // Real peers answer in real time; the drains while closing wait on it.
    WqControlEnableVirtualClock(false);
    LoadEarlyRuntimeLibraries();
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = NetWorkWindowProc;
    window_class.lpszClassName = "NetWorkTestWindow";
    RegisterClassExA(&window_class);
    window_ = CreateWindowExA(0, "NetWorkTestWindow", "", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
    g_netWork.started = 1;
    g_netWork.window = window_;
    g_netWork.listenSocket = ListenOnLoopback(&port_);
    ASSERT_NE(g_netWork.listenSocket, INVALID_SOCKET);
    ASSERT_EQ(WSAAsyncSelect(g_netWork.listenSocket, window_, kSocketEventMessage, FD_ACCEPT), 0);
  }

  void TearDown() override {
    ShutdownNetWork();
    FreeRuntimeLibraries();
    LogCapture::TearDown();
  }

  // Dispatches the network messages until the condition holds; false after
  // ten seconds.
  template <class Condition>
  bool PumpUntil(Condition condition, int closeFlag = 0) {
    const DWORD start = GetTickCount();
    while (!condition()) {
      if (GetTickCount() - start > 10000) return false;
      ProcessNetWorkMessages(closeFlag);
      Sleep(1);
    }
    return true;
  }

  // The oldest open handle's record, or null.
  static NetWorkConnection* FirstConnection() {
    if (g_netWork.head.next == nullptr || g_netWork.head.next == &g_netWork.end) return nullptr;
    return static_cast<NetWorkConnection*>(g_netWork.head.next->owner);
  }

  // A loopback connection whose accepted side is handed to the framework
  // as a record of the kind; the peer's socket stays with the test.
  static NetWorkConnection* AttachLoopbackPeer(std::uint32_t kind, SOCKET* peer) {
    USHORT port = 0;
    SOCKET listener = ListenOnLoopback(&port);
    *peer = ConnectToLoopback(port);
    SOCKET ours = accept(listener, nullptr, nullptr);
    closesocket(listener);
    NetWorkConnection* connection = NewNetWorkConnection(kind);
    if (*peer == INVALID_SOCKET || ours == INVALID_SOCKET || connection == nullptr ||
        AttachNetWorkSocket(connection, ours) != 0) {
      ADD_FAILURE() << "no loopback connection";
      return nullptr;
    }
    return connection;
  }

  // Takes every complete byte received so far.
  static std::string TakeReceived(NetWorkConnection* connection) {
    std::string bytes(connection->receivedComplete, '\0');
    RingBufferRead(&connection->receiveRing, bytes.data(), static_cast<int>(bytes.size()), 0);
    connection->receivedComplete = 0;
    return bytes;
  }

  static void Queue(NetWorkConnection* connection, const std::string& bytes) {
    ASSERT_EQ(RingBufferWrite(&connection->sendRing, bytes.data(), static_cast<int>(bytes.size())), 0);
  }

  HWND window_ = nullptr;
  USHORT port_ = 0;
};

}  // namespace wqtest
