// Preloaded (LD_PRELOAD) into wrenset-cli by the fault tests: every socket() call is made with
// the soft descriptor limit (RLIMIT_NOFILE) lowered to the lowest free descriptor, so that the
// kernel refuses it with EMFILE as it does for a program that has used up its `ulimit -n`; the
// limit goes back up straight after. A low ulimit for the whole run cannot do this to a
// dynamically linked program: the loader needs a free descriptor to open each library, and the
// socket would take that same one. Nor can the limit stay down for the whole run: the sanitizers
// check some calls with the help of a pipe.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <cerrno>

namespace {

int LowestFreeDescriptor() {
    int fd = 0;
    while (::fcntl(fd, F_GETFD) != -1) {
        ++fd;
    }
    return fd;
}

}  // namespace

extern "C" int socket(int domain, int type, int protocol) {
    using SocketCall = int (*)(int, int, int);
    static const auto real = reinterpret_cast<SocketCall>(::dlsym(RTLD_NEXT, "socket"));
    rlimit original{};
    const bool lowered = ::getrlimit(RLIMIT_NOFILE, &original) == 0 &&
                         [&original] {
                             rlimit limit = original;
                             limit.rlim_cur = static_cast<rlim_t>(LowestFreeDescriptor());
                             return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
                         }();
    const int result = real(domain, type, protocol);
    const int error = errno;
    if (lowered) {
        ::setrlimit(RLIMIT_NOFILE, &original);
    }
    errno = error;
    return result;
}
