#include "private_loopback.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <net/if.h>
#include <poll.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz_check.h"

namespace {

constexpr int kSkipped = 77;

[[noreturn]] void CannotRun(const char* what) {
    std::fprintf(stderr, "fuzz target: %s: %s\n", what, std::strerror(errno));
    std::exit(std::getenv("CI") != nullptr ? 1 : kSkipped);
}

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

}  // namespace

void EnterPrivateLoopback() {
    if (::unshare(CLONE_NEWNET) != 0) {
        CannotRun("no network namespace of its own");
    }
    const int control = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    request.ifr_flags = IFF_UP | IFF_LOOPBACK | IFF_RUNNING;
    if (control < 0 || ::ioctl(control, SIOCSIFFLAGS, &request) != 0) {
        CannotRun("loopback not up");
    }
    ::close(control);
    cpu_set_t one;
    CPU_ZERO(&one);
    if (::sched_getaffinity(0, sizeof one, &one) == 0) {
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
            if (CPU_ISSET(cpu, &one)) {
                CPU_ZERO(&one);
                CPU_SET(cpu, &one);
                break;
            }
        }
    }
    if (::sched_setaffinity(0, sizeof one, &one) != 0) {
        CannotRun("cannot keep to one processor");
    }
}

LoopbackPeer::LoopbackPeer() : m_handle(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    FUZZ_CHECK(m_handle >= 0);
    sockaddr_in local = Loopback(0);
    FUZZ_CHECK(::bind(m_handle, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0);
    socklen_t length = sizeof local;
    FUZZ_CHECK(::getsockname(m_handle, reinterpret_cast<sockaddr*>(&local), &length) == 0);
    m_port = ntohs(local.sin_port);
}

LoopbackPeer::~LoopbackPeer() { ::close(m_handle); }

void LoopbackPeer::SendTo(int port, const std::uint8_t* data, std::size_t size) {
    const sockaddr_in to = Loopback(port);
    FUZZ_CHECK(::sendto(m_handle, data, size, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) ==
               static_cast<ssize_t>(size));
}

void LoopbackPeer::Settle() {
    const std::uint8_t marker = 0;
    SendTo(m_port, &marker, 1);
    pollfd watched{m_handle, POLLIN, 0};
    FUZZ_CHECK(::poll(&watched, 1, 5000) == 1);
    std::uint8_t received;
    FUZZ_CHECK(::recv(m_handle, &received, 1, 0) == 1);
}

CapturedStdout::CapturedStdout() : m_memory(::memfd_create("stdout", MFD_CLOEXEC)) {
    FUZZ_CHECK(m_memory >= 0);
    std::fflush(stdout);
    FUZZ_CHECK(::dup2(m_memory, STDOUT_FILENO) == STDOUT_FILENO);
}

std::string CapturedStdout::Take() {
    std::fflush(stdout);
    struct stat written {};
    FUZZ_CHECK(::fstat(m_memory, &written) == 0);
    std::string text(static_cast<std::size_t>(written.st_size), '\0');
    FUZZ_CHECK(::pread(m_memory, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size()));
    FUZZ_CHECK(::ftruncate(m_memory, 0) == 0);
    FUZZ_CHECK(::lseek(STDOUT_FILENO, 0, SEEK_SET) == 0);
    return text;
}

int OpenDescriptors() {
    int count = 0;
    DIR* dir = ::opendir("/proc/self/fd");
    FUZZ_CHECK(dir != nullptr);
    while (::readdir(dir) != nullptr) {
        ++count;
    }
    ::closedir(dir);
    return count;
}
