// The Windows side of the system: a process aware of the display's scaling, file stamps from
// the C runtime's stat(), which gives a file's size and its modification time in whole seconds,
// NUL, the network address of the machine's name, and the executable's path from the module's
// file name.
#include "core/system.hpp"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <sys/stat.h>
#include <sys/types.h>
#include <windows.h>

#include <vector>

namespace {

// Windows tells a program that is not aware of the display's scaling a desktop shrunk by it
// (1280x720 for a 4K screen at 300%) and stretches its window, blurred, over the real one. The
// game asks for the real size before main runs (core/globals.cpp), so it declares itself aware
// before any other global is built: the lowest priority a program may use.
__attribute__((constructor(101))) void becomeDpiAware() {
    SetProcessDPIAware();
}

} // namespace

bool readFileStamp(const std::string& path, FileStamp& stamp) {
    struct _stat64 info {};
    if (_stat64(path.c_str(), &info) != 0) {
        return false;
    }
    // Windows' stat has no inode; a file replaced by another of the same size within the same
    // second counts as unchanged until its next change.
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.size = info.st_size;
    stamp.modifiedSeconds = info.st_mtime;
    return true;
}

void prepareSystem() {
    // Nothing to do: the library's sleeps already ask Windows for its finest timer.
}

const char* const nullDevice = "NUL";

}
