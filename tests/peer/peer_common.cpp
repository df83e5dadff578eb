#include "peer_common.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace peer {

Socket::~Socket() {
    if (m_handle >= 0) {
        ::close(m_handle);
    }
}

bool Socket::OpenUdp(const std::string& device, int port, bool broadcast) {
    m_handle = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (m_handle < 0) {
        return false;
    }
    const int on = 1;
    if (broadcast && ::setsockopt(m_handle, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        return false;
    }
    if (::setsockopt(m_handle, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0) {
        return false;
    }
    if (!device.empty() && ::setsockopt(m_handle, SOL_SOCKET, SO_BINDTODEVICE, device.c_str(),
                                        static_cast<socklen_t>(device.size())) != 0) {
        return false;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<std::uint16_t>(port));
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    return ::bind(m_handle, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
}

int ReceiveUntil(int handle, Clock::time_point deadline, Datagram& datagram) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd watched{handle, POLLIN, 0};
    const int ready = ::poll(&watched, 1, left > 0 ? static_cast<int>(left) : 0);
    if (ready <= 0) {
        return ready;
    }
    // A UDP datagram is at most 65507 bytes; the buffer takes any of them whole.
    datagram.data.assign(65536, 0);
    iovec data{datagram.data.data(), datagram.data.size()};
    alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(in_pktinfo))];
    msghdr message{};
    message.msg_name = &datagram.from;
    message.msg_namelen = sizeof datagram.from;
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t received = ::recvmsg(handle, &message, MSG_DONTWAIT);
    if (received < 0) {
        return -1;
    }
    datagram.data.resize(static_cast<std::size_t>(received));
    datagram.destination = {};
    datagram.interfaceIndex = 0;
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr; header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
            in_pktinfo info;
            std::memcpy(&info, CMSG_DATA(header), sizeof info);
            datagram.destination = info.ipi_addr;
            datagram.interfaceIndex = info.ipi_ifindex;
        }
    }
    return 1;
}

void PrintDatagram(const char* word, int number, const Datagram& datagram, int localPort) {
    char from[INET_ADDRSTRLEN] = {};
    char to[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &datagram.from.sin_addr, from, sizeof from);
    ::inet_ntop(AF_INET, &datagram.destination, to, sizeof to);
    char device[IF_NAMESIZE] = "?";
    if (datagram.interfaceIndex > 0) {
        ::if_indextoname(static_cast<unsigned>(datagram.interfaceIndex), device);
    }
    std::printf("%s %d from %s:%d to %s:%d on %s length %zu %s\n", word, number, from, ntohs(datagram.from.sin_port),
                to, localPort, device, datagram.data.size(), Hex(datagram.data.data(), datagram.data.size()).c_str());
    std::fflush(stdout);
}

int SocketFailure(const char* mode, const char* call) {
    std::fprintf(stderr, "wrenset-test-peer %s: %s: %s\n", mode, call, std::strerror(errno));
    return kExitSocket;
}

int ParseOptions(const char* mode, const char* usage, int argc, char** argv, const option* table,
                 const std::function<bool(int code)>& take) {
    opterr = 0;
    optind = 1;
    int code;
    while ((code = getopt_long(argc, argv, "+", table, nullptr)) != -1) {
        if (code == '?') {
            return UsageError(mode, std::string("unknown option '") + argv[optind - 1] + "'", usage);
        }
        if (!take(code)) {
            return UsageError(mode, std::string("bad value '") + optarg + "'", usage);
        }
    }
    if (optind < argc) {
        return UsageError(mode, std::string("unexpected argument '") + argv[optind] + "'", usage);
    }
    return kExitDone;
}

