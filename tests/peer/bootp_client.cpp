// The peer as a BOOTP client: it broadcasts requests of a chosen shape from port 68 out of one
// interface, then prints every datagram that reaches it on port 68 until a deadline.
#include <getopt.h>
#include <sys/socket.h>

#include <cstdio>
#include <cstring>
#include <thread>

#include "peer_common.h"
#include "peer_modes.h"

namespace {

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

    peer::BootpRequest request;
    std::string device;
    long count = 1;
    long pauseMs = 0;
    long replies = 0;
    long waitMs = 2000;
    const int parsed = peer::ParseOptions(kMode, kUsage, argc, argv, options, [&](int code) {
        long number = 0;
        bool ok = true;
        switch (code) {
            case kDevice: device = optarg; break;
            case kHardware: ok = peer::ParseHardwareAddress(optarg, request.hardware); break;
            case kXidOption: ok = peer::ParseXid(optarg, request.xid); break;
            case kLength:
                ok = peer::ParseNumber(optarg, 0, peer::kMaxRequestLength, number);
                request.length = static_cast<std::size_t>(number);
                break;
            case kCount: ok = peer::ParseNumber(optarg, 0, peer::kMaxRequests, count); break;
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
        }
        return ok;
    });
    if (parsed != peer::kExitDone) {
        return parsed;
    }
    if (device.empty()) {
        // Broadcasts leave by one named interface only, so that none strays off the test's link.
        return peer::UsageError(kMode, "--device is required", kUsage);
    }

    peer::Socket socket;
    if (!socket.OpenUdp(device, peer::kClientPort, true)) {
        return peer::SocketFailure(kMode, "socket on port 68");
    }
    const std::vector<std::uint8_t> datagram = peer::BuildRequest(request);
    const sockaddr_in server = peer::ServerBroadcast();
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

    int captured = 0;
    const int status = peer::CaptureReplies(kMode, socket.Handle(), waitMs, replies, captured);
    if (status == peer::kExitSocket) {
        return status;
    }
    std::fprintf(stderr, "wrenset-test-peer bootp: %d reply(ies) on %s\n", captured, device.c_str());
    return status;
}
