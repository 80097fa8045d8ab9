// ws2_32 as the network handles reach it: through the entry points that
// start-up loads at run time. A missing entry fails the call the way
// WinSock fails (SOCKET_ERROR, INVALID_SOCKET).
#pragma once

#include <utility>

#include "platform/winsock.h"
#include "core/startup/runtime_libraries.h"

template <typename Function, typename... Args>
auto CallWinsock(const char* name, Args... args) {
  using Result = decltype(std::declval<Function>()(args...));
  const auto entry = RuntimeEntry<Function>(kRuntimeWs2_32, name);
  return entry ? entry(args...) : static_cast<Result>(-1);
}
