// The peer as a BOOTP client: it broadcasts requests of a chosen shape from port 68 out of one
// interface, then prints every datagram that reaches it on port 68 until a deadline.
#include <arpa/inet.h>
#include <getopt.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>

#include "peer_common.h"
#include "peer_modes.h"

namespace {

constexpr int kServerPort = 67;
constexpr int kClientPort = 68;
constexpr std::size_t kRequestLength = 300;
constexpr std::size_t kMaxLength = 1500;
constexpr long kMaxCount = 1000;

// Request offsets (the BOOTP layout; the server reads only xid and chaddr).
constexpr std::size_t kOp = 0;
constexpr std::size_t kHtype = 1;
constexpr std::size_t kHlen = 2;
constexpr std::size_t kXid = 4;
constexpr std::size_t kFlags = 10;
constexpr std::size_t kCiaddr = 12;
constexpr std::size_t kGiaddr = 24;
constexpr std::size_t kChaddr = 28;
constexpr std::size_t kVendor = 236;
constexpr std::size_t kFirstOption = 240;

constexpr char kUsage[] =
    "Usage: wrenset-test-peer bootp --device IFACE [options]\n"
    "  Broadcasts COUNT requests to 255.255.255.255:67 from port 68 out of IFACE, PAUSE ms apart,\n"
    "  then prints each datagram arriving on port 68 of IFACE, one line each:\n"
    "    reply N from A:P to A:68 on IFACE length L HEX\n"
    "  until REPLIES have come (0: no limit) or WAIT ms after the last request have passed.\n"
    "Options:\n"
    "  --hw HH:HH:HH:HH:HH:HH  bytes 28..33, the client hardware address (02:00:00:00:00:01)\n"
    "  --xid XXXXXXXX          bytes 4..7 in wire order, eight hex digits (12345678)\n"
    "  --length N              datagram length, 0..1500 (300); shorter cuts the layout off\n"
    "  --count N               requests to send, 0..1000 (1); 0 only listens\n"
    "  --pause-ms MS           pause between requests (0)\n"
    "  --op N                  byte 0 (1, BOOTREQUEST)\n"
    "  --flags XXXX            bytes 10..11, four hex digits (0000; 8000 asks for broadcast)\n"
    "  --ciaddr A, --giaddr A  bytes 12..15 and 24..27 (0.0.0.0)\n"
    "  --fill BYTE             every byte but xid and chaddr is BYTE, no BOOTP layout\n"
    "  --replies N             stop after N replies (0)\n"
    "  --wait-ms MS            listening time after the last request (2000)\n"
    "Bytes past 300 count up from 0 (byte 300 is 0x00, 301 is 0x01, ...).\n"
    "Exit status: 0 done (REPLIES came, or REPLIES is 0), 1 fewer replies came, 2 usage, 3 socket failure.\n";

struct Request {
    std::uint8_t hardware[6] = {0x02, 0x00, 0x00, 0x00, 0x00, 0x01};
    std::uint8_t xid[4] = {0x12, 0x34, 0x56, 0x78};
    std::size_t length = kRequestLength;
    std::uint8_t op = 1;
    std::uint16_t flags = 0;
    in_addr_t ciaddr = 0;
    in_addr_t giaddr = 0;
    bool filled = false;
    std::uint8_t fill = 0;
};

std::vector<std::uint8_t> BuildRequest(const Request& request) {
    std::vector<std::uint8_t> p(std::max(request.length, kRequestLength), request.filled ? request.fill : 0);
    if (!request.filled) {
        p[kOp] = request.op;
        p[kHtype] = 1;  // Ethernet
        p[kHlen] = 6;
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

}  // namespace

int RunBootpClient(int argc, char** argv) {
    constexpr const char* kMode = "bootp";
    enum { kDevice = 1, kHardware, kXidOption, kLength, kCount, kPause, kOpOption, kFlagsOption, kCiaddrOption,
           kGiaddrOption, kFill, kReplies, kWait };
    const option options[] = {
        {"device", required_argument, nullptr, kDevice},    {"hw", required_argument, nullptr, kHardware},
        {"xid", required_argument, nullptr, kXidOption},    {"length", required_argument, nullptr, kLength},
        {"count", required_argument, nullptr, kCount},      {"pause-ms", required_argument, nullptr, kPause},
        {"op", required_argument, nullptr, kOpOption},      {"flags", required_argument, nullptr, kFlagsOption},
        {"ciaddr", required_argument, nullptr, kCiaddrOption}, {"giaddr", required_argument, nullptr, kGiaddrOption},
        {"fill", required_argument, nullptr, kFill},        {"replies", required_argument, nullptr, kReplies},
        {"wait-ms", required_argument, nullptr, kWait},     {nullptr, 0, nullptr, 0}};

    Request request;
    std::string device;
    long count = 1;
    long pauseMs = 0;
    long replies = 0;
    long waitMs = 2000;
    opterr = 0;
    optind = 1;
    int code;
    while ((code = getopt_long(argc, argv, "+", options, nullptr)) != -1) {
        long number = 0;
        std::uint32_t word = 0;
        bool ok = true;
        switch (code) {
            case kDevice: device = optarg; break;
            case kHardware: ok = peer::ParseHardwareAddress(optarg, request.hardware); break;
            case kXidOption:
                ok = peer::ParseHex32(optarg, word);
                word = htonl(word);
                std::memcpy(request.xid, &word, sizeof word);
                break;
            case kLength:
                ok = peer::ParseNumber(optarg, 0, kMaxLength, number);
                request.length = static_cast<std::size_t>(number);
                break;
            case kCount: ok = peer::ParseNumber(optarg, 0, kMaxCount, count); break;
            case kPause: ok = peer::ParseNumber(optarg, 0, 10000, pauseMs); break;
            case kOpOption:
                ok = peer::ParseNumber(optarg, 0, 255, number);
                request.op = static_cast<std::uint8_t>(number);
                break;
            case kFlagsOption:
                ok = std::strlen(optarg) == 4 && peer::ParseNumber((std::string("0x") + optarg).c_str(), 0, 0xFFFF, number);
                request.flags = static_cast<std::uint16_t>(number);
                break;
            case kCiaddrOption: ok = peer::ParseIpv4(optarg, request.ciaddr); break;
            case kGiaddrOption: ok = peer::ParseIpv4(optarg, request.giaddr); break;
            case kFill:
                ok = peer::ParseNumber(optarg, 0, 255, number);
                request.filled = true;
                request.fill = static_cast<std::uint8_t>(number);
                break;
            case kReplies: ok = peer::ParseNumber(optarg, 0, 1000, replies); break;
            case kWait: ok = peer::ParseNumber(optarg, 0, peer::kMaxWaitMilliseconds, waitMs); break;
            default: return peer::UsageError(kMode, std::string("unknown option '") + argv[optind - 1] + "'", kUsage);
        }
        if (!ok) {
            return peer::UsageError(kMode, std::string("bad value '") + optarg + "'", kUsage);
        }
    }
    if (optind < argc) {
        return peer::UsageError(kMode, std::string("unexpected argument '") + argv[optind] + "'", kUsage);
    }
    if (device.empty()) {
        // Broadcasts leave by one named interface only, so that none strays off the test's link.
        return peer::UsageError(kMode, "--device is required", kUsage);
    }

    peer::Socket socket;
    if (!socket.OpenUdp(device, kClientPort, true)) {
        return peer::SocketFailure(kMode, "socket on port 68");
    }
    const std::vector<std::uint8_t> datagram = BuildRequest(request);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(kServerPort);
    server.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    for (long sent = 0; sent < count; ++sent) {
        if (sent > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        }
        if (::sendto(socket.Handle(), datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&server),
                     sizeof server) != static_cast<ssize_t>(datagram.size())) {
            return peer::SocketFailure(kMode, "sendto 255.255.255.255:67");
        }
    }
    std::fprintf(stderr, "wrenset-test-peer bootp: sent %ld request(s) of %zu bytes on %s\n", count, datagram.size(),
                 device.c_str());

    const peer::Clock::time_point deadline = peer::Clock::now() + std::chrono::milliseconds(waitMs);
    int captured = 0;
    while (replies == 0 || captured < replies) {
        peer::Datagram reply;
        const int result = peer::ReceiveUntil(socket.Handle(), deadline, reply);
        if (result < 0) {
            return peer::SocketFailure(kMode, "receive on port 68");
        }
        if (result == 0) {
            break;
        }
        peer::PrintDatagram("reply", ++captured, reply, kClientPort);
    }
    std::fprintf(stderr, "wrenset-test-peer bootp: %d reply(ies) on %s\n", captured, device.c_str());
    return captured >= replies ? peer::kExitDone : peer::kExitShort;
}
