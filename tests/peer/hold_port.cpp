// The peer as another program holding a UDP port: it binds 0.0.0.0:PORT, says so, and keeps the
// port until it is stopped or its time is up.
#include <getopt.h>

#include <cstdio>
#include <string>
#include <thread>

#include "peer_common.h"
#include "peer_modes.h"

namespace {

constexpr char kUsage[] =
    "Usage: wrenset-test-peer hold --port PORT [--seconds S]\n"
    "  Binds a UDP socket to 0.0.0.0:PORT, prints \"holding UDP port PORT\" on standard output\n"
    "  and keeps it for S seconds (30, at most 120), or until stopped by a signal.\n";

}  // namespace

int RunHoldPort(int argc, char** argv) {
    constexpr const char* kMode = "hold";
    enum { kPort = 1, kSeconds };
    const option options[] = {{"port", required_argument, nullptr, kPort},
                              {"seconds", required_argument, nullptr, kSeconds},
                              {nullptr, 0, nullptr, 0}};
    long port = 0;
    long seconds = 30;
    const int parsed = peer::ParseOptions(kMode, kUsage, argc, argv, options, [&](int code) {
        switch (code) {
            case kPort: return peer::ParseNumber(optarg, 1, 65535, port);
            case kSeconds: return peer::ParseNumber(optarg, 0, peer::kMaxWaitMilliseconds / 1000, seconds);
        }
        return true;
    });
    if (parsed != peer::kExitDone) {
        return parsed;
    }
    if (port == 0) {
        return peer::UsageError(kMode, "--port is required", kUsage);
    }
    peer::Socket socket;
    if (!socket.OpenUdp("", static_cast<int>(port), false)) {
        return peer::SocketFailure(kMode, "bind");
    }
    std::printf("holding UDP port %ld\n", port);
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    return peer::kExitDone;
}
