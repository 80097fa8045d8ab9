// ws2_32: IPv4 sockets, host names and window-message notification of
// socket events. Programs usually load it at run time ("ws2_32.dll").
#pragma once

#include "platform/wintypes.h"

// Several names below are also C library functions with size_t lengths
// (gethostname, send, recv...); pass int lengths and SOCKET values so that
// these are the ones called.

// The short BSD type names (u_short, u_long...) belong to the C library
// here, where u_long is 64-bit, so these declarations use the Windows base
// types instead.
using SOCKET = UINT_PTR;

#define INVALID_SOCKET (static_cast<SOCKET>(~static_cast<SOCKET>(0)))
#define SOCKET_ERROR (-1)

// ---- Error numbers (WSAGetLastError) ---------------------------------------

#define WSABASEERR 10000
#define WSAEINTR 10004
#define WSAEBADF 10009
#define WSAEACCES 10013
#define WSAEFAULT 10014
#define WSAEINVAL 10022
#define WSAEMFILE 10024
#define WSAEWOULDBLOCK 10035
#define WSAEINPROGRESS 10036
#define WSAEALREADY 10037
#define WSAENOTSOCK 10038
#define WSAEDESTADDRREQ 10039
#define WSAEMSGSIZE 10040
#define WSAEPROTOTYPE 10041
#define WSAENOPROTOOPT 10042
#define WSAEPROTONOSUPPORT 10043
#define WSAESOCKTNOSUPPORT 10044
#define WSAEOPNOTSUPP 10045
#define WSAEAFNOSUPPORT 10047
#define WSAEADDRINUSE 10048
#define WSAEADDRNOTAVAIL 10049
#define WSAENETDOWN 10050
#define WSAENETUNREACH 10051
#define WSAENETRESET 10052
#define WSAECONNABORTED 10053
#define WSAECONNRESET 10054
#define WSAENOBUFS 10055
#define WSAEISCONN 10056
#define WSAENOTCONN 10057
#define WSAESHUTDOWN 10058
#define WSAETIMEDOUT 10060
#define WSAECONNREFUSED 10061
#define WSAEHOSTUNREACH 10065
#define WSAVERNOTSUPPORTED 10092
#define WSANOTINITIALISED 10093
#define WSAHOST_NOT_FOUND 11001
#define WSATRY_AGAIN 11002
#define WSANO_RECOVERY 11003
#define WSANO_DATA 11004

// ---- Start-up --------------------------------------------------------------

#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128

struct WSADATA {
  WORD wVersion;
  WORD wHighVersion;
  char szDescription[WSADESCRIPTION_LEN + 1];
  char szSystemStatus[WSASYS_STATUS_LEN + 1];
  unsigned short iMaxSockets;
  unsigned short iMaxUdpDg;
  char* lpVendorInfo;
};
using LPWSADATA = WSADATA*;

#define MAKEWORD(low, high) \
  (static_cast<WORD>(static_cast<BYTE>(low) | static_cast<WORD>(static_cast<BYTE>(high)) << 8))

// Versions 1.1 to 2.2 are offered; each successful call needs one
// WSACleanup. Every socket and host call fails with WSANOTINITIALISED
// outside a start-up.
int WSAStartup(WORD version_requested, LPWSADATA data);
int WSACleanup();
// The calling thread's last WinSock error.
int WSAGetLastError();
void WSASetLastError(int error);

// ---- Addresses -------------------------------------------------------------

#define AF_UNSPEC 0
#define AF_INET 2
#define PF_INET AF_INET

#define INADDR_ANY (static_cast<ULONG>(0x00000000u))
#define INADDR_LOOPBACK (static_cast<ULONG>(0x7F000001u))
#define INADDR_NONE (static_cast<ULONG>(0xFFFFFFFFu))

struct in_addr {
  ULONG s_addr;  // network byte order
};

struct sockaddr {
  USHORT sa_family;
  char sa_data[14];
};

struct sockaddr_in {
  short sin_family;
  USHORT sin_port;  // network byte order
  in_addr sin_addr;
  char sin_zero[8];
};

struct hostent {
  char* h_name;
  char** h_aliases;
  short h_addrtype;
  short h_length;
  char** h_addr_list;
};

USHORT htons(USHORT host_short);
USHORT ntohs(USHORT net_short);
// Dotted text ("a.b.c.d", and the shorter and hexadecimal forms) to an
// address in network byte order; INADDR_NONE when it is not an address.
ULONG inet_addr(const char* text);

// Host entries live in storage of the calling thread until its next host
// call. Only IPv4 addresses are reported.
hostent* gethostbyname(const char* name);
hostent* gethostbyaddr(const char* address, int length, int type);
// Fails with WSAEFAULT when the name and its terminator do not fit.
int gethostname(char* name, int length);

// ---- Sockets ---------------------------------------------------------------

#define SOCK_STREAM 1
#define SOCK_DGRAM 2
#define IPPROTO_IP 0
#define IPPROTO_TCP 6
#define IPPROTO_UDP 17

#define MSG_PEEK 0x2

#define SD_RECEIVE 0
#define SD_SEND 1
#define SD_BOTH 2

#define SOMAXCONN 0x7FFFFFFF

// Sockets block until WSAAsyncSelect makes them non-blocking.
SOCKET socket(int family, int type, int protocol);
int bind(SOCKET s, const sockaddr* name, int name_length);
// The address a socket is bound to (the port chosen for port 0).
int getsockname(SOCKET s, sockaddr* name, int* name_length);
int listen(SOCKET s, int backlog);
// The new socket takes over the listening socket's WSAAsyncSelect request.
SOCKET accept(SOCKET s, sockaddr* address, int* address_length);
// On a non-blocking socket it fails with WSAEWOULDBLOCK and completes
// later with FD_CONNECT.
int connect(SOCKET s, const sockaddr* name, int name_length);
int send(SOCKET s, const char* buffer, int length, int flags);
// flags: 0 or MSG_PEEK.
int recv(SOCKET s, char* buffer, int length, int flags);
int sendto(SOCKET s, const char* buffer, int length, int flags, const sockaddr* to, int to_length);
int recvfrom(SOCKET s, char* buffer, int length, int flags, sockaddr* from, int* from_length);
int shutdown(SOCKET s, int how);
int closesocket(SOCKET s);

// ---- Window-message notification -------------------------------------------

#define FD_READ 0x01
#define FD_WRITE 0x02
#define FD_OOB 0x04
#define FD_ACCEPT 0x08
#define FD_CONNECT 0x10
#define FD_CLOSE 0x20

#define WSAMAKESELECTREPLY(event, error) (static_cast<LPARAM>(MAKELONG(event, error)))
#define WSAGETSELECTEVENT(lparam) LOWORD(lparam)
#define WSAGETSELECTERROR(lparam) HIWORD(lparam)

// Makes the socket non-blocking and posts `message` to the window (wParam
// the socket, lParam the event and its error) when one of the events
// happens. Each event is posted once and then waits to be re-enabled:
// FD_READ by recv/recvfrom, FD_WRITE by a send that would block, FD_ACCEPT
// by accept. FD_CONNECT and FD_CLOSE are posted once; FD_CLOSE only after
// the data that arrived before the close has been read. Events 0 cancel
// the request (the socket stays non-blocking).
int WSAAsyncSelect(SOCKET s, HWND window, UINT message, LONG events);
