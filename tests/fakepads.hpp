// The pads of tests/fakepads.cpp, shared with tests/fakeudev.cpp, which lists them and reports
// them plugged in and unplugged as libudev would.
#pragma once

#include <linux/joystick.h>
#include <sys/types.h>

#include <deque>
#include <mutex>

// libudev's objects, opaque to the library, made here.
struct udev {};
struct udev_monitor {};
struct udev_enumerate {};
struct udev_list_entry {
    const char* name;
    udev_list_entry* next;
};
struct udev_device {
    int pad;
    const char* action;
};

namespace fake {

constexpr int padCount = 8;

struct Pad {
    bool plugged = false;
    // Changes at every plug and unplug: a device opened in an earlier one is gone.
    int generation = 0;
    std::deque<js_event> changes;
    // The buttons and axes (bit n for number n) changed in the run of reads under way.
    unsigned long long buttonsRead = 0, axesRead = 0;
    char devnode[32], syspath[64];
};
// Pads 0 to 7, /dev/input/js0 to js7.
extern Pad pads[padCount];

// Hot-plug reports not yet received, and the pipe whose read end is the monitor's descriptor,
// one byte a report.
extern std::deque<udev_device> reports;
extern int monitorPipe[2];

// Guards everything above: the library's and other threads' calls pass through here.
extern std::mutex guard;

// Takes the commands written since the last call; guard held.
void takeCommands();
// The read of the C library, past this one.
ssize_t realRead(int fd, void* buffer, size_t size);

} // namespace fake
