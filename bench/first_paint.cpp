// Preloaded (LD_PRELOAD) into a GTK program by bench/run.sh: when GTK has drawn the program's
// first frame (gdk_window_end_draw_frame returns for the first time), it writes to the file named
// by WRENSET_BENCH_PAINT_FILE how many microseconds have passed since WRENSET_BENCH_EXEC_US, the
// wall-clock time in microseconds that the launcher noted just before exec.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

extern "C" void gdk_window_end_draw_frame(void* window, void* context) {
    using EndDrawFrame = void (*)(void*, void*);
    static const auto real = reinterpret_cast<EndDrawFrame>(::dlsym(RTLD_NEXT, "gdk_window_end_draw_frame"));
    static bool noted = false;
    real(window, context);
    if (noted) {
        return;
    }
    noted = true;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const char* path = std::getenv("WRENSET_BENCH_PAINT_FILE");
    const char* exec = std::getenv("WRENSET_BENCH_EXEC_US");
    if (path == nullptr || exec == nullptr) {
        return;
    }
    const long long nowUs = static_cast<long long>(now.tv_sec) * 1000000LL + now.tv_nsec / 1000;
    if (FILE* out = std::fopen(path, "w")) {
        std::fprintf(out, "%lld\n", nowUs - std::atoll(exec));
        std::fclose(out);
    }
}