bool ParseNumber(const char* text, long minimum, long maximum, long& value) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 0);
    if (errno != 0 || *end != '\0' || parsed < minimum || parsed > maximum) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseXid(const char* text, std::uint8_t xid[4]) {
    if (text == nullptr || std::strlen(text) != 8) {
        return false;
    }
    char* end = nullptr;
    const unsigned long parsed = std::strtoul(text, &end, 16);
    if (*end != '\0') {
        return false;
    }
    const std::uint32_t wire = htonl(static_cast<std::uint32_t>(parsed));
    std::memcpy(xid, &wire, sizeof wire);
    return true;
}

bool ParseHardwareAddress(const char* text, std::uint8_t address[6]) {
    unsigned int bytes[6];
    char tail;
    if (text == nullptr || std::strlen(text) != 17 ||
        std::sscanf(text, "%2x:%2x:%2x:%2x:%2x:%2x%c", &bytes[0], &bytes[1], &bytes[2], &bytes[3], &bytes[4],
                    &bytes[5], &tail) != 6) {
        return false;
    }
    for (int i = 0; i < 6; ++i) {
        address[i] = static_cast<std::uint8_t>(bytes[i]);
    }
    return true;
}

bool ParseIpv4(const char* text, in_addr_t& address) {
    in_addr parsed{};
    if (text == nullptr || ::inet_pton(AF_INET, text, &parsed) != 1) {
        return false;
    }
    address = parsed.s_addr;
    return true;
}

std::string Hex(const std::uint8_t* bytes, std::size_t length) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(length * 2);
    for (std::size_t i = 0; i < length; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

int UsageError(const char* mode, const std::string& problem, const char* usage) {
    std::fprintf(stderr, "wrenset-test-peer %s: %s\n%s", mode, problem.c_str(), usage);
    return kExitUsage;
}

namespace {

// Request offsets (the BOOTP layout; the server reads only xid and chaddr).
constexpr std::size_t kOp = 0;
constexpr std::size_t kHtype = 1;
constexpr std::size_t kHlen = 2;
constexpr std::size_t kFlags = 10;
constexpr std::size_t kCiaddr = 12;
constexpr std::size_t kGiaddr = 24;
constexpr std::size_t kVendor = 236;
constexpr std::size_t kFirstOption = 240;

}  // namespace

std::vector<std::uint8_t> BuildRequest(const BootpRequest& request) {
    std::vector<std::uint8_t> p(std::max(request.length, kRequestLength), request.filled ? request.fill : 0);
    if (!request.filled) {
        p[kOp] = request.op;
        p[kHtype] = 1;  // Ethernet
        p[kHlen] = kHardwareLength;
        p[kFlags] = static_cast<std::uint8_t>(request.flags >> 8);
        p[kFlags + 1] = static_cast<std::uint8_t>(request.flags & 0xFF);
        std::memcpy(&p[kCiaddr], &request.ciaddr, 4);
        std::memcpy(&p[kGiaddr], &request.giaddr, 4);
        const std::uint8_t cookie[] = {99, 130, 83, 99};
        std::memcpy(&p[kVendor], cookie, sizeof cookie);
        p[kFirstOption] = 255;  // end
    }
    std::memcpy(&p[kXid], request.xid, sizeof request.xid);
    std::memcpy(&p[kChaddr], request.hardware, sizeof request.hardware);
    for (std::size_t i = kRequestLength; i < p.size(); ++i) {
        p[i] = static_cast<std::uint8_t>(i - kRequestLength);
    }
    p.resize(request.length);
    return p;
}

sockaddr_in ServerBroadcast() {
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(kServerPort);
    server.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    return server;
}

int CaptureReplies(const char* mode, int handle, long waitMs, long replies, int& captured) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    captured = 0;
    while (replies == 0 || captured < replies) {
        Datagram reply;
        const int result = ReceiveUntil(handle, deadline, reply);
        if (result < 0) {
            return SocketFailure(mode, "receive on port 68");
        }
        if (result == 0) {
            break;
        }
        PrintDatagram("reply", ++captured, reply, kClientPort);
    }
    return captured >= replies ? kExitDone : kExitShort;
}

}  // namespace peer
