// The thin socket layer: one IPv4 UDP socket and exactly the calls the program makes on it.
// Each call returns SOCKET_ERROR on failure and records the Windows Sockets code of the failure
// as the thread's last socket error. The destructor closes the socket, so early returns are safe.
#pragma once

#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "net/winsock.h"

class UdpSocket {
public:
    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    int Open();  // AF_INET, SOCK_DGRAM, protocol 0
    int SetBroadcast();
    // Each received datagram then names the interface it arrived on (enable before binding).
    int EnablePacketInfo();
    int BindToDevice(const std::string& interfaceName);
    int SetNonBlocking();
    int Bind(const sockaddr_in& local);

    // Waits until a datagram is queued or the time-out has passed: 1, 0 on time-out, or
    // SOCKET_ERROR. Every call waits the full time-out afresh.
    int WaitReadable(std::chrono::microseconds timeout);

    // Takes one queued datagram, never waiting for one: its length, or SOCKET_ERROR, with
    // WSAEWOULDBLOCK when none is queued. A datagram longer than the buffer fails with
    // WSAEMSGSIZE (errno EMSGSIZE) and leaves its first `capacity` bytes in the buffer.
    int ReceiveFrom(std::uint8_t* buffer, int capacity, sockaddr_in* from);

    // The interface of the last datagram received, 0 if the kernel named none.
    int LastReceiveInterface() const { return m_lastReceiveInterface; }
    // How many leading bytes of the buffer the last receive wrote: the datagram's length, the
    // buffer's capacity for an over-long one, 0 when it brought none.
    int LastReceiveBytes() const { return m_lastReceiveBytes; }

    // A datagram to one host. 0.0.0.0 and 255.255.255.255 are refused with WSAEADDRNOTAVAIL,
    // as Windows Sockets refuses 0.0.0.0: Linux would deliver the first to this host itself and
    // the second to every host on the link.
    int SendTo(const std::uint8_t* buffer, int length, const sockaddr_in& to);

    // A datagram to 255.255.255.255 at the port (network byte order), out of the interface given
    // by index; with index 0 the routing table chooses.
    int SendBroadcast(const std::uint8_t* buffer, int length, in_port_t port, int interfaceIndex);

    int Close();
    bool IsOpen() const { return m_handle != INVALID_SOCKET; }

private:
    SOCKET m_handle = INVALID_SOCKET;
    int m_lastReceiveInterface = 0;
    int m_lastReceiveBytes = 0;
};

// A socket address record: family AF_INET, the port and address as given (network byte order).
sockaddr_in MakeSocketAddress(in_addr_t address, in_port_t port);
