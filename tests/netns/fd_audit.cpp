// Preloaded (LD_PRELOAD) into wrenset-cli by the namespace tests. It notes which descriptors are
// open when the program starts and, when it exits, writes to the file named by WRENSET_FD_AUDIT
// one line "fd N -> TARGET" for each descriptor opened since and still open, then "end". It runs
// after the program's own static objects are gone, so whatever it lists was never closed.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kTracked = 4096;
bool g_openAtStart[kTracked];

// Calls visit(fd) for every open descriptor but the one that reads the list.
template <typename Visit>
void ForEachOpenDescriptor(Visit visit) {
    DIR* listing = ::opendir("/proc/self/fd");
    if (listing == nullptr) {
        return;
    }
    const int own = ::dirfd(listing);
    while (const dirent* entry = ::readdir(listing)) {
        char* end = nullptr;
        const long fd = std::strtol(entry->d_name, &end, 10);
        if (end != entry->d_name && *end == '\0' && fd != own) {
            visit(static_cast<int>(fd));
        }
    }
    ::closedir(listing);
}

__attribute__((constructor)) void NoteOpenAtStart() {
    ForEachOpenDescriptor([](int fd) {
        if (fd < kTracked) {
            g_openAtStart[fd] = true;
        }
    });
}

__attribute__((destructor)) void ReportOpenAtExit() {
    const char* path = std::getenv("WRENSET_FD_AUDIT");
    if (path == nullptr) {
        return;
    }
    char report[8192];
    int used = 0;
    ForEachOpenDescriptor([&](int fd) {
        if (fd < kTracked && g_openAtStart[fd]) {
            return;
        }
        char link[64];
        char target[256] = {};
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        if (::readlink(link, target, sizeof target - 1) < 0) {
            target[0] = '?';
        }
        const int left = static_cast<int>(sizeof report) - used;
        const int wrote = std::snprintf(report + used, static_cast<std::size_t>(left), "fd %d -> %s\n", fd, target);
        if (wrote > 0 && wrote < left) {
            used += wrote;
        }
    });
    const int out = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        return;
    }
    const int wrote = std::snprintf(report + used, sizeof report - static_cast<std::size_t>(used), "end\n");
    if (wrote > 0) {
        used += wrote;
    }
    if (::write(out, report, static_cast<std::size_t>(used)) < 0) {
        std::perror("fd_audit: write");
    }
    ::close(out);
}

}  // namespace
