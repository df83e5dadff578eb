// The socket layer over real sockets, on a private loopback: what it hides of POSIX.
#include "net/udp_socket.h"

#include <arpa/inet.h>
#include <net/if.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "private_network.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr in_port_t kTestPort = 4067;

bool Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "failed: %s\n", what);
    }
    return condition;
}

bool OpenBound(UdpSocket& socket) {
    return socket.Open() == 0 && socket.EnablePacketInfo() == 0 &&
           socket.Bind(MakeSocketAddress(htonl(INADDR_ANY), htons(kTestPort))) == 0;
}

void SendToTestPort(const std::uint8_t* data, std::size_t length) {
    const int sender = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in to = MakeSocketAddress(inet_addr("127.0.0.1"), htons(kTestPort));
    sendto(sender, data, length, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    close(sender);
}

bool OverlongDatagramFailsWithItsFirstBytesInTheBuffer() {
    UdpSocket socket;
    if (!Check(OpenBound(socket), "open and bind")) {
        return false;
    }
    std::uint8_t sent[400];
    for (std::size_t i = 0; i < sizeof sent; ++i) {
        sent[i] = static_cast<std::uint8_t>(i * 7);
    }
    SendToTestPort(sent, sizeof sent);
    std::uint8_t buffer[301];
    std::memset(buffer, 0xEE, sizeof buffer);
    sockaddr_in from{};
    socket.WaitReadable(std::chrono::seconds(2));
    errno = 0;
    const int received = socket.ReceiveFrom(buffer, 300, &from);
    return Check(received == SOCKET_ERROR, "an over-long datagram is a failed receive") &&
           Check(WSAGetLastError() == WSAEMSGSIZE, "recorded as WSAEMSGSIZE") &&
           Check(errno == EMSGSIZE, "errno EMSGSIZE, \"Message too long\"") &&
           Check(std::memcmp(buffer, sent, 300) == 0, "its first 300 bytes are in the buffer") &&
           Check(buffer[300] == 0xEE, "nothing beyond the buffer is written") &&
           Check(socket.LastReceiveBytes() == 300, "the buffer counts as written in full") &&
           Check(socket.LastReceiveInterface() == static_cast<int>(if_nametoindex("lo")),
                 "the arrival interface is known");
}

TEST(UdpSocket, AnOverlongDatagramFailsLikeWindowsSocketsButKeepsItsFirstBytes) {
    EXPECT_IN_PRIVATE_NETWORK(OverlongDatagramFailsWithItsFirstBytesInTheBuffer);
}

bool IdleWaitsEachWaitInFullAndTheReceiveAfterThemDoesNotBlock() {
    UdpSocket socket;
    if (!Check(OpenBound(socket), "open and bind")) {
        return false;
    }
    constexpr auto kWait = std::chrono::milliseconds(300);
    bool ok = true;
    for (int wait = 1; wait <= 2; ++wait) {
        const auto start = Clock::now();
        ok = Check(socket.WaitReadable(kWait) == 0, "an idle wait ends on its time-out") && ok;
        // Lower bound only: a wait that inherited the time left over would end at once.
        ok = Check(Clock::now() - start >= kWait - std::chrono::milliseconds(50), "each wait lasts its full time") &&
             ok;
        std::uint8_t buffer[300];
        sockaddr_in from{};
        const auto receiveStart = Clock::now();
        ok = Check(socket.ReceiveFrom(buffer, sizeof buffer, &from) == SOCKET_ERROR, "no datagram: a failure") && ok;
        ok = Check(WSAGetLastError() == WSAEWOULDBLOCK, "recorded as WSAEWOULDBLOCK") && ok;
        ok = Check(socket.LastReceiveBytes() == 0, "and it wrote nothing") && ok;
        ok = Check(Clock::now() - receiveStart < std::chrono::seconds(5), "the receive returned instead of blocking") &&
             ok;
    }
    return ok;
}

TEST(UdpSocket, EveryIdleWaitWaitsAfreshAndTheReceiveAfterItFailsAtOnce) {
    EXPECT_IN_PRIVATE_NETWORK(IdleWaitsEachWaitInFullAndTheReceiveAfterThemDoesNotBlock);
}

bool AFailingCallSetsTheLastErrorAndAMessageInBetweenDoesNot() {
    UdpSocket first;
    UdpSocket second;
    if (!Check(OpenBound(first), "open and bind")) {
        return false;
    }
    const bool bindFailed = second.Open() == 0 &&
                            second.Bind(MakeSocketAddress(htonl(INADDR_ANY), htons(kTestPort))) == SOCKET_ERROR;
    const int recorded = WSAGetLastError();
    second.Close();  // closing is never reported and leaves the error alone
    return Check(bindFailed, "a second bind to the port fails") && Check(recorded == WSAEADDRINUSE, "WSAEADDRINUSE") &&
           Check(WSAGetLastError() == WSAEADDRINUSE, "close kept the error");
}

TEST(UdpSocket, ABindToAHeldPortRecordsAddressInUse) {
    EXPECT_IN_PRIVATE_NETWORK(AFailingCallSetsTheLastErrorAndAMessageInBetweenDoesNot);
}

}  // namespace
