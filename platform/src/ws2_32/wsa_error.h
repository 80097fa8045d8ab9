// WinSock error numbers: the last error of the calling thread, and the
// translation of the POSIX errno values behind them.
#pragma once

namespace wqplat {

int WsaErrorFromErrno(int error);
// Sets the error and returns SOCKET_ERROR.
int FailWinsockCall(int wsa_error);
// A result of 0 or more passes through; -errno becomes SOCKET_ERROR with
// the matching WinSock error.
int FinishWinsockCall(int result);

}  // namespace wqplat
