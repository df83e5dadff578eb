#include "net/winsock.h"

#include <cerrno>

namespace {
thread_local int t_lastSocketError = 0;
}

int WSAGetLastError() { return t_lastSocketError; }

void WSASetLastError(int error) { t_lastSocketError = error; }

int WsaErrorFromErrno(int posixError) {
    switch (posixError) {
        case EINTR: return WSAEINTR;
        case EACCES:
        case EPERM: return WSAEACCES;
        case EFAULT: return WSAEFAULT;
        case EINVAL: return WSAEINVAL;
        case EMFILE:
        case ENFILE: return WSAEMFILE;
        case EWOULDBLOCK: return WSAEWOULDBLOCK;
        case EINPROGRESS:
        case EALREADY: return WSAEINPROGRESS;
        case EBADF:
        case ENOTSOCK: return WSAENOTSOCK;
        case EDESTADDRREQ: return WSAEDESTADDRREQ;
        case EMSGSIZE: return WSAEMSGSIZE;
        case EPROTOTYPE: return WSAEPROTOTYPE;
        case ENOPROTOOPT: return WSAENOPROTOOPT;
        case EPROTONOSUPPORT: return WSAEPROTONOSUPPORT;
        case ESOCKTNOSUPPORT: return WSAESOCKTNOSUPPORT;
        case EOPNOTSUPP: return WSAEOPNOTSUPP;
        case EAFNOSUPPORT: return WSAEAFNOSUPPORT;
        case EADDRINUSE: return WSAEADDRINUSE;
        case EADDRNOTAVAIL: return WSAEADDRNOTAVAIL;
        case ENETDOWN: return WSAENETDOWN;
        case ENETUNREACH: return WSAENETUNREACH;
        case ENETRESET: return WSAENETRESET;
        case ECONNABORTED: return WSAECONNABORTED;
        case ECONNRESET: return WSAECONNRESET;
        case ENOBUFS:
        case ENOMEM: return WSAENOBUFS;
        case ENOTCONN: return WSAENOTCONN;
        case ESHUTDOWN: return WSAESHUTDOWN;
        case ETIMEDOUT: return WSAETIMEDOUT;
        case ECONNREFUSED: return WSAECONNREFUSED;
        case EHOSTUNREACH: return WSAEHOSTUNREACH;
        default: return WSASYSCALLFAILURE;
    }
}
