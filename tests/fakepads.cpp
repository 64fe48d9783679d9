// Game controllers for the real game, preloaded by tests/pads.sh: stands in for the devices
// /dev/input/js0 and js1 and for libudev's listing of them, so that SFML's own Linux joystick code
// sees pads that a test plugs in, presses, moves and pulls out.
//
// The file that TWINRUN_PADS names takes one command a line, read whenever the library asks about
// joysticks: "plug N", "unplug N", "press N B", "release N B" and "axis N A V" (axis A of pad N to
// V, -32767 to 32767). A pad unplugged is no longer listed, and opens and reads of it fail with
// ENODEV, which is how the library learns that it went. There is no hot-plug monitor, so the
// library lists the pads anew at every look. Each run of reads (the library reads until EAGAIN)
// hands over one change, so that the library sees a press apart from its release however fast the
// test writes them.
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/joystick.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// A pad, which is libudev's listing entry and device of it too.
struct Pad {
    // The device node, which is the system path too.
    const char* node;
    bool plugged = false;
    std::deque<js_event> changes;
    // Whether the run of reads under way has handed over its change.
    bool handed = false;
};
Pad pads[] = {{"/dev/input/js0", false, {}, false}, {"/dev/input/js1", false, {}, false}};
// The pad that each descriptor was opened as (one of /dev/null of its own), if any. The library
// asks about joysticks from one thread; descriptors of other threads are never pads.
Pad* padOf[1024];
bool isPad(int fd) {
    return fd >= 0 && fd < 1024 && padOf[fd] != nullptr;
}

template <typename F> F next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

void command(const std::string& line) {
    int pad = -1, number = 0, value = 0;
    char verb[16] = "";
    std::sscanf(line.c_str(), "%15s %d %d %d", verb, &pad, &number, &value);
    const std::string v = verb;
    if (pad < 0 || pad >= static_cast<int>(std::size(pads))) {
        std::fprintf(stderr, "fakepads: bad command: %s\n", line.c_str());
    } else if (v == "plug" || v == "unplug") {
        pads[pad].plugged = v == "plug";
        pads[pad].changes.clear();
    } else if (pads[pad].plugged) {
        const auto type = static_cast<__u8>(v == "axis" ? JS_EVENT_AXIS : JS_EVENT_BUTTON);
        const int to = v == "axis" ? value : v == "press";
        pads[pad].changes.push_back(
            js_event{0, static_cast<__s16>(to), type, static_cast<__u8>(number)});
    }
}

// Takes the commands written since the last call. The test appends whole lines, each in one
// write to a file of a few hundred bytes, so that no read sees part of a line.
void takeCommands() {
    static const char* path = std::getenv("TWINRUN_PADS");
    static std::ifstream file(path ? path : "");
    for (std::string line; std::getline(file, line);) {
        command(line);
    }
    file.clear();
}

// The pad of the device node or system path, or none.
Pad* padAt(const char* path) {
    Pad* pad =
        std::find_if(pads, std::end(pads), [&](Pad& p) { return !std::strcmp(path, p.node); });
    return pad == std::end(pads) ? nullptr : pad;
}

// The first pad plugged in from the pad given on, in order of number, or none, once the commands
// written so far are taken (a pad that goes while the library walks the listing ends it early).
Pad* pluggedFrom(Pad* from) {
    takeCommands();
    Pad* pad = std::find_if(from, std::end(pads), [](Pad& p) { return p.plugged; });
    return pad == std::end(pads) ? nullptr : pad;
}

ssize_t readPad(Pad& pad, void* buffer, size_t size) {
    takeCommands();
    errno = pad.plugged ? EAGAIN : ENODEV;
    pad.handed = pad.plugged && !pad.changes.empty() && !pad.handed && size >= sizeof(js_event);
    if (!pad.handed) {
        return -1;
    }
    std::memcpy(buffer, &pad.changes.front(), sizeof(js_event));
    pad.changes.pop_front();
    return sizeof(js_event);
}

} // namespace

// The calls that SFML 2.5 and 2.6 make on a joystick's device (both import these plain ones);
// every other descriptor and path goes on to the C library.
extern "C" {

int open(const char* path, int flags, ...) {
    va_list rest;
    va_start(rest, flags);
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) != 0 ? va_arg(rest, mode_t) : 0;
    va_end(rest);
    static const auto realOpen = next<int (*)(const char*, int, ...)>("open");
    Pad* pad = padAt(path);
    if (pad == nullptr) {
        return realOpen(path, flags, mode);
    }
    // Plugged in as of the listing that named it.
    const int fd = pad->plugged ? realOpen("/dev/null", O_RDONLY | O_CLOEXEC, 0) : -1;
    if (fd < 0 || fd >= 1024) {
        errno = ENODEV;
        return -1;
    }
    padOf[fd] = pad;
    return fd;
}

ssize_t read(int fd, void* buffer, size_t size) {
    static const auto realRead = next<ssize_t (*)(int, void*, size_t)>("read");
    return isPad(fd) ? readPad(*padOf[fd], buffer, size) : realRead(fd, buffer, size);
}

int close(int fd) {
    static const auto realClose = next<int (*)(int)>("close");
    if (isPad(fd)) {
        padOf[fd] = nullptr;
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
    // Two axes, X and Y, and eight buttons; no name (SFML's complaint is silenced too).
    if (request == JSIOCGAXES || request == JSIOCGBUTTONS) {
        *static_cast<__u8*>(argument) = request == JSIOCGAXES ? 2 : 8;
    } else if (request == JSIOCGAXMAP) {
        std::memset(argument, ABS_X, _IOC_SIZE(JSIOCGAXMAP));
        static_cast<__u8*>(argument)[1] = ABS_Y;
    } else {
        errno = EINVAL;
        return -1;
    }
    return 0;
}

// libudev as far as the library asks it, each call one answer; its objects are opaque to the
// library, so pointers of any type stand for them: the pads for the context and the listing, and a
// pad for its listing entry and its device. No monitor, so the library lists the pads at every
// look. A device has no properties, which the library takes for a joystick of no vendor or model
// (the game silences its complaints about them), and no USB parent. Configuring or releasing
// objects does nothing.
#define ANSWER(type, name, parameters, answer)                                                     \
    type name parameters {                                                                         \
        return answer;                                                                             \
    }
ANSWER(void*, udev_new, (), pads)
ANSWER(void*, udev_monitor_new_from_netlink, (void*, const char*), nullptr)
ANSWER(void*, udev_enumerate_new, (void*), pads)
ANSWER(int, udev_enumerate_add_match_subsystem, (void*, const char*), 0)
ANSWER(int, udev_enumerate_scan_devices, (void*), 0)
ANSWER(Pad*, udev_enumerate_get_list_entry, (void*), pluggedFrom(pads))
ANSWER(const char*, udev_list_entry_get_name, (Pad * entry), entry->node)
ANSWER(Pad*, udev_list_entry_get_next, (Pad * entry), pluggedFrom(entry + 1))
ANSWER(Pad*, udev_device_new_from_syspath, (void*, const char* path), padAt(path))
ANSWER(const char*, udev_device_get_devnode, (Pad * device), device->node)
ANSWER(const char*, udev_device_get_property_value, (void*, const char*), nullptr)
ANSWER(void*, udev_device_get_parent_with_subsystem_devtype, (void*, const char*, const char*),
       nullptr)
ANSWER(void*, udev_unref, (void*), nullptr)
ANSWER(void*, udev_enumerate_unref, (void*), nullptr)
ANSWER(void*, udev_device_unref, (void*), nullptr)

} // extern "C"
