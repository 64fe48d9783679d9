// Game controllers for the real game, preloaded by tests/pads.sh: stands in for the devices
// /dev/input/js0 to js7 and, with tests/fakeudev.cpp, for libudev's listing and hot-plug monitor,
// so that SFML's own Linux joystick code sees pads that a test plugs in, presses, moves and pulls
// out.
//
// The file that TWINRUN_PADS names takes one command a line, read whenever the library asks about
// joysticks: "plug N", "unplug N", "press N B", "release N B" and "axis N A V" (axis A of pad N to
// V, -32767 to 32767). A pad unplugged is no longer listed, its monitor reports it removed, a new
// open fails and reads of a device opened before fail with ENODEV; plugged in again it is listed
// and reported added. Each run of reads (the library reads until EAGAIN) hands over the changes
// in order but stops before a second change of the same button or axis, so that the library sees
// a press apart from its release however fast the test writes them.
#include "fakepads.hpp"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace fake {

Pad pads[padCount];
std::deque<udev_device> reports;
int monitorPipe[2] = {-1, -1};
std::mutex guard;

} // namespace fake

using namespace fake;

namespace {

// The devices open: descriptor, pad and the pad's generation when opened.
struct Open {
    int fd = -1, pad = 0, generation = 0;
};
Open opened[32];

template <typename F> F next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}
int realOpen(const char* path, int flags, mode_t mode) {
    static const auto f = next<int (*)(const char*, int, ...)>("open");
    return f(path, flags, mode);
}

void report(int pad, const char* action) {
    reports.push_back(udev_device{pad, action});
    if (monitorPipe[1] >= 0 && write(monitorPipe[1], "r", 1) != 1) {
        std::perror("fakepads: hot-plug report");
    }
}

void command(const std::string& line) {
    int pad = -1, number = 0, value = 0;
    char verb[16] = "";
    const int words = std::sscanf(line.c_str(), "%15s %d %d %d", verb, &pad, &number, &value);
    if (words < 2 || pad < 0 || pad >= padCount) {
        std::fprintf(stderr, "fakepads: bad command: %s\n", line.c_str());
        return;
    }
    Pad& p = pads[pad];
    const std::string v = verb;
    if ((v == "plug" || v == "unplug") && p.plugged != (v == "plug")) {
        p.plugged = v == "plug";
        p.generation += 1;
        p.changes.clear();
        p.buttonsRead = p.axesRead = 0;
        report(pad, p.plugged ? "add" : "remove");
    } else if (p.plugged && (v == "press" || v == "release" || v == "axis")) {
        const auto type = static_cast<__u8>(v == "axis" ? JS_EVENT_AXIS : JS_EVENT_BUTTON);
        const int to = v == "axis" ? value : v == "press";
        p.changes.push_back(js_event{0, static_cast<__s16>(to), type, static_cast<__u8>(number)});
    }
}

} // namespace

ssize_t fake::realRead(int fd, void* buffer, size_t size) {
    static const auto f = next<ssize_t (*)(int, void*, size_t)>("read");
    return f(fd, buffer, size);
}

void fake::takeCommands() {
    static int fd = -2;
    static std::string unread;
    if (fd == -2) {
        const char* path = std::getenv("TWINRUN_PADS");
        fd = path ? realOpen(path, O_RDONLY | O_CLOEXEC, 0) : -1;
        for (int pad = 0; pad < padCount; ++pad) {
            std::snprintf(pads[pad].devnode, sizeof pads[pad].devnode, "/dev/input/js%d", pad);
            std::snprintf(pads[pad].syspath, sizeof pads[pad].syspath,
                          "/sys/devices/virtual/input/input%d/js%d", 90 + pad, pad);
        }
    }
    char buffer[512];
    for (ssize_t n; fd >= 0 && (n = realRead(fd, buffer, sizeof buffer)) > 0;) {
        unread.append(buffer, static_cast<size_t>(n));
    }
    for (size_t end; (end = unread.find('\n')) != std::string::npos; unread.erase(0, end + 1)) {
        command(unread.substr(0, end));
    }
}

