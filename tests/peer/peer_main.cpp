// wrenset-test-peer: the namespace tests' own controllable peer, run on the unit side. The first
// argument names the mode; each mode has its own options, which any option it does not know
// (--help, say) lists.
#include <cstdio>
#include <cstring>

#include "peer_modes.h"

namespace {

struct Mode {
    const char* name;
    int (*run)(int argc, char** argv);
    const char* summary;
};

constexpr Mode kModes[] = {
    {"bootp", RunBootpClient, "broadcast BOOTP requests from port 68 and print the replies"},
    {"hold", RunHoldPort, "hold a UDP port, as another program would"},
    {"flood", RunFlood, "broadcast a bounded flood of datagrams that do not match, and print the replies"},
};

int Usage(FILE* stream) {
    std::fputs("Usage: wrenset-test-peer MODE [options]\nModes:\n", stream);
    for (const Mode& mode : kModes) {
        std::fprintf(stream, "  %-8s %s\n", mode.name, mode.summary);
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return Usage(stderr);
    }
    for (const Mode& mode : kModes) {
        if (std::strcmp(argv[1], mode.name) == 0) {
            return mode.run(argc - 1, argv + 1);
        }
    }
    return Usage(stderr);
}
