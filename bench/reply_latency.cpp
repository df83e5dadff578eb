// wrenset-bench-latency: one BOOTP request from the unit's side and the time to the first reply,
// both taken from the kernel's receive timestamps (SO_TIMESTAMPNS) on a packet socket bound to
// the unit's interface: the request as it leaves the interface, the first UDP datagram to port 68
// as it arrives there. Prints the latency in nanoseconds; exit status 1 when no reply came in time.
//     wrenset-bench-latency DEVICE HARDWARE-ADDRESS XID-HEX TIMEOUT-MS
#include <arpa/inet.h>
#include <linux/if_packet.h>
#include <net/ethernet.h>
#include <net/if.h>
#include <netinet/ip.h>
#include <netinet/udp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

constexpr int kServerPort = 67;
constexpr int kClientPort = 68;
constexpr std::size_t kRequestLength = 300;

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

int Fail(const char* what) {
    std::fprintf(stderr, "wrenset-bench-latency: %s: %s\n", what, std::strerror(errno));
    return 2;
}

// A plain BOOTP request that asks for a broadcast reply, so that every server answers alike.
void BuildRequest(std::uint8_t* p, const unsigned hardware[6], std::uint32_t xid) {
    std::memset(p, 0, kRequestLength);
    p[0] = 1;  // BOOTREQUEST
    p[1] = 1;  // Ethernet
    p[2] = 6;
    const std::uint32_t wire = htonl(xid);
    std::memcpy(p + 4, &wire, 4);
    p[10] = 0x80;  // broadcast flag
    for (int i = 0; i < 6; ++i) {
        p[28 + i] = static_cast<std::uint8_t>(hardware[i]);
    }
    const std::uint8_t cookie[] = {99, 130, 83, 99};
    std::memcpy(p + 236, cookie, sizeof cookie);
    p[240] = 255;  // end
}

// The UDP destination port of an IPv4 frame, or 0.
int DestinationPort(const std::uint8_t* frame, ssize_t length) {
    if (length < static_cast<ssize_t>(sizeof(ether_header) + sizeof(iphdr))) {
        return 0;
    }
    ether_header ethernet;
    std::memcpy(&ethernet, frame, sizeof ethernet);
    if (ntohs(ethernet.ether_type) != ETHERTYPE_IP) {
        return 0;
    }
    iphdr ip;
    std::memcpy(&ip, frame + sizeof(ether_header), sizeof ip);
    const std::size_t udpAt = sizeof(ether_header) + ip.ihl * 4u;
    if (ip.protocol != IPPROTO_UDP || length < static_cast<ssize_t>(udpAt + sizeof(udphdr))) {
        return 0;
    }
    udphdr udp;
    std::memcpy(&udp, frame + udpAt, sizeof udp);
    return ntohs(udp.dest);
}

}  // namespace

int main(int argc, char** argv) {
    unsigned hardware[6];
    if (argc != 5 ||
        std::sscanf(argv[2], "%2x:%2x:%2x:%2x:%2x:%2x", &hardware[0], &hardware[1], &hardware[2], &hardware[3],
                    &hardware[4], &hardware[5]) != 6) {
        std::fputs("Usage: wrenset-bench-latency DEVICE HARDWARE-ADDRESS XID-HEX TIMEOUT-MS\n", stderr);
        return 2;
    }
    const char* device = argv[1];
    const auto xid = static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 16));
    const int timeoutMs = std::atoi(argv[4]);
    const unsigned index = ::if_nametoindex(device);
    if (index == 0) {
        return Fail("no such interface");
    }

    // Only a socket for every protocol sees the interface's outgoing frames as well.
    Descriptor capture(::socket(AF_PACKET, SOCK_RAW | SOCK_CLOEXEC, htons(ETH_P_ALL)));
    const int on = 1;
    sockaddr_ll link{};
    link.sll_family = AF_PACKET;
    link.sll_protocol = htons(ETH_P_ALL);
    link.sll_ifindex = static_cast<int>(index);
    if (capture.Get() < 0 || ::setsockopt(capture.Get(), SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on) != 0 ||
        ::bind(capture.Get(), reinterpret_cast<sockaddr*>(&link), sizeof link) != 0) {
        return Fail("packet socket");
    }
    Descriptor client(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(kClientPort);
    if (client.Get() < 0 || ::setsockopt(client.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
        ::setsockopt(client.Get(), SOL_SOCKET, SO_BINDTODEVICE, device, static_cast<socklen_t>(std::strlen(device))) != 0 ||
        ::bind(client.Get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        return Fail("client socket");
    }

    std::uint8_t request[kRequestLength];
    BuildRequest(request, hardware, xid);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(kServerPort);
    server.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    if (::sendto(client.Get(), request, sizeof request, 0, reinterpret_cast<sockaddr*>(&server), sizeof server) !=
        static_cast<ssize_t>(sizeof request)) {
        return Fail("sendto");
    }

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    timespec sent{};
    bool haveSent = false;
    while (std::chrono::steady_clock::now() < deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd watched{capture.Get(), POLLIN, 0};
        if (::poll(&watched, 1, static_cast<int>(left.count()) + 1) <= 0) {
            continue;
        }
        std::uint8_t frame[2048];
        iovec data{frame, sizeof frame};
        alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(timespec))];
        sockaddr_ll from{};
        msghdr message{};
        message.msg_name = &from;
        message.msg_namelen = sizeof from;
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t length = ::recvmsg(capture.Get(), &message, 0);
        if (length < 0) {
            return Fail("recvmsg");
        }
        timespec stamp{};
        for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr; header = CMSG_NXTHDR(&message, header)) {
            if (header->cmsg_level == SOL_SOCKET && header->cmsg_type == SCM_TIMESTAMPNS) {
                std::memcpy(&stamp, CMSG_DATA(header), sizeof stamp);
            }
        }
        const int port = DestinationPort(frame, length);
        if (!haveSent && from.sll_pkttype == PACKET_OUTGOING && port == kServerPort) {
            sent = stamp;
            haveSent = true;
        } else if (haveSent && from.sll_pkttype != PACKET_OUTGOING && port == kClientPort) {
            const long long ns = (static_cast<long long>(stamp.tv_sec) - sent.tv_sec) * 1000000000LL +
                                 (stamp.tv_nsec - sent.tv_nsec);
            std::printf("%lld\n", ns);
            return 0;
        }
    }
    std::fputs("wrenset-bench-latency: no reply in time\n", stderr);
    return 1;
}
