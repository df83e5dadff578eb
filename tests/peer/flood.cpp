// The peer as a crowd of BOOTP clients: it broadcasts a bounded flood of datagrams that must not
// match the unit (a mix of requests for other units, requests cut short, over-long ones and
// random bytes), with the unit's own request placed anywhere in it, then prints every datagram
// that reaches it on port 68 until a deadline.
#include <getopt.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <thread>

#include "peer_common.h"
#include "peer_modes.h"

namespace {

using peer::kChaddr;
using peer::kHardwareLength;
using peer::kRequestLength;

constexpr char kUsage[] =
    "Usage: wrenset-test-peer flood --device IFACE --hw HH:HH:HH:HH:HH:HH [options]\n"
    "  Broadcasts COUNT datagrams to 255.255.255.255:67 from port 68 out of IFACE, PAUSE ms apart,\n"
    "  none of which can match HW, in a cycle of four kinds:\n"
    "    other   a 300-byte request for another unit (HW with its last byte inverted)\n"
    "    short   HW's request cut to 33 bytes: its hardware address lacks the last byte\n"
    "    long    a request for another unit of 301 to 1500 bytes\n"
    "    random  0 to 1500 random bytes whose byte 28, if any, differs from HW's first\n"
    "  With --match-after N, HW's 300-byte request with xid XID goes out after the Nth of them.\n"
    "  Prints one line per datagram sent, \"sent I KIND LENGTH\" (I from 1, the match included),\n"
    "  then each datagram arriving on port 68 of IFACE, \"reply N from A:P to A:68 on IFACE\n"
    "  length L HEX\", until REPLIES have come (0: no limit) or WAIT ms after the last send.\n"
    "Options:\n"
    "  --count N          datagrams that do not match, 0..1000 (1000)\n"
    "  --pause-ms MS      pause between datagrams, 0..100 (0)\n"
    "  --match-after N    send HW's request after the Nth datagram, 0..COUNT (none)\n"
    "  --xid XXXXXXXX     the matching request's bytes 4..7 in wire order (12345678)\n"
    "  --seed N           seed of the random kind (1)\n"
    "  --replies N        stop after N replies (0)\n"
    "  --wait-ms MS       listening time after the last datagram (2000)\n"
    "Exit status: 0 done (REPLIES came, or REPLIES is 0), 1 fewer replies came, 2 usage, 3 socket failure.\n";

struct FloodDatagram {
    const char* kind;
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> Request(const std::uint8_t* hardware, std::size_t length, const std::uint8_t* xid) {
    peer::BootpRequest request;
    std::memcpy(request.hardware, hardware, kHardwareLength);
    std::memcpy(request.xid, xid, sizeof request.xid);
    request.length = length;
    return peer::BuildRequest(request);
}

// The ith datagram (from 0) of the flood.
FloodDatagram NonMatching(long i, const std::uint8_t* hardware, std::mt19937& random) {
    const std::uint8_t xid[4] = {0xF1, 0x00, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
    std::uint8_t other[kHardwareLength];
    std::memcpy(other, hardware, kHardwareLength);
    other[kHardwareLength - 1] = static_cast<std::uint8_t>(~other[kHardwareLength - 1]);
    switch (i % 4) {
        case 0: return {"other", Request(other, kRequestLength, xid)};
        case 1: return {"short", Request(hardware, kChaddr + kHardwareLength - 1, xid)};
        case 2: return {"long", Request(other, kRequestLength + 1 + static_cast<std::size_t>(i * 37) % 1200, xid)};
        default: {
            std::vector<std::uint8_t> bytes(random() % (peer::kMaxRequestLength + 1));
            for (std::uint8_t& byte : bytes) {
                byte = static_cast<std::uint8_t>(random());
            }
            if (bytes.size() > kChaddr && bytes[kChaddr] == hardware[0]) {
                bytes[kChaddr] = static_cast<std::uint8_t>(~hardware[0]);
            }
            return {"random", bytes};
        }
    }
}

// Sends one datagram. A full queue on the way (ENOBUFS) is waited out for a while rather than
// taken as a lost datagram, so that every line "sent" stands for a datagram that left.
bool Send(int handle, const std::vector<std::uint8_t>& bytes, const sockaddr_in& to) {
    constexpr int kTries = 100;
    for (int tried = 1;; ++tried) {
        if (::sendto(handle, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) ==
            static_cast<ssize_t>(bytes.size())) {
            return true;
        }
        if (errno != ENOBUFS || tried == kTries) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace

int RunFlood(int argc, char** argv) {
    constexpr const char* kMode = "flood";
    enum { kDevice = 1, kHardware, kCount, kPause, kMatchAfter, kXidOption, kSeed, kReplies, kWait };
    const option options[] = {
        {"device", required_argument, nullptr, kDevice},    {"hw", required_argument, nullptr, kHardware},
        {"count", required_argument, nullptr, kCount},      {"pause-ms", required_argument, nullptr, kPause},
        {"match-after", required_argument, nullptr, kMatchAfter}, {"xid", required_argument, nullptr, kXidOption},
        {"seed", required_argument, nullptr, kSeed},        {"replies", required_argument, nullptr, kReplies},
        {"wait-ms", required_argument, nullptr, kWait},     {nullptr, 0, nullptr, 0}};

    std::string device;
    std::uint8_t hardware[kHardwareLength];
    bool haveHardware = false;
    std::uint8_t xid[4] = {0x12, 0x34, 0x56, 0x78};
    long count = peer::kMaxRequests;
    long pauseMs = 0;
    long matchAfter = -1;
    long seed = 1;
    long replies = 0;
    long waitMs = 2000;
    const int parsed = peer::ParseOptions(kMode, kUsage, argc, argv, options, [&](int code) {
        bool ok = true;
        switch (code) {
            case kDevice: device = optarg; break;
            case kHardware: ok = haveHardware = peer::ParseHardwareAddress(optarg, hardware); break;
            case kCount: ok = peer::ParseNumber(optarg, 0, peer::kMaxRequests, count); break;
            case kPause: ok = peer::ParseNumber(optarg, 0, 100, pauseMs); break;
            case kMatchAfter: ok = peer::ParseNumber(optarg, 0, peer::kMaxRequests, matchAfter); break;
            case kXidOption: ok = peer::ParseXid(optarg, xid); break;
            case kSeed: ok = peer::ParseNumber(optarg, 0, 0x7FFFFFFF, seed); break;
            case kReplies: ok = peer::ParseNumber(optarg, 0, 1000, replies); break;
            case kWait: ok = peer::ParseNumber(optarg, 0, peer::kMaxWaitMilliseconds, waitMs); break;
        }
        return ok;
    });
    if (parsed != peer::kExitDone) {
        return parsed;
    }
    if (device.empty() || !haveHardware) {
        // Broadcasts leave by one named interface only, so that none strays off the test's link.
        return peer::UsageError(kMode, "--device and --hw are required", kUsage);
    }
    if (matchAfter > count) {
        return peer::UsageError(kMode, "--match-after exceeds --count", kUsage);
    }

    peer::Socket socket;
    if (!socket.OpenUdp(device, peer::kClientPort, true)) {
        return peer::SocketFailure(kMode, "socket on port 68");
    }
    const sockaddr_in server = peer::ServerBroadcast();
    std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
    int number = 0;
    for (long i = 0; i <= count; ++i) {
        std::vector<FloodDatagram> now;
        if (i == matchAfter) {
            now.push_back({"match", Request(hardware, kRequestLength, xid)});
        }
        if (i < count) {
            now.push_back(NonMatching(i, hardware, random));
        }
        for (const FloodDatagram& datagram : now) {
            if (number > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
            }
            if (!Send(socket.Handle(), datagram.bytes, server)) {
                return peer::SocketFailure(kMode, "sendto 255.255.255.255:67");
            }
            std::printf("sent %d %s %zu\n", ++number, datagram.kind, datagram.bytes.size());
        }
    }
    std::fflush(stdout);

    int captured = 0;
    const int status = peer::CaptureReplies(kMode, socket.Handle(), waitMs, replies, captured);
    if (status == peer::kExitSocket) {
        return status;
    }
    std::fprintf(stderr, "wrenset-test-peer flood: %d datagram(s) sent, %d reply(ies) on %s\n", number, captured,
                 device.c_str());
    return status;
}
