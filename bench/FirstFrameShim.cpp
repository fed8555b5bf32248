// Preloaded into a program by the start-up probe: the first buffer swap the
// program makes is passed on to SDL, and once it has returned (the frame is
// presented) the time on the monotonic clock and the process's peak resident
// memory so far are written to the descriptor named by ZIBO_BENCH_REPORT_FD,
// and the process ends at once.
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {
long PeakResidentKilobytes() {
    FILE* status = fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return -1;
    }
    char line[256];
    long kilobytes = -1;
    while (fgets(line, sizeof(line), status) != nullptr) {
        if (sscanf(line, "VmHWM: %ld", &kilobytes) == 1) {
            break;
        }
    }
    fclose(status);
    return kilobytes;
}
}  // namespace

extern "C" void SDL_GL_SwapBuffers() {
    typedef void (*SwapFunction)();
    static SwapFunction realSwap =
        reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    if (realSwap != nullptr) {
        realSwap();
    }
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* descriptor = getenv("ZIBO_BENCH_REPORT_FD");
    if (descriptor != nullptr) {
        char line[64];
        const int length =
            snprintf(line, sizeof(line), "%lld %ld %ld\n", static_cast<long long>(now.tv_sec),
                     static_cast<long>(now.tv_nsec), PeakResidentKilobytes());
        if (write(atoi(descriptor), line, static_cast<size_t>(length)) != length) {
            _exit(3);
        }
    }
    // Nothing after the first picture is being measured.
    _exit(0);
}
