// ws2_32's exports: programs load this module at run time.
#include "kernel32/module_definition.h"
#include "platform/winsock.h"

namespace wqplat {
namespace {

const ModuleExport kExports[] = {
    {"WSAStartup", ExportAddress(&WSAStartup)},
    {"WSACleanup", ExportAddress(&WSACleanup)},
    {"WSAGetLastError", ExportAddress(&WSAGetLastError)},
    {"WSASetLastError", ExportAddress(&WSASetLastError)},
    {"WSAAsyncSelect", ExportAddress(&WSAAsyncSelect)},
    {"socket", ExportAddress(&socket)},
    {"bind", ExportAddress(&bind)},
    {"getsockname", ExportAddress(&getsockname)},
    {"listen", ExportAddress(&listen)},
    {"accept", ExportAddress(&accept)},
    {"connect", ExportAddress(&connect)},
    {"send", ExportAddress(&send)},
    {"recv", ExportAddress(&recv)},
    {"sendto", ExportAddress(&sendto)},
    {"recvfrom", ExportAddress(&recvfrom)},
    {"shutdown", ExportAddress(&shutdown)},
    {"closesocket", ExportAddress(&closesocket)},
    {"gethostbyname", ExportAddress(&gethostbyname)},
    {"gethostbyaddr", ExportAddress(&gethostbyaddr)},
    {"gethostname", ExportAddress(&gethostname)},
    {"htons", ExportAddress(&htons)},
    {"ntohs", ExportAddress(&ntohs)},
    {"inet_addr", ExportAddress(&inet_addr)},
};

}  // namespace

extern const ModuleDefinition kWs2_32Module{"ws2_32", kExports};

}  // namespace wqplat