namespace {

Open* openPad(int fd) {
    for (Open& o : opened) {
        if (o.fd == fd && fd >= 0) {
            return &o;
        }
    }
    return nullptr;
}

// The pad of /dev/input/jsN, or -1 for any other path.
int padOfPath(const char* path) {
    int pad = -1;
    return path && std::sscanf(path, "/dev/input/js%d", &pad) == 1 && pad >= 0 && pad < padCount
               ? pad
               : -1;
}

// Opens pad as a descriptor of /dev/null of its own; fails as a missing node when unplugged.
int openAsPad(int pad) {
    std::lock_guard<std::mutex> lock(guard);
    takeCommands();
    Open* free = nullptr;
    for (Open& o : opened) {
        free = o.fd < 0 ? &o : free;
    }
    if (!pads[pad].plugged || free == nullptr) {
        errno = ENOENT;
        return -1;
    }
    *free = Open{realOpen("/dev/null", O_RDONLY | O_CLOEXEC, 0), pad, pads[pad].generation};
    return free->fd;
}

ssize_t readPad(Open& o, void* buffer, size_t size) {
    takeCommands();
    Pad& p = pads[o.pad];
    if (o.generation != p.generation) {
        errno = ENODEV;
        return -1;
    }
    const js_event* change = p.changes.empty() ? nullptr : &p.changes.front();
    unsigned long long& read = change && change->type == JS_EVENT_AXIS ? p.axesRead : p.buttonsRead;
    const unsigned long long bit = change ? 1ull << (change->number % 64) : 0;
    if (change == nullptr || (read & bit) != 0 || size < sizeof(js_event)) {
        p.buttonsRead = p.axesRead = 0;
        errno = EAGAIN;
        return -1;
    }
    read |= bit;
    std::memcpy(buffer, change, sizeof(js_event));
    p.changes.pop_front();
    return sizeof(js_event);
}

} // namespace

// The calls that SFML 2.5 and 2.6 make on a joystick's device (both import these plain ones);
// every other descriptor and path goes on to the C library.
extern "C" {

int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & (O_CREAT | O_TMPFILE)) != 0) {
        va_list rest;
        va_start(rest, flags);
        mode = static_cast<mode_t>(va_arg(rest, int));
        va_end(rest);
    }
    const int pad = padOfPath(path);
    return pad >= 0 ? openAsPad(pad) : realOpen(path, flags, mode);
}

ssize_t read(int fd, void* buffer, size_t size) {
    {
        std::lock_guard<std::mutex> lock(guard);
        if (Open* o = openPad(fd)) {
            return readPad(*o, buffer, size);
        }
    }
    return realRead(fd, buffer, size);
}

int close(int fd) {
    static const auto realClose = next<int (*)(int)>("close");
    {
        std::lock_guard<std::mutex> lock(guard);
        if (Open* o = openPad(fd)) {
            *o = Open{};
        }
    }
    return realClose(fd);
}

int ioctl(int fd, unsigned long request, ...) {
    va_list rest;
    va_start(rest, request);
    void* argument = va_arg(rest, void*);
    va_end(rest);
    std::unique_lock<std::mutex> lock(guard);
    Open* o = openPad(fd);
    if (o == nullptr) {
        lock.unlock();
        static const auto realIoctl = next<int (*)(int, unsigned long, ...)>("ioctl");
        return realIoctl(fd, request, argument);
    }
    // Two axes, X and Y, and eight buttons.
    if (request == JSIOCGAXES || request == JSIOCGBUTTONS) {
        *static_cast<__u8*>(argument) = request == JSIOCGAXES ? 2 : 8;
    } else if (request == JSIOCGAXMAP) {
        __u8* map = static_cast<__u8*>(argument);
        std::memset(map, 0, _IOC_SIZE(JSIOCGAXMAP));
        map[0] = ABS_X;
        map[1] = ABS_Y;
    } else if (_IOC_TYPE(request) == 'j' && _IOC_NR(request) == _IOC_NR(JSIOCGNAME(0))) {
        std::snprintf(static_cast<char*>(argument), _IOC_SIZE(request), "Test pad %d", o->pad);
    } else {
        errno = EINVAL;
        return -1;
    }
    return 0;
}

} // extern "C"
