// Game controllers for the real game, preloaded by tests/pads.sh: stands in for the devices
// /dev/input/js0 to js7 and for libudev's listing of them, so that SFML's own Linux joystick code
// sees pads that a test plugs in, presses, moves and pulls out.
//
// The file that TWINRUN_PADS names takes one command a line, read whenever the library asks about
// joysticks: "plug N", "unplug N", "press N B", "release N B" and "axis N A V" (axis A of pad N to
// V, -32767 to 32767). A pad unplugged is no longer listed, a new open fails and reads of a device
// opened before fail with ENODEV; plugged in again it is listed. The hot-plug monitor is always
// readable and hands over no report, after which the library lists the pads anew: so it does at
// every look. Each run of reads (the library reads until EAGAIN) hands over the changes in order
// but stops before a second change of the same button or axis, so that the library sees a press
// apart from its release however fast the test writes them.
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/joystick.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <tuple>
#include <utility>

// libudev's objects, opaque to the library; a device is a pad.
struct udev {};
struct udev_list_entry {
    const char* name;
    udev_list_entry* next;
};
struct udev_device {
    int pad;
};

namespace {

constexpr int padCount = 8;
// Each pad's device node, which is its system path too.
const char* const nodes[padCount] = {"/dev/input/js0", "/dev/input/js1", "/dev/input/js2",
                                     "/dev/input/js3", "/dev/input/js4", "/dev/input/js5",
                                     "/dev/input/js6", "/dev/input/js7"};
udev_device devices[padCount] = {{0}, {1}, {2}, {3}, {4}, {5}, {6}, {7}};

struct Pad {
    bool plugged = false;
    // Changes at every plug and unplug: a device opened in an earlier one is gone.
    int generation = 0;
    std::deque<js_event> changes;
    // The buttons (bit n for number n) and axes (bit 32 + n) changed in the run of reads under
    // way.
    unsigned long long changed = 0;
};
Pad pads[padCount];
udev context;
// For each descriptor opened as a pad (one of /dev/null of its own): the pad + 1 (0 for none),
// and the pad's generation then. The library asks about joysticks from one thread; descriptors
// of other threads are never pads.
int padOf[1024], generationOf[1024];
bool isPad(int fd) {
    return fd >= 0 && fd < 1024 && padOf[fd] > 0;
}

template <typename F> F next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}
int realOpen(const char* path, int flags, mode_t mode) {
    static const auto f = next<int (*)(const char*, int, ...)>("open");
    return f(path, flags, mode);
}
ssize_t realRead(int fd, void* buffer, size_t size) {
    static const auto f = next<ssize_t (*)(int, void*, size_t)>("read");
    return f(fd, buffer, size);
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
        p = Pad{v == "plug", p.generation + 1, {}, 0};
    } else if (p.plugged && (v == "press" || v == "release" || v == "axis")) {
        const auto type = static_cast<__u8>(v == "axis" ? JS_EVENT_AXIS : JS_EVENT_BUTTON);
        const int to = v == "axis" ? value : v == "press";
        p.changes.push_back(js_event{0, static_cast<__s16>(to), type, static_cast<__u8>(number)});
    }
}

// Takes the commands written since the last call.
void takeCommands() {
    static const char* path = std::getenv("TWINRUN_PADS");
    static const int fd = path ? realOpen(path, O_RDONLY | O_CLOEXEC, 0) : -1;
    static std::string unread;
    char buffer[512];
    for (ssize_t n; fd >= 0 && (n = realRead(fd, buffer, sizeof buffer)) > 0;) {
        unread.append(buffer, static_cast<size_t>(n));
    }
    for (size_t end; (end = unread.find('\n')) != std::string::npos; unread.erase(0, end + 1)) {
        command(unread.substr(0, end));
    }
}

// The pad of /dev/input/jsN, or -1 for any other path.
int padOfPath(const char* path) {
    int pad = -1;
    return std::sscanf(path, "/dev/input/js%d", &pad) == 1 && pad >= 0 && pad < padCount ? pad : -1;
}
udev_device* deviceOf(const char* path) {
    return padOfPath(path) < 0 ? nullptr : &devices[padOfPath(path)];
}

int monitorFd() {
    static const int fd = realOpen("/dev/null", O_RDONLY | O_CLOEXEC, 0);
    return fd;
}

// Lists the pads plugged in now, in order of number.
udev_list_entry* listPlugged() {
    static udev_list_entry listed[padCount];
    udev_list_entry* first = nullptr;
    takeCommands();
    for (int pad = padCount - 1; pad >= 0; --pad) {
        if (pads[pad].plugged) {
            listed[pad] = udev_list_entry{nodes[pad], first};
            first = &listed[pad];
        }
    }
    return first;
}

