// WSAAsyncSelect's bookkeeping: which window hears about which socket, and
// which events are armed. A poll thread of the layer watches the armed
// sockets and posts each event to the window's queue with PostMessageA.
#pragma once

#include "platform/winsock.h"

namespace wqplat {

// Replaces the socket's request; events 0 cancel it.
void RequestSocketEvents(int fd, HWND window, UINT message, LONG events);
void CancelSocketEvents(int fd);
// Arms one FD_ event again after the call that consumes it (recv, a send
// that would block, accept).
void ReenableSocketEvent(int fd, LONG event);
// Brackets a connect call, so that the socket is not judged while the call
// runs. under_way: the connect succeeded or is in progress, and FD_CONNECT
// follows its outcome; otherwise the call failed at once and posts nothing.
void BeginConnectCall(int fd);
void EndConnectCall(int fd, bool under_way);
// A socket accepted from a watched listening socket takes over its
// request; false when the listening socket is not watched.
bool InheritSocketEvents(int listening_fd, int accepted_fd);
// Wakes the poll thread to look at a socket whose state changed (listen).
void RefreshSocketEvents(int fd);
// Forgets every request and ends the poll thread.
void StopSocketEvents();

}  // namespace wqplat
