#include "net/udp_socket.h"

#include <net/if.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "net/socket_faults.h"

namespace {

SocketFaults* g_faults = nullptr;

// Records errno as the thread's last socket error and reports the failure.
int Failed() {
    WSASetLastError(WsaErrorFromErrno(errno));
    return SOCKET_ERROR;
}

// True when a test has made this call fail; errno then holds the chosen error.
bool Injected(SocketCall call) {
    if (g_faults == nullptr) {
        return false;
    }
    int error = g_faults->FailureFor(call);
    if (error == 0) {
        return false;
    }
    errno = error;
    return true;
}

int Checked(int result) { return result < 0 ? Failed() : result; }

}  // namespace

void InstallSocketFaults(SocketFaults* faults) { g_faults = faults; }

sockaddr_in MakeSocketAddress(in_addr_t address, in_port_t port) {
    sockaddr_in record{};
    record.sin_family = AF_INET;
    record.sin_port = port;
    record.sin_addr.s_addr = address;
    return record;
}

UdpSocket::~UdpSocket() { Close(); }

int UdpSocket::Open() {
    Close();
    if (Injected(SocketCall::Open)) {
        return Failed();
    }
    m_handle = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    return m_handle == INVALID_SOCKET ? Failed() : 0;
}

int UdpSocket::SetBroadcast() {
    if (Injected(SocketCall::SetBroadcast)) {
        return Failed();
    }
    int on = 1;
    return Checked(::setsockopt(m_handle, SOL_SOCKET, SO_BROADCAST, &on, sizeof on));
}

int UdpSocket::EnablePacketInfo() {
    if (Injected(SocketCall::EnablePacketInfo)) {
        return Failed();
    }
    int on = 1;
    return Checked(::setsockopt(m_handle, IPPROTO_IP, IP_PKTINFO, &on, sizeof on));
}

int UdpSocket::BindToDevice(const std::string& interfaceName) {
    if (Injected(SocketCall::BindToDevice)) {
        return Failed();
    }
    return Checked(::setsockopt(m_handle, SOL_SOCKET, SO_BINDTODEVICE, interfaceName.c_str(),
                                static_cast<socklen_t>(interfaceName.size())));
}

int UdpSocket::SetNonBlocking() {
    if (Injected(SocketCall::SetNonBlocking)) {
        return Failed();
    }
    int on = 1;
    return Checked(::ioctl(m_handle, FIONBIO, &on));
}

int UdpSocket::Bind(const sockaddr_in& local) {
    if (Injected(SocketCall::Bind)) {
        return Failed();
    }
    return Checked(::bind(m_handle, reinterpret_cast<const sockaddr*>(&local), sizeof local));
}

int UdpSocket::WaitReadable(std::chrono::microseconds timeout) {
    if (Injected(SocketCall::Wait)) {
        return Failed();
    }
    // poll takes its time-out by value, so no call can inherit what an earlier one left over.
    pollfd watched{m_handle, POLLIN, 0};
    const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(timeout).count();
    return Checked(::poll(&watched, 1, static_cast<int>(milliseconds)));
}

int UdpSocket::ReceiveFrom(std::uint8_t* buffer, int capacity, sockaddr_in* from) {
    m_lastReceiveInterface = 0;
    m_lastReceiveBytes = 0;
    if (Injected(SocketCall::Receive)) {
        return Failed();
    }
    iovec data{buffer, static_cast<std::size_t>(capacity)};
    alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(in_pktinfo))];
    msghdr message{};
    message.msg_name = from;
    message.msg_namelen = sizeof *from;
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    // Never wait here: a wait that ended without a datagram must not become an unbounded block.
    const ssize_t received = ::recvmsg(m_handle, &message, MSG_DONTWAIT);
    if (received < 0) {
        return Failed();
    }
    m_lastReceiveBytes = std::min(static_cast<int>(received), capacity);
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr; header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
            in_pktinfo info;
            std::memcpy(&info, CMSG_DATA(header), sizeof info);
            m_lastReceiveInterface = info.ipi_ifindex;
        }
    }
    // POSIX reports an over-long datagram as a success with the buffer's length; Windows
    // Sockets reports it as a failure, and the program counts on that.
    if ((message.msg_flags & MSG_TRUNC) != 0) {
        errno = EMSGSIZE;
        return Failed();
    }
    return static_cast<int>(received);
}

int UdpSocket::SendTo(const std::uint8_t* buffer, int length, const sockaddr_in& to) {
    if (Injected(SocketCall::Send)) {
        return Failed();
    }
    if (to.sin_addr.s_addr == htonl(INADDR_ANY) || to.sin_addr.s_addr == htonl(INADDR_BROADCAST)) {
        errno = EADDRNOTAVAIL;
        return Failed();
    }
    return Checked(static_cast<int>(::sendto(m_handle, buffer, static_cast<std::size_t>(length), 0,
                                             reinterpret_cast<const sockaddr*>(&to), sizeof to)));
}

int UdpSocket::SendBroadcast(const std::uint8_t* buffer, int length, in_port_t port, int interfaceIndex) {
    if (Injected(SocketCall::Send)) {
        return Failed();
    }
    sockaddr_in to = MakeSocketAddress(htonl(INADDR_BROADCAST), port);
    iovec data{const_cast<std::uint8_t*>(buffer), static_cast<std::size_t>(length)};
    alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr message{};
    message.msg_name = &to;
    message.msg_namelen = sizeof to;
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    if (interfaceIndex > 0) {
        // Linux sends a limited broadcast by the default route, which need not lead to the unit.
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        cmsghdr* header = CMSG_FIRSTHDR(&message);
        header->cmsg_level = IPPROTO_IP;
        header->cmsg_type = IP_PKTINFO;
        header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo info{};
        info.ipi_ifindex = interfaceIndex;
        std::memcpy(CMSG_DATA(header), &info, sizeof info);
    }
    return Checked(static_cast<int>(::sendmsg(m_handle, &message, 0)));
}

int UdpSocket::Close() {
    if (m_handle == INVALID_SOCKET) {
        return 0;
    }
    const int result = ::close(m_handle);
    m_handle = INVALID_SOCKET;
    return result;
}
