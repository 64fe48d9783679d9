// A probe preloaded into the game by scripts/measure: writes one line to the file named by
// TWINRUN_PROBE_LOG when the game hands a frame to the driver ("present <ns>"), when the
// driver has shown it ("frame <ns>"), and for every opening of a file under src/
// ("open <ns> <path>"), with the wall clock in nanoseconds. The game knows
// nothing of it; it wraps the C library's and GLX's entry points and calls the real ones.
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

using OpenFn = int (*)(const char*, int, ...);
using OpenAtFn = int (*)(int, const char*, int, ...);
using FopenFn = FILE* (*)(const char*, const char*);
using SwapFn = void (*)(Display*, GLXDrawable);

// The log's descriptor; -1 when no log was asked for.
int logFd = -1;

template <typename Fn> Fn real(const char* name) {
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

long long wallClockNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

void writeLine(const char* kind, const char* path) {
    if (logFd < 0) {
        return;
    }
    char line[512];
    const int length =
        path == nullptr
            ? std::snprintf(line, sizeof line, "%s %lld\n", kind, wallClockNs())
            : std::snprintf(line, sizeof line, "%s %lld %.400s\n", kind, wallClockNs(), path);
    if (length > 0) {
        [[maybe_unused]] const ssize_t written = write(logFd, line, static_cast<size_t>(length));
    }
}

// The game reads its assets from src/ below its working directory.
void noteOpen(const char* path) {
    if (path != nullptr && (std::strncmp(path, "src/", 4) == 0 || std::strstr(path, "/src/"))) {
        writeLine("open", path);
    }
}

__attribute__((constructor)) void startProbe() {
    const char* path = std::getenv("TWINRUN_PROBE_LOG");
    if (path != nullptr && *path != '\0') {
        logFd = real<OpenFn>("open")(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    }
}

} // namespace

// Reads the mode argument of open and openat into `mode`; it follows the flags only when a
// file may be created.
#define TAKE_MODE(flags)                                                                           \
    mode_t mode = 0;                                                                               \
    if (((flags) & (O_CREAT | O_TMPFILE)) != 0) {                                                  \
        va_list args;                                                                              \
        va_start(args, flags);                                                                     \
        mode = static_cast<mode_t>(va_arg(args, int));                                             \
        va_end(args);                                                                              \
    }

extern "C" {

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static const SwapFn swap = real<SwapFn>("glXSwapBuffers");
    writeLine("present", nullptr);
    swap(display, drawable);
    writeLine("frame", nullptr);
}

int open(const char* path, int flags, ...) {
    TAKE_MODE(flags);
    static const OpenFn next = real<OpenFn>("open");
    noteOpen(path);
    return next(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    TAKE_MODE(flags);
    static const OpenFn next = real<OpenFn>("open64");
    noteOpen(path);
    return next(path, flags, mode);
}

int openat(int dir, const char* path, int flags, ...) {
    TAKE_MODE(flags);
    static const OpenAtFn next = real<OpenAtFn>("openat");
    noteOpen(path);
    return next(dir, path, flags, mode);
}

int openat64(int dir, const char* path, int flags, ...) {
    TAKE_MODE(flags);
    static const OpenAtFn next = real<OpenAtFn>("openat64");
    noteOpen(path);
    return next(dir, path, flags, mode);
}

FILE* fopen(const char* path, const char* mode) {
    noteOpen(path);
    static const FopenFn next = real<FopenFn>("fopen");
    return next(path, mode);
}

FILE* fopen64(const char* path, const char* mode) {
    noteOpen(path);
    static const FopenFn next = real<FopenFn>("fopen64");
    return next(path, mode);
}

} // extern "C"
