#include "net/socket_errors.h"

#include "net/winsock.h"
#include "unit/parameters_dlg.h"

namespace {

struct SocketErrorName {
    int code;
    const char* text;
};

// All names but one end in a colon; WSAENOBUFS has always been shown without it.
constexpr SocketErrorName kSocketErrorNames[] = {
    {WSAEINTR, "WSAEINTR:"},
    {WSAEACCES, "WSAEACCES:"},
    {WSAEFAULT, "WSAEFAULT:"},
    {WSAEMFILE, "WSAEMFILE:"},
    {WSAEWOULDBLOCK, "WSAEWOULDBLOCK:"},
    {WSAEINPROGRESS, "WSAEINPROGRESS:"},
    {WSAENOTSOCK, "WSAENOTSOCK:"},
    {WSAEDESTADDRREQ, "WSAEDESTADDRREQ:"},
    {WSAEMSGSIZE, "WSAEMSGSIZE:"},
    {WSAEPROTOTYPE, "WSAEPROTOTYPE:"},
    {WSAEPROTONOSUPPORT, "WSAEPROTONOSUPPORT:"},
    {WSAESOCKTNOSUPPORT, "WSAESOCKTNOSUPPORT:"},
    {WSAEOPNOTSUPP, "WSAEOPNOTSUPP:"},
    {WSAEAFNOSUPPORT, "WSAEAFNOSUPPORT:"},
    {WSAEADDRNOTAVAIL, "WSAEADDRNOTAVAIL:"},
    {WSAENETDOWN, "WSAENETDOWN:"},
    {WSAENETUNREACH, "WSAENETUNREACH:"},
    {WSAENETRESET, "WSAENETRESET:"},
    {WSAECONNABORTED, "WSAECONNABORTED:"},
    {WSAECONNRESET, "WSAECONNRESET:"},
    {WSAENOBUFS, "WSAENOBUFS"},
    {WSAENOTCONN, "WSAENOTCONN:"},
    {WSAESHUTDOWN, "WSAESHUTDOWN:"},
    {WSANOTINITIALISED, "WSANOTINITIALISED:"},
};

}  // namespace

const char* SocketErrorText(int errorCode) {
    for (const SocketErrorName& name : kSocketErrorNames) {
        if (name.code == errorCode) {
            return name.text;
        }
    }
    return "Unrecognized Error";
}

void ReportSocketError(CParametersDlg& dialog) { dialog.MessageBox(SocketErrorText(WSAGetLastError())); }
