// libudev as far as SFML's Linux joystick code asks it, for the pads of tests/fakepads.cpp: a
// listing of the pads plugged in, and a monitor whose descriptor turns readable when one is
// plugged in or unplugged. Preloaded with it by tests/pads.sh.
#include "fakepads.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

using namespace fake;

namespace {

// The listing of the pads plugged in at the last scan, in order of number.
udev_list_entry listed[padCount];
udev_list_entry* firstListed = nullptr;

} // namespace

extern "C" {

udev* udev_new() {
    static udev context;
    return &context;
}
udev* udev_unref(udev*) {
    return nullptr;
}

udev_monitor* udev_monitor_new_from_netlink(udev*, const char*) {
    static udev_monitor monitor;
    std::lock_guard<std::mutex> lock(guard);
    if (monitorPipe[0] < 0 && pipe2(monitorPipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        return nullptr;
    }
    return &monitor;
}
int udev_monitor_filter_add_match_subsystem_devtype(udev_monitor*, const char*, const char*) {
    return 0;
}
int udev_monitor_enable_receiving(udev_monitor*) {
    return 0;
}
// Asked before every look for hot-plug reports: the moment to take new commands.
int udev_monitor_get_fd(udev_monitor*) {
    std::lock_guard<std::mutex> lock(guard);
    takeCommands();
    return monitorPipe[0];
}
udev_device* udev_monitor_receive_device(udev_monitor*) {
    std::lock_guard<std::mutex> lock(guard);
    char byte;
    if (realRead(monitorPipe[0], &byte, 1) != 1 || reports.empty()) {
        return nullptr;
    }
    udev_device* device = new udev_device(reports.front());
    reports.pop_front();
    return device;
}
udev_monitor* udev_monitor_unref(udev_monitor*) {
    return nullptr;
}

udev_enumerate* udev_enumerate_new(udev*) {
    static udev_enumerate enumeration;
    return &enumeration;
}
int udev_enumerate_add_match_subsystem(udev_enumerate*, const char*) {
    return 0;
}
// Lists the pads plugged in now.
int udev_enumerate_scan_devices(udev_enumerate*) {
    std::lock_guard<std::mutex> lock(guard);
    takeCommands();
    firstListed = nullptr;
    for (int pad = padCount - 1; pad >= 0; --pad) {
        if (pads[pad].plugged) {
            listed[pad] = udev_list_entry{pads[pad].syspath, firstListed};
            firstListed = &listed[pad];
        }
    }
    return 0;
}
udev_list_entry* udev_enumerate_get_list_entry(udev_enumerate*) {
    return firstListed;
}
udev_enumerate* udev_enumerate_unref(udev_enumerate*) {
    return nullptr;
}
const char* udev_list_entry_get_name(udev_list_entry* entry) {
    return entry->name;
}
udev_list_entry* udev_list_entry_get_next(udev_list_entry* entry) {
    return entry->next;
}

udev_device* udev_device_new_from_syspath(udev*, const char* syspath) {
    int input = 0, pad = -1;
    if (std::sscanf(syspath, "/sys/devices/virtual/input/input%d/js%d", &input, &pad) != 2 ||
        pad < 0 || pad >= padCount) {
        return nullptr;
    }
    return new udev_device{pad, nullptr};
}
udev_device* udev_device_unref(udev_device* device) {
    delete device;
    return nullptr;
}
const char* udev_device_get_devnode(udev_device* device) {
    return pads[device->pad].devnode;
}
const char* udev_device_get_syspath(udev_device* device) {
    return pads[device->pad].syspath;
}
const char* udev_device_get_action(udev_device* device) {
    return device->action;
}
const char* udev_device_get_property_value(udev_device*, const char* key) {
    const std::string k = key;
    return k == "ID_INPUT_JOYSTICK" ? "1"
           : k == "ID_VENDOR_ID"    ? "1209"
           : k == "ID_MODEL_ID"     ? "0001"
                                    : nullptr;
}
udev_device* udev_device_get_parent_with_subsystem_devtype(udev_device*, const char*, const char*) {
    return nullptr;
}
const char* udev_device_get_sysattr_value(udev_device*, const char*) {
    return nullptr;
}

} // extern "C"
