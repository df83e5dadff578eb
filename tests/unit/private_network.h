// Runs a test body in a child process that has a network namespace of its own with only its
// loopback up, so that real datagrams can be sent without reaching any other host.
#pragma once

#include <gtest/gtest.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

inline bool EnterPrivateNetwork() {
    if (unshare(CLONE_NEWNET) != 0) {
        return false;
    }
    const int control = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    request.ifr_flags = IFF_UP | IFF_LOOPBACK | IFF_RUNNING;
    const bool up = ioctl(control, SIOCSIFFLAGS, &request) == 0;
    close(control);
    return up;
}

// The body returns true when everything held; it prints what did not.
#define EXPECT_IN_PRIVATE_NETWORK(body)                                                  \
    do {                                                                                 \
        if (geteuid() != 0 && std::getenv("CI") == nullptr) {                            \
            GTEST_SKIP() << "needs root for a private network namespace";                \
        }                                                                                \
        GTEST_FLAG_SET(death_test_style, "threadsafe");                                  \
        EXPECT_EXIT(std::exit(EnterPrivateNetwork() && (body)() ? 0 : 1), testing::ExitedWithCode(0), ""); \
    } while (false)
