#include <cstdarg>

#include "WqLib.h"
#include "core/startup/api_lock.h"
#include "core/startup/library_startup.h"
#include "core/base/log_file.h"
#include "core/window/message_pump.h"
#include "core/base/string_utils.h"
#include "core/window/window_system_state.h"

namespace {
constexpr std::size_t kFatalMessageSize = 1024;
}

int StartLibrary() {
  if (WindowSystem().initialised) return 0;
  LockLibraryCall();
  const int result = InitializeLibrary();
  UnlockLibraryCall();
  return result;
}

int EndLibrary() {
  if (!WindowSystem().initialised) return 0;
  LockLibraryCall();
  const int result = TerminateLibrary();
  UnlockLibraryCall();
  DestroyApiLock();
  return result;
}

int PumpMessages() {
  LockLibraryCall();
  const int result = ProcessWindowMessages();
  UnlockLibraryCall();
  return result;
}

void TerminateAndExit(const char* message) {
  LogWrite(message);
  LogWrite("\n");
  TerminateLibrary();
  DestroyApiLock();
  ExitProcess(static_cast<UINT>(-1));
}

void FatalErrorFormat(const char* format, ...) {
  char message[kFatalMessageSize];
  va_list args;
  va_start(args, format);
  FormatStringV(message, sizeof(message), format, args);
  va_end(args);
  TerminateAndExit(message);
}