// A joystick of the open hardware's test vendor and model, with no USB parent.
const char* property(const std::string& key) {
    return key == "ID_INPUT_JOYSTICK" ? "1"
           : key == "ID_VENDOR_ID"    ? "1209"
           : key == "ID_MODEL_ID"     ? "0001"
                                      : nullptr;
}

ssize_t readPad(int fd, void* buffer, size_t size) {
    takeCommands();
    Pad& p = pads[padOf[fd] - 1];
    if (generationOf[fd] != p.generation) {
        errno = ENODEV;
        return -1;
    }
    const js_event change = p.changes.empty() ? js_event{} : p.changes.front();
    const auto bit = 1ull << (change.number % 32 + (change.type == JS_EVENT_AXIS ? 32 : 0));
    if (p.changes.empty() || (p.changed & bit) != 0 || size < sizeof(js_event)) {
        p.changed = 0;
        errno = EAGAIN;
        return -1;
    }
    p.changed |= bit;
    std::memcpy(buffer, &change, sizeof(js_event));
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
    if (pad < 0) {
        return realOpen(path, flags, mode);
    }
    takeCommands();
    const int fd = pads[pad].plugged ? realOpen("/dev/null", O_RDONLY | O_CLOEXEC, 0) : -1;
    if (fd < 0 || fd >= 1024) {
        errno = ENOENT;
        return -1;
    }
    std::tie(padOf[fd], generationOf[fd]) = std::pair(pad + 1, pads[pad].generation);
    return fd;
}

ssize_t read(int fd, void* buffer, size_t size) {
    return isPad(fd) ? readPad(fd, buffer, size) : realRead(fd, buffer, size);
}

int close(int fd) {
    static const auto realClose = next<int (*)(int)>("close");
    if (isPad(fd)) {
        padOf[fd] = 0;
    }
    return realClose(fd);
}

int ioctl(int fd, unsigned long request, ...) {
    va_list rest;
    va_start(rest, request);
    void* argument = va_arg(rest, void*);
    va_end(rest);
    if (!isPad(fd)) {
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
        std::snprintf(static_cast<char*>(argument), _IOC_SIZE(request), "Test pad %d",
                      padOf[fd] - 1);
    } else {
        errno = EINVAL;
        return -1;
    }
    return 0;
}

// libudev as far as the library asks it, each call one answer: the context stands for the
// monitor and the listing too, and configuring or releasing them does nothing. The monitor's
// descriptor (/dev/null) is readable at every look, with no report to receive.
#define ANSWER(type, name, parameters, answer)                                                     \
    type name parameters {                                                                         \
        return answer;                                                                             \
    }
ANSWER(udev*, udev_new, (), &context)
ANSWER(udev*, udev_monitor_new_from_netlink, (udev*, const char*), &context)
ANSWER(int, udev_monitor_filter_add_match_subsystem_devtype, (udev*, const char*, const char*), 0)
ANSWER(int, udev_monitor_enable_receiving, (udev*), 0)
ANSWER(int, udev_monitor_get_fd, (udev*), monitorFd())
ANSWER(udev_device*, udev_monitor_receive_device, (udev*), nullptr)
ANSWER(udev*, udev_enumerate_new, (udev*), &context)
ANSWER(int, udev_enumerate_add_match_subsystem, (udev*, const char*), 0)
ANSWER(int, udev_enumerate_scan_devices, (udev*), 0)
ANSWER(udev_list_entry*, udev_enumerate_get_list_entry, (udev*), listPlugged())
ANSWER(const char*, udev_list_entry_get_name, (udev_list_entry * entry), entry->name)
ANSWER(udev_list_entry*, udev_list_entry_get_next, (udev_list_entry * entry), entry->next)
ANSWER(udev_device*, udev_device_new_from_syspath, (udev*, const char* path), deviceOf(path))
ANSWER(const char*, udev_device_get_devnode, (udev_device * device), nodes[device->pad])
ANSWER(const char*, udev_device_get_syspath, (udev_device * device), nodes[device->pad])
ANSWER(const char*, udev_device_get_property_value, (udev_device*, const char* key), property(key))
ANSWER(udev_device*, udev_device_get_parent_with_subsystem_devtype,
       (udev_device*, const char*, const char*), nullptr)
ANSWER(udev*, udev_unref, (udev*), nullptr)
ANSWER(udev*, udev_monitor_unref, (udev*), nullptr)
ANSWER(udev*, udev_enumerate_unref, (udev*), nullptr)
ANSWER(udev_device*, udev_device_unref, (udev_device*), nullptr)

} // extern "C"
